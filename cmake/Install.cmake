# What `cmake --install` puts under the prefix, and the Debian package that CPack
# builds from it: the program, its desktop entry, its icons in the hicolor theme
# and its AppStream metainfo, all named after the application's identifier.
include(GNUInstallDirs)

set(ZORVEL_APP_ID org.zorvel.Zorvel)
set(ZORVEL_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)

install(TARGETS zorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZORVEL_DESKTOP_DIR}/${ZORVEL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZORVEL_DESKTOP_DIR}/${ZORVEL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZORVEL_DESKTOP_DIR}/${ZORVEL_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${ZORVEL_DESKTOP_DIR}/icons/${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${ZORVEL_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvel)
set(CPACK_PACKAGE_VENDOR "The Zorvel developers")
set(CPACK_PACKAGE_CONTACT "The Zorvel developers <developers@zorvel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "Keeps a list of favourite Call of Duty and Urban Terror servers and refreshes them, administers the ones whose remote-console password you hold, browses the master servers' lists and starts the installed game on a chosen server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps reads the libraries the program links and declares their packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt SQL loads its SQLite driver at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
include(CPack)
