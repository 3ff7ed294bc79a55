# The Debian package, made in a build tree by `cpack -G DEB`. The libraries the program links
# give its dependencies (dpkg-shlibdeps); the toolkit's French texts, which it loads if present,
# are recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvane)
set(CPACK_PACKAGE_VENDOR "Étienne Exemple")
set(CPACK_PACKAGE_CONTACT "Étienne Exemple <etienne.exemple@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convertisseur francs/euros de la zone de notification")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvane convertit les montants entre francs français et euros au taux légal fixe de "
    "6,55957 francs pour un euro. Il se loge dans la zone de notification : un clic gauche sur "
    "son icône ouvre la fenêtre de conversion, un clic droit ouvre son menu.")
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
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)
