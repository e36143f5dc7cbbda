# SPDX-License-Identifier: GPL-3.0-or-later
# The programs' desktop entries and icons, installed for menus and docks: the
# drawing itself (scalable) and the sizes menus and software centres look
# for. The window icon is the same drawing rendered into the resource folder.
set(KESTROVA_ICON_SIZES 48 64 128 256)
set(KESTROVA_BUILD_ICONS_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)

function(kestrova_desktop_entry name what)
  set(svg ${CMAKE_CURRENT_LIST_DIR}/desktop/${name}.svg)
  set(window_png ${KESTROVA_IMAGES_DIR}/${name}.png)
  set(pngs ${window_png})
  add_custom_command(OUTPUT ${window_png}
    COMMAND kestrova_svg_to_png ${svg} ${window_png} 128 128
    DEPENDS kestrova_svg_to_png ${svg}
    COMMENT "Rendering the ${what} icon"
    VERBATIM)
  foreach(size ${KESTROVA_ICON_SIZES})
    set(dir ${KESTROVA_BUILD_ICONS_DIR}/${size}x${size}/apps)
    add_custom_command(OUTPUT ${dir}/${name}.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND kestrova_svg_to_png ${svg} ${dir}/${name}.png ${size} ${size}
      DEPENDS kestrova_svg_to_png ${svg}
      COMMENT "Rendering the ${what} icon at ${size} pixels"
      VERBATIM)
    list(APPEND pngs ${dir}/${name}.png)
    install(FILES ${dir}/${name}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(${name}_icon DEPENDS ${pngs})
  add_dependencies(kestrova_resources ${name}_icon)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/${name}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endfunction()

kestrova_desktop_entry(kestrova "application")
kestrova_desktop_entry(vantrel "driver library")

# The design files' type, so a file manager opens them with Kestrova. An
# install into a prefix of one's own brings its type database up to date
# too; a package (installed under DESTDIR, as CPack does) leaves that to
# the package's triggers.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME kestrova.xml)
install(CODE "
  find_program(KESTROVA_UPDATE_MIME update-mime-database)
  if(KESTROVA_UPDATE_MIME AND \"\$ENV{DESTDIR}\" STREQUAL \"\")
    execute_process(COMMAND \${KESTROVA_UPDATE_MIME} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/mime\")
  endif()")
