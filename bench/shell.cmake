# SPDX-License-Identifier: GPL-3.0-or-later
if(KESTROVA_WITH_QT)
  # The design window's answer to a typed Qtc, and the program's start-up.
  kestrova_bench(shell_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_bench.cpp
    LIBS app_qt)
  target_compile_definitions(shell_bench PRIVATE KESTROVA_PATH="$<TARGET_FILE:kestrova>")
  add_dependencies(shell_bench kestrova kestrova_resources)
endif()
