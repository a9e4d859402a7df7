# The Debian package: `cpack -G DEB` in a build folder makes
# pavoko_<version>_<arch>.deb from the install tree under /usr. Its runtime
# dependencies come from dpkg-shlibdeps over the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavoko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zenteq)
set(CPACK_PACKAGE_CONTACT "Zenteq <support@pavoko.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "browse, play and convert folders of SWF movies")
set(CPACK_PACKAGE_DESCRIPTION
    "Pavoko shows the folder tree of the machine and a catalogue of each folder's SWF movies "
    "as thumbnails, plays them in a preview or full screen, and copies, moves, searches, "
    "converts them into projector programs and makes screen savers and wallpapers of them. "
    "It brings its own SWF engine and a thumbnailer for file managers.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pavoko.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The converter library lies beside the programs that use it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PAVOKO_BIN_DIR})
# Movie texts fall back to these fonts; the help page and links open
# through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")
# One script body for both ends of the package's life.
set(PAVOKO_CACHE_CONDITION [=[[ "$1" = "configure" ]]=])
configure_file(data/debian/maintscript.in ${CMAKE_BINARY_DIR}/debian/postinst @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(PAVOKO_CACHE_CONDITION [=[[ "$1" = "remove" ] || [ "$1" = "purge" ]]=])
configure_file(data/debian/maintscript.in ${CMAKE_BINARY_DIR}/debian/postrm @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/postinst ${CMAKE_BINARY_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
