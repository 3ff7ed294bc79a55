# The Debian package, made in a build tree by `cpack -G DEB`. The libraries the program links
# give its dependencies (dpkg-shlibdeps), with the font its windows were laid out for; the
# toolkit's French texts, which it loads if present, are recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvane)
set(CPACK_PACKAGE_VENDOR "Étienne Exemple")
set(CPACK_PACKAGE_CONTACT "Étienne Exemple <etienne.exemple@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convertisseur francs/euros de la zone de notification")
# Lines under 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvane convertit les montants entre francs français et euros au taux légal\n"
    "fixe de 6,55957 francs pour un euro. Il se loge dans la zone de notification :\n"
    "un clic gauche sur son icône ouvre la fenêtre de conversion, un clic droit\n"
    "ouvre son menu.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}) # the version block's four numbers
# Installed under /usr with DESTDIR, so that the prefix seen by the install rules is the
# package's own, which the desktop entry names.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.example.org/tarvane/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial's metrics, which the windows were laid out for, in Liberation 2: fonts-liberation from
# Debian 13 on, fonts-liberation2 before (a dummy since). dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation (>= 1:2) | fonts-liberation2")
# Qt's French texts; and its Wayland plugin, without which a Wayland session runs the program
# through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")

include(CPack)
