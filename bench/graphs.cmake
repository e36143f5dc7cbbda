# SPDX-License-Identifier: GPL-3.0-or-later
if(KESTROVA_WITH_QT)
  kestrova_bench(graphs_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graphs_bench.cpp
    LIBS app_qt)
  add_dependencies(graphs_bench kestrova_images)
endif()
