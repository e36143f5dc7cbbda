# SPDX-License-Identifier: GPL-3.0-or-later
kestrova_bench(support_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/support_bench.cpp
  LIBS support exchange)
