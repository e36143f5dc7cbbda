# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder (scripts/package
# runs it) makes kestrova_VERSION_ARCH.deb of what `cmake --install` puts
# under /usr, with the library dependencies dpkg-shlibdeps finds in the
# programs and modules.
set(package_dir ${CMAKE_CURRENT_LIST_DIR})
set(package_build ${CMAKE_BINARY_DIR}/package)

# Debian's own files in the documents folder: the copyright in its machine
# readable form, and the change log, compressed without a time stamp.
execute_process(COMMAND date -u -R -d "${KESTROVA_RELEASE_DATE} 12:00:00"
  OUTPUT_VARIABLE KESTROVA_RELEASE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The release date ${KESTROVA_RELEASE_DATE} is not a date")
endif()
configure_file(${package_dir}/copyright.in ${package_build}/copyright @ONLY)
configure_file(${package_dir}/changelog.in ${package_build}/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${package_build}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -k -f ${package_build}/changelog
  DEPENDS ${package_build}/changelog
  VERBATIM)
add_custom_target(kestrova_package_files ALL DEPENDS ${package_build}/changelog.gz)
install(FILES ${package_build}/copyright ${package_build}/changelog.gz ${CMAKE_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR Tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tessaly <${KESTROVA_CONTACT_MAIL}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTROVA_WEB_SITE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs load by name, where dpkg-shlibdeps cannot see it: Qt's
# SQLite driver (the library's store) and the two font families the views
# are laid out in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-liberation2, fonts-dejavu-core")
# The desktop's opener: the user guide, the release notes, the web site and
# mail open through it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "enclosure design for one loudspeaker driver
Kestrova designs the closed box of one loudspeaker driver, a midrange unit or
a tweeter, from its Thiele/Small parameters: the box volume, resonance and
total Q for the optimum alignment, a given volume or a given Qtc, with box
losses; it also models the driver on an infinite baffle. It shows amplitude,
impedance, phase, group delay, the Nyquist diagram, the step response and a
system profile, and exports the response as FRD, ZMA or CSV.
.
Vantrel, its driver library, keeps drivers' parameters, imports CSV files and
driver databases, and sends a driver to Kestrova. kestrova-render draws any
view without a display.")
include(CPack)
