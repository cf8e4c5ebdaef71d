# The module that the end-to-end scripts and the DLL checks run against.
#
# The DLL users get is built in a folder of its own with the win32 thread
# model (cmake/mingw-i686-win32.cmake, cmake/mingw-x86_64-win32.cmake: one
# folder per bitness); a Windows test build of the same bitness, which needs the
# posix model for GoogleTest, is handed that DLL as TARNWICK_SHIPPED_DLL and
# tests it, not a module of its own: it is copied with the language files
# into shipped-module/ in the build folder. Without TARNWICK_SHIPPED_DLL (and
# natively) the build's own module is used.
#
# Sets TARNWICK_CHECKED_DLL (the module file) and TARNWICK_E2E_PLUGIN_DIR
# (the folder holding it and its language files), and in a Windows build of
# either bitness adds the dll_imports test: only allowed Windows XP imports,
# under 96 KB.

set(TARNWICK_SHIPPED_DLL "" CACHE FILEPATH "The shipped Tarnwick.dll that a Windows test build checks and runs")

if(WIN32 AND TARNWICK_SHIPPED_DLL)
  set(shipped_dir ${CMAKE_BINARY_DIR}/shipped-module)
  set(shipped_languages ${CMAKE_SOURCE_DIR}/lang/TarnwickEng.lng ${CMAKE_SOURCE_DIR}/lang/TarnwickRus.lng)
  add_custom_command(
    OUTPUT ${shipped_dir}/Tarnwick.dll
    COMMAND ${CMAKE_COMMAND} -E make_directory ${shipped_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${TARNWICK_SHIPPED_DLL} ${shipped_dir}/Tarnwick.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${shipped_languages} ${shipped_dir}
    DEPENDS ${TARNWICK_SHIPPED_DLL} ${shipped_languages}
    COMMENT "Copying the shipped Tarnwick.dll and its language files for the tests")
  add_custom_target(tarnwick-shipped-module ALL DEPENDS ${shipped_dir}/Tarnwick.dll)
  set(TARNWICK_CHECKED_DLL ${shipped_dir}/Tarnwick.dll)
  set(TARNWICK_E2E_PLUGIN_DIR ${shipped_dir})
else()
  set(TARNWICK_CHECKED_DLL $<TARGET_FILE:Tarnwick>)
  set(TARNWICK_E2E_PLUGIN_DIR $<TARGET_FILE_DIR:Tarnwick>)
endif()

if(WIN32)
  add_test(NAME dll_imports
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${TARNWICK_CHECKED_DLL}
                   ${CMAKE_SOURCE_DIR}/packaging/dll-imports.txt)
endif()
