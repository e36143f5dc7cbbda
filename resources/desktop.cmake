# The programs' desktop entries and icons, installed for menus and docks; the
# window icon is the same drawing rendered into the resource folder.
function(kestrova_desktop_entry name what)
  set(png ${KESTROVA_IMAGES_DIR}/${name}.png)
  set(svg ${CMAKE_CURRENT_LIST_DIR}/desktop/${name}.svg)
  add_custom_command(OUTPUT ${png}
    COMMAND kestrova_svg_to_png ${svg} ${png} 128 128
    DEPENDS kestrova_svg_to_png ${svg}
    COMMENT "Rendering the ${what} icon"
    VERBATIM)
  add_custom_target(${name}_icon DEPENDS ${png})
  add_dependencies(kestrova_resources ${name}_icon)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/${name}.desktop DESTINATION share/applications)
  install(FILES ${svg} DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES ${png} DESTINATION share/icons/hicolor/128x128/apps)
endfunction()

kestrova_desktop_entry(kestrova "application")
kestrova_desktop_entry(vantrel "driver library")

# The design files' type, so a file manager opens them with Kestrova. An
# install into a prefix of one's own brings its type database up to date
# too; a packaged install (DESTDIR) leaves that to the package's triggers.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova-mime.xml DESTINATION share/mime/packages RENAME kestrova.xml)
install(CODE [[
  find_program(KESTROVA_UPDATE_MIME update-mime-database)
  if(KESTROVA_UPDATE_MIME AND "$ENV{DESTDIR}" STREQUAL "")
    execute_process(COMMAND ${KESTROVA_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime")
  endif()
]])
