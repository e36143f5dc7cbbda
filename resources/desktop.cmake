# The desktop entry and the application icon, installed for menus and docks;
# the window icon is the same drawing rendered into the resource folder.
set(kestrova_icon_png ${KESTROVA_IMAGES_DIR}/kestrova.png)
add_custom_command(OUTPUT ${kestrova_icon_png}
  COMMAND kestrova_svg_to_png ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova.svg ${kestrova_icon_png} 128 128
  DEPENDS kestrova_svg_to_png ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova.svg
  COMMENT "Rendering the application icon"
  VERBATIM)
add_custom_target(kestrova_icon DEPENDS ${kestrova_icon_png})
add_dependencies(kestrova_resources kestrova_icon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/kestrova.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${kestrova_icon_png} DESTINATION share/icons/hicolor/128x128/apps)

# The driver library's entry and icon, made the same way.
set(vantrel_icon_png ${KESTROVA_IMAGES_DIR}/vantrel.png)
add_custom_command(OUTPUT ${vantrel_icon_png}
  COMMAND kestrova_svg_to_png ${CMAKE_CURRENT_LIST_DIR}/desktop/vantrel.svg ${vantrel_icon_png} 128 128
  DEPENDS kestrova_svg_to_png ${CMAKE_CURRENT_LIST_DIR}/desktop/vantrel.svg
  COMMENT "Rendering the driver library icon"
  VERBATIM)
add_custom_target(vantrel_icon DEPENDS ${vantrel_icon_png})
add_dependencies(kestrova_resources vantrel_icon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/vantrel.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/vantrel.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${vantrel_icon_png} DESTINATION share/icons/hicolor/128x128/apps)
