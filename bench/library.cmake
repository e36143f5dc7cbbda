# One keystroke in vantrel's search field on a library of 10,000 drivers.
if(KESTROVA_WITH_QT)
  kestrova_bench(library_bench SOURCES library_bench.cpp LIBS library_qt)
endif()
