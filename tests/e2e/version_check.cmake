# The module's GetMinFarVersion as the host uses it: the substitute host
# plays an older host through TARNWICK_HOST_VERSION. One build older than
# the module asks for, the host refuses to load it; the very build it asks
# for runs a whole script.
set(version_script ${CMAKE_SOURCE_DIR}/examples/demo.tws)

add_test(NAME e2e_refused_by_an_older_host
         COMMAND tarnwick-host --script ${version_script} --plugin-dir ${TARNWICK_E2E_PLUGIN_DIR})
set_tests_properties(e2e_refused_by_an_older_host PROPERTIES
  TIMEOUT 300
  ENVIRONMENT "${e2e_environment};TARNWICK_HOST_VERSION=1.70.2086"
  PASS_REGULAR_EXPRESSION "cannot load the module: the module needs host version 1\\.70 build 2087. this host is 1\\.70 build 2086")

add_test(NAME e2e_runs_in_the_oldest_host_it_needs
         COMMAND tarnwick-host --script ${version_script} --plugin-dir ${TARNWICK_E2E_PLUGIN_DIR})
set_tests_properties(e2e_runs_in_the_oldest_host_it_needs PROPERTIES
  TIMEOUT 300
  ENVIRONMENT "${e2e_environment};TARNWICK_HOST_VERSION=1.70.2087")
