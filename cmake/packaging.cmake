# Install rules and the Debian package (cpack -G DEB; scripts/package.sh builds it).
#
# /usr/bin                              tavel-nfc-config, tavel-nfc, tavel-devsim
# /usr/share/tavel-nfc/                 nfc_model.xml, license.rtf (the programs look
#                                       beside themselves first, then here)
# /etc/tavel-nfc/tavel-nfc.conf         the maker's web addresses and programmer USB ID
# /usr/share/applications/, icons/      the desktop entry and its icon
#
# The user's own files (settings, summaries, record databases, the recently-used
# list) live only in the home folder; removing the package leaves them alone.
include(GNUInstallDirs)

set(TAVEL_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tavel-nfc)
set(TAVEL_CONFIG_INSTALL_DIR ${CMAKE_INSTALL_FULL_SYSCONFDIR}/tavel-nfc)
# The data folder as seen from the programs' folder, so that an installed copy
# finds its files wherever the tree was installed to.
file(RELATIVE_PATH _data_from_bin ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${TAVEL_DATA_INSTALL_DIR})
target_compile_definitions(tavel_common PRIVATE
  TAVEL_DATA_DIR_FROM_BIN="${_data_from_bin}" TAVEL_CONFIG_DIR="${TAVEL_CONFIG_INSTALL_DIR}")

set(_programs tavel-nfc-config tavel-nfc)
if(TARGET tavel-devsim)
  list(APPEND _programs tavel-devsim)
endif()
install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/nfc_model.xml ${CMAKE_SOURCE_DIR}/resources/license.rtf
  DESTINATION ${TAVEL_DATA_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/tavel-nfc.conf DESTINATION ${TAVEL_CONFIG_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/tavel-nfc-config.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/tavel-nfc-config.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME tavel-nfc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavel")
set(CPACK_PACKAGE_CONTACT "Tavel <support@tavel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NFC configuration software for Tavel LED drivers")
set(CPACK_PACKAGE_DESCRIPTION
  "Builds LED driver profiles (nominal current, constant-light-output curve, DC emergency\nlevel, NTC derating), turns them into the bytes of the driver's NFC tag and sends them\nby an EnOcean USB300 stick to the handheld NFC programmer. Includes the command line\ntavel-nfc and the device simulator tavel-devsim.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt, SQLite, the C++ runtime) are found by
# dpkg-shlibdeps. Qt loads its platform plugins at run time, which that does not
# see: the desktop program needs the X11/Wayland ones.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The configuration file is a maker's to edit: dpkg keeps the edits on upgrade.
set(_conffiles ${CMAKE_BINARY_DIR}/debian/conffiles)
file(WRITE ${_conffiles} "${TAVEL_CONFIG_INSTALL_DIR}/tavel-nfc.conf\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_conffiles})
include(CPack)
