# SPDX-License-Identifier: GPL-3.0-or-later
# The three images, drawn as SVG in resources/images and rendered at twice
# their size in points so they stay crisp on HiDPI screens.
add_executable(kestrova_svg_to_png ${CMAKE_CURRENT_LIST_DIR}/images/svg_to_png.cpp)
target_link_libraries(kestrova_svg_to_png PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(kestrova_svg_to_png PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/resources)

set(kestrova_image_pngs)
foreach(entry "ClosedImage;234;392" "InfiniteImage;98;392" "SpSelArrow;44;30")
  list(GET entry 0 name)
  list(GET entry 1 w)
  list(GET entry 2 h)
  set(src ${CMAKE_CURRENT_LIST_DIR}/images/${name}.svg)
  set(out ${KESTROVA_IMAGES_DIR}/${name}.png)
  add_custom_command(OUTPUT ${out}
    COMMAND kestrova_svg_to_png ${src} ${out} ${w} ${h}
    DEPENDS kestrova_svg_to_png ${src}
    COMMENT "Rendering ${name}.png"
    VERBATIM)
  list(APPEND kestrova_image_pngs ${out})
endforeach()
add_custom_target(kestrova_images DEPENDS ${kestrova_image_pngs})
add_dependencies(kestrova_resources kestrova_images)
