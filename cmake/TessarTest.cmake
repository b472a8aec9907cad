# tessar_add_test(NAME SOURCES... LIBS libs...)
#
# Every test runs headless and with a private configuration directory, so
# the suite never reads or writes the settings of the person running it.
function(tessar_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set(cfg "${CMAKE_CURRENT_BINARY_DIR}/${name}-config")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 180
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${cfg};HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-home;TESSAR_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  # Start every run from an empty configuration directory.
  add_test(NAME ${name}-clean COMMAND ${CMAKE_COMMAND} -E rm -rf "${cfg}")
  set_tests_properties(${name}-clean PROPERTIES FIXTURES_SETUP ${name}-fresh)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}-fresh)
endfunction()
