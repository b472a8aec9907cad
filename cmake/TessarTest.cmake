# tessar_add_test(NAME SOURCES... LIBS libs...)
#
# Every test runs headless and in a private home of its own: settings,
# state (recovery files), cache (kept copies of saved files) and the runtime
# folder (the running-copy socket). The suite never reads or writes the
# files of the person running it, and two checkouts can run their suites at
# the same time without meeting each other's running copy.
function(tessar_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set(root "${CMAKE_CURRENT_BINARY_DIR}/${name}-env")
  # A socket's path has room for about a hundred characters, which a deep
  # build folder can use up: the runtime folder lives in /tmp under a short name.
  string(MD5 key "${root}")
  string(SUBSTRING "${key}" 0 12 key)
  set(runtime "/tmp/tessar-test-${key}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 180
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${root}/config;XDG_STATE_HOME=${root}/state;XDG_CACHE_HOME=${root}/cache;XDG_DATA_HOME=${root}/data;XDG_RUNTIME_DIR=${runtime};HOME=${root}/home;TESSAR_SOURCE_DIR=${PROJECT_SOURCE_DIR};TESSAR_MODULE_DIR=${PROJECT_BINARY_DIR}/src/app")
  # Start every run from an empty home; the runtime folder must be the
  # user's alone, as the desktop makes it.
  add_test(NAME ${name}-clean COMMAND sh -c
    "rm -rf '${root}' '${runtime}' && mkdir -p '${root}/config' '${root}/state' '${root}/cache' '${root}/data' '${root}/home' '${runtime}' && chmod 700 '${runtime}'")
  set_tests_properties(${name}-clean PROPERTIES FIXTURES_SETUP ${name}-fresh)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}-fresh)
endfunction()
