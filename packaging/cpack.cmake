# `cpack -G DEB` in the build folder makes the Debian package. Its library
# dependencies come from dpkg-shlibdeps (package dpkg-dev); Qt's German
# translations are data, which no library scan finds.
set(BRENWICK_PACKAGE_MAINTAINER "Brenwick editor developers <editor@brenwick.example.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME brenwick-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${BRENWICK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for plain-text, HTML and CSS files with a German interface")
set(CPACK_PACKAGE_DESCRIPTION "A small desktop editor with a file browser, a stylesheet kept open beside
the document, save and cancel buttons that show unsaved changes, and
conversion of German umlauts to HTML entities.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")

include(CPack)
