# SPDX-License-Identifier: GPL-3.0-or-later
# The release notes PDF, written at build time.
add_executable(kestrova_make_release_notes ${CMAKE_CURRENT_SOURCE_DIR}/notes/make_release_notes.cpp)
target_link_libraries(kestrova_make_release_notes PRIVATE Qt6::Gui)
set_target_properties(kestrova_make_release_notes PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/generators)
add_custom_command(
  OUTPUT ${KESTROVA_IMAGES_DIR}/Kestrova_Release_Notes.pdf
  COMMAND kestrova_make_release_notes ${KESTROVA_IMAGES_DIR}/Kestrova_Release_Notes.pdf ${PROJECT_VERSION}
  DEPENDS kestrova_make_release_notes
  COMMENT "Writing the release notes")
add_custom_target(kestrova_release_notes DEPENDS ${KESTROVA_IMAGES_DIR}/Kestrova_Release_Notes.pdf)
add_dependencies(kestrova_resources kestrova_release_notes)
