# SPDX-License-Identifier: GPL-3.0-or-later
kestrova_bench(model_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/model_bench.cpp
  LIBS model graphs)
