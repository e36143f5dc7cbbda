# SPDX-License-Identifier: GPL-3.0-or-later
# The AppStream metainfo of the two programs, with the version, its release
# date and the maker's addresses filled in, for software centres.
# The screenshots are published on the web site, beside its root.
string(REGEX REPLACE "/+$" "" KESTROVA_WEB_BASE "${KESTROVA_WEB_SITE}")
string(APPEND KESTROVA_WEB_BASE "/")
file(GLOB metainfo_sources ${CMAKE_CURRENT_LIST_DIR}/metainfo/*.metainfo.xml.in)
set(KESTROVA_BUILD_METAINFO_DIR ${CMAKE_BINARY_DIR}/metainfo)
foreach(source ${metainfo_sources})
  get_filename_component(name ${source} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  configure_file(${source} ${KESTROVA_BUILD_METAINFO_DIR}/${name} @ONLY)
  install(FILES ${KESTROVA_BUILD_METAINFO_DIR}/${name} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endforeach()
