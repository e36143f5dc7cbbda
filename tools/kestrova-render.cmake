# kestrova-render: headless views. The option reading and the design steps
# are toolkit-free (kestrova_render_core, also used by the tests).
set(render_dir ${CMAKE_CURRENT_LIST_DIR}/kestrova-render)
add_library(kestrova_render_core STATIC
  ${render_dir}/render_options.cpp ${render_dir}/render_session.cpp)
target_include_directories(kestrova_render_core PUBLIC ${render_dir})
target_link_libraries(kestrova_render_core PUBLIC app graphs reports exchange)

add_executable(kestrova-render ${render_dir}/main.cpp)
target_link_libraries(kestrova-render PRIVATE kestrova_render_core graphs_qt support_qt)
add_dependencies(kestrova-render kestrova_resources)
install(TARGETS kestrova-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
