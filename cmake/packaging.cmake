# Install rules and the Debian package (cpack -G DEB; scripts/package.sh builds it).
#
# /usr/bin                              tavel-nfc-config, tavel-nfc, tavel-devsim
# /usr/share/tavel-nfc/                 nfc_model.xml, license.rtf (the programs look
#                                       beside themselves first, then here)
# /etc/tavel-nfc/tavel-nfc.conf         the maker's web addresses and programmer USB ID
# /usr/share/applications/, icons/      the desktop entry and its icon
# /usr/share/metainfo/                  the AppStream metadata naming that entry
# /usr/share/man/man1/                  the three programs' manual pages
# /usr/share/doc/tavel-nfc/             copyright, changelog.gz and manual/ (HTML)
#
# The user's own files (settings, summaries, record databases, the recently-used
# list) live only in the home folder; removing the package leaves them alone.
include(GNUInstallDirs)

set(TAVEL_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tavel-nfc)
set(TAVEL_CONFIG_INSTALL_DIR ${CMAKE_INSTALL_FULL_SYSCONFDIR}/tavel-nfc)
# Debian names the documentation folder after the package.
set(TAVEL_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/tavel-nfc)
# The data folder as seen from the programs' folder, so that an installed copy
# finds its files wherever the tree was installed to.
file(RELATIVE_PATH _data_from_bin ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${TAVEL_DATA_INSTALL_DIR})
file(RELATIVE_PATH _manual_from_bin ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${TAVEL_DOC_INSTALL_DIR}/manual)
target_compile_definitions(tavel_common PRIVATE
  TAVEL_DATA_DIR_FROM_BIN="${_data_from_bin}" TAVEL_CONFIG_DIR="${TAVEL_CONFIG_INSTALL_DIR}"
  TAVEL_MANUAL_DIR_FROM_BIN="${_manual_from_bin}")

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

include(${CMAKE_SOURCE_DIR}/cmake/manpages.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/manual.cmake)
install(DIRECTORY ${TAVEL_MANUAL_BUILD_DIR}/ DESTINATION ${TAVEL_DOC_INSTALL_DIR}/manual)

# The release: packaging/changelog (Debian's form) names the version and date of
# every release; its newest entry must be this version. It goes into the package
# compressed, its date into the AppStream metadata.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog _changelog)
list(GET _changelog 0 _release_line)
if(NOT _release_line MATCHES "^tavel-nfc \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not release ${PROJECT_VERSION}: ${_release_line}")
endif()
set(TAVEL_RELEASE_DATE "")
foreach(_line IN LISTS _changelog)
  if(_line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND _months ${CMAKE_MATCH_2} _month)
    math(EXPR _month "${_month} + 1")
    if(_month LESS 10)
      set(_month 0${_month})
    endif()
    set(_day ${CMAKE_MATCH_1})
    if(_day LESS 10)
      set(_day 0${_day})
    endif()
    set(TAVEL_RELEASE_DATE ${CMAKE_MATCH_3}-${_month}-${_day})
    break()
  endif()
endforeach()
if(NOT TAVEL_RELEASE_DATE)
  message(FATAL_ERROR "packaging/changelog: the newest entry has no date line")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
set(_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${_changelog_gz}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "changelog.gz of release ${PROJECT_VERSION}")
add_custom_target(changelog ALL DEPENDS ${_changelog_gz})
install(FILES ${_changelog_gz} ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${TAVEL_DOC_INSTALL_DIR})

set(TAVEL_APPSTREAM_ID example.tavel.NfcConfig)
configure_file(${CMAKE_SOURCE_DIR}/packaging/metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/${TAVEL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${TAVEL_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME tavel-nfc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavel")
set(CPACK_PACKAGE_CONTACT "Tavel <support@tavel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NFC configuration software for Tavel LED drivers")
# Debian shows the description in lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
  "Builds LED driver profiles (nominal current, constant-light-output curve,\nDC emergency level, NTC derating), turns them into the bytes of the driver's\nNFC tag and sends them by an EnOcean USB300 stick to the handheld NFC\nprogrammer. Includes the command line tavel-nfc and the device simulator\ntavel-devsim, with manual pages and an HTML user manual.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The programs go in without their debug symbols.
set(CPACK_STRIP_FILES ON)
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

if(TAVEL_BUILD_TESTS)
  include(${CMAKE_SOURCE_DIR}/cmake/package_check.cmake)
endif()
