# The plug-in of the last release (before viewer items, bookmarks and
# tables were kept), built from this repository's history, runs a script in
# today's substitute host over a position file written by today's plug-in:
# the old plug-in's saves must keep what it does not know. Natively only,
# and only where the history holds that release (a shallow clone skips).
set(compat_release 7817a9b)
set(compat_source ${CMAKE_BINARY_DIR}/compat/source)
set(compat_build ${CMAKE_BINARY_DIR}/compat/build)

find_package(Git QUIET)
set(compat_available OFF)
if(GIT_FOUND AND NOT CMAKE_CROSSCOMPILING)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} cat-file -e ${compat_release}^{commit}
                  RESULT_VARIABLE compat_missing OUTPUT_QUIET ERROR_QUIET)
  if(compat_missing EQUAL 0)
    set(compat_available ON)
  endif()
endif()

if(compat_available)
  include(ExternalProject)
  ExternalProject_Add(tarnwick_last_release
    DOWNLOAD_COMMAND ${CMAKE_COMMAND} -E make_directory ${compat_source}
    COMMAND sh -c "${GIT_EXECUTABLE} -C '${CMAKE_SOURCE_DIR}' archive ${compat_release} | tar -x -C '${compat_source}'"
    SOURCE_DIR ${compat_source}
    BINARY_DIR ${compat_build}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${compat_build} --target Tarnwick
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/lang/TarnwickEng.lng ${CMAKE_SOURCE_DIR}/lang/TarnwickRus.lng ${compat_build}/src/
    UPDATE_COMMAND ""
    EXCLUDE_FROM_ALL OFF)
  add_test(NAME e2e_last_release_keeps_new_items
           COMMAND tarnwick-host --script ${CMAKE_CURRENT_SOURCE_DIR}/compat/today_keeps_new_items.tws
                   --plugin-dir ${compat_build}/src)
  set_tests_properties(e2e_last_release_keeps_new_items PROPERTIES TIMEOUT 300 ENVIRONMENT "${e2e_environment}")
elseif(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME e2e_last_release_keeps_new_items
           COMMAND ${CMAKE_COMMAND} -E echo "skipped: release ${compat_release} is not in this clone's history")
  set_tests_properties(e2e_last_release_keeps_new_items PROPERTIES SKIP_REGULAR_EXPRESSION "skipped:")
endif()
