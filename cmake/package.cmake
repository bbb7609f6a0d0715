# The Debian package of fighost with the module: `cpack` (or ./scripts/package) makes
# fighost_VERSION_ARCH.deb from what `cmake --install` lays out, installed under /usr. Its
# dependencies are worked out by dpkg-shlibdeps from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fighost)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stick figure viewer with its figure module")
set(CPACK_PACKAGE_DESCRIPTION "fighost shows articulated stick figures and plays their motion \
from .fig files and BioVision .bvh motion captures, in a window or on the command line \
(info, render, frames, convert). It loads the figure module that reads, poses, draws and saves \
the figures, with the module's settings dialogs.")
set(CPACK_PACKAGE_CONTACT "Figure module maintainers <maintainers@users.noreply.c-seed-1e86646b.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop's caches of file types, entries and icons are refreshed by their own packages'
# triggers when the files land in /usr/share.
include(CPack)
