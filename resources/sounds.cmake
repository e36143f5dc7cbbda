# SPDX-License-Identifier: GPL-3.0-or-later
# The two sound effects, synthesised at build time and written as AIFF.
add_executable(kestrova_make_sounds ${CMAKE_CURRENT_SOURCE_DIR}/sounds/make_sounds.cpp)
target_link_libraries(kestrova_make_sounds PRIVATE PkgConfig::SNDFILE)
set_target_properties(kestrova_make_sounds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/generators)
add_custom_command(
  OUTPUT ${KESTROVA_IMAGES_DIR}/Shutter.aif ${KESTROVA_IMAGES_DIR}/Click.aif
  COMMAND kestrova_make_sounds ${KESTROVA_IMAGES_DIR}
  DEPENDS kestrova_make_sounds
  COMMENT "Synthesising the sound effects")
add_custom_target(kestrova_sounds DEPENDS ${KESTROVA_IMAGES_DIR}/Shutter.aif ${KESTROVA_IMAGES_DIR}/Click.aif)
add_dependencies(kestrova_resources kestrova_sounds)
