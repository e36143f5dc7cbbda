# SPDX-License-Identifier: GPL-3.0-or-later
# vantrel's library at size: a search keystroke on 10,000 and on 100,000
# drivers in a shown table, and reading driver database XML files.
if(KESTROVA_WITH_QT)
  kestrova_bench(library_bench SOURCES library_bench.cpp LIBS library_qt Qt6::Widgets)
endif()
