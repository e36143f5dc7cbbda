# SPDX-License-Identifier: GPL-3.0-or-later
# A 200 MiB download through the update window: the longest stall of its
# event loop, the growth of the resident memory and the progress bar's steps.
if(KESTROVA_WITH_QT)
  kestrova_bench(update_bench
    SOURCES update_bench.cpp ${CMAKE_SOURCE_DIR}/tests/common/http_server.cpp
    LIBS update_qt Qt6::Network Qt6::Test)
  target_include_directories(update_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(update_bench PRIVATE KESTROVA_MODULE_DIR="$<TARGET_FILE_DIR:kestrova-download>")
  add_dependencies(update_bench kestrova-download)
endif()
