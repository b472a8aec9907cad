# tessar_install_gzipped(SOURCE DESTINATION)
#
# Installs SOURCE compressed, as Debian wants manual pages and changelogs:
# gzip -9 without the file name and time stamp, so that two builds of the
# same text give the same bytes. A SOURCE ending in .in is configured
# (@PROJECT_VERSION@ and the like) and installed without that ending.
include_guard(GLOBAL)
find_program(TESSAR_GZIP gzip REQUIRED)

function(tessar_install_gzipped source destination)
  get_filename_component(name "${source}" NAME)
  set(plain "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}")
  if(name MATCHES "^(.*)\\.in$")
    set(plain "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${CMAKE_MATCH_1}")
    configure_file(${source} ${plain} @ONLY)
  else()
    configure_file(${source} ${plain} COPYONLY)
  endif()
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${TESSAR_GZIP} -9 -n -f -k ${plain}
    DEPENDS ${plain}
    VERBATIM)
  get_filename_component(plain_name "${plain}" NAME)
  string(MAKE_C_IDENTIFIER "tessar_gz_${plain_name}" target)
  add_custom_target(${target} ALL DEPENDS ${plain}.gz)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()
