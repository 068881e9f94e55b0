# The Debian package (cpack -G DEB) of what the project installs, for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tuurbord)
set(CPACK_PACKAGE_VENDOR "Tuurbord-ontwikkelaars")
set(CPACK_PACKAGE_CONTACT "Tuurbord-ontwikkelaars <ontwikkelaars@tuurbord.nl>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tuurbord.nl/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "picture-guessing game for primary-school children
Tuurbord is a picture-guessing game with a Dutch user interface. A picture
hides behind 35 boxes; the child opens boxes one by one, each costing a
point, and types the name of the picture. A right guess brings the next
picture, a wrong one ends the game in a score list.
.
Teachers and parents choose subjects (folders of pictures), import their
own photos with eleven pixel filters, and print contact sheets, Christmas
cards, seal stamps and a year calendar.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries it links: the fonts it draws its texts in, Qt's Dutch texts, and the
# packages of the Qt plugins it loads (GIF pictures and the xcb platform in libqt6gui6, WebP and
# TIFF in qt6-image-formats-plugins, the sound backends in libqt6multimedia6).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-comic-neue, qt6-translations-l10n, libqt6gui6, qt6-image-formats-plugins, libqt6multimedia6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
