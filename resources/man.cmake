# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages (section 1): the version and the release date filled in,
# then compressed as Debian installs them.
find_program(GZIP_PROGRAM gzip REQUIRED)
file(GLOB man_sources ${CMAKE_CURRENT_LIST_DIR}/man/*.1.in)
set(KESTROVA_BUILD_MAN_DIR ${CMAKE_BINARY_DIR}/man/man1)
set(man_outputs)
foreach(source ${man_sources})
  get_filename_component(page ${source} NAME)
  string(REGEX REPLACE "\\.1\\.in$" "" page ${page})
  set(roff ${KESTROVA_BUILD_MAN_DIR}/${page}.1)
  configure_file(${source} ${roff} @ONLY)
  add_custom_command(OUTPUT ${roff}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -k -f ${roff}
    DEPENDS ${roff}
    COMMENT "Compressing the ${page}(1) manual page"
    VERBATIM)
  list(APPEND man_outputs ${roff}.gz)
  install(FILES ${roff}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(kestrova_man_pages ALL DEPENDS ${man_outputs})
