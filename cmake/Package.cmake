# The Debian package (bash scripts/package): the program on the PATH, its
# shipped files under share/corvano, a menu entry, AppStream data and the icon.
include(GNUInstallDirs)
# The package needs the program, not every test: scripts/package builds what
# it installs, and installing does not build the rest first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(PKG ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS corvano RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SHIPPED} DESTINATION ${CMAKE_INSTALL_DATADIR}/corvano)
install(FILES packaging/net.corvano.Corvano.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(packaging/net.corvano.Corvano.metainfo.xml.in ${PKG}/net.corvano.Corvano.metainfo.xml @ONLY)
install(FILES ${PKG}/net.corvano.Corvano.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES share/corvano.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME net.corvano.Corvano.svg)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvano)

# The changelog of this native package and the manual page, compressed
# without a time stamp.
execute_process(COMMAND date -u -R -d "${CORVANO_RELEASE_DATE} 12:00" OUTPUT_VARIABLE CORVANO_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(packaging/changelog.in ${PKG}/changelog @ONLY)
add_custom_command(OUTPUT ${PKG}/changelog.gz
  COMMAND gzip -9nc ${PKG}/changelog > ${PKG}/changelog.gz
  DEPENDS ${PKG}/changelog VERBATIM)
add_custom_command(OUTPUT ${PKG}/corvano.1.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/corvano.1 > ${PKG}/corvano.1.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/corvano.1 VERBATIM)
add_custom_target(corvano_package_files ALL DEPENDS ${PKG}/changelog.gz ${PKG}/corvano.1.gz)
install(FILES ${PKG}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvano)
install(FILES ${PKG}/corvano.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Corvano developers <maintainers@corvano.net>")
set(CPACK_PACKAGE_VENDOR "Corvano developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "up to twenty web browsers side by side")
set(CPACK_PACKAGE_DESCRIPTION "Corvano runs up to twenty web browsers side by side: numbered windows, each
on top of the others with its own page, address box and history, over a
full-screen main window. What is open when Corvano ends comes back at the
next start, every window at its place on its last page.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.corvano.net/)
# The libraries from the program itself; the pictures and translations it
# looks up at run time by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "oxygen-icon-theme, iso-flags-svg, qt6-translations-l10n, libqt6svg6")
# Qt's Wayland platform for a Wayland session without X; the desktop's portal takes screenshots there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-desktop-portal")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
