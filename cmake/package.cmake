# The Debian package of fighost with the module: `cpack` (or ./scripts/package) makes
# fighost_VERSION_ARCH.deb from what `cmake --install` lays out, installed under /usr. Its
# dependencies are worked out by dpkg-shlibdeps from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fighost)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stick figure viewer with its figure module")
# One line of the description a line of the control file, within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "\
fighost shows articulated stick figures and plays their motion from .fig files
and BioVision .bvh motion captures, in a window or on the command line (info,
render, frames, convert). It loads the figure module that reads, poses, draws
and saves the figures, with the module's settings dialogs.
.
File managers show .fig and .bvh files as the figure they hold.")
set(CPACK_PACKAGE_CONTACT "${FIGHOST_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop's caches of file types, entries and icons are refreshed by their own packages'
# triggers when the files land in /usr/share, and the libraries in lib/fighost/ are found through
# the programs' run paths, not the linker's cache: the package needs no maintainer scripts. CPack
# writes ldconfig calls for any library under usr/lib/, so they are taken out of the package it
# made.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/package_without_ldconfig.cmake)
include(CPack)
