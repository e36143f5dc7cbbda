# SPDX-License-Identifier: GPL-3.0-or-later
if(KESTROVA_WITH_QT)
  # Start-up and memory beside a bare Qt window; a program to run under Xvfb,
  # not a Google Benchmark (it times other processes).
  add_executable(bare_window ${CMAKE_CURRENT_SOURCE_DIR}/bare_window.cpp)
  target_link_libraries(bare_window PRIVATE Qt6::Widgets)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
  add_executable(start_bench ${CMAKE_CURRENT_SOURCE_DIR}/start_bench.cpp)
  target_link_libraries(start_bench PRIVATE exchange Qt6::Core Qt6::DBus PkgConfig::XCB)
  target_compile_definitions(start_bench PRIVATE KESTROVA_PATH="$<TARGET_FILE:kestrova>"
                                                 BARE_WINDOW_PATH="$<TARGET_FILE:bare_window>")
  set_target_properties(bare_window start_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(start_bench kestrova kestrova-fetch bare_window kestrova_resources)
endif()
