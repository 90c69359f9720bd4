# Manual pages of the three programs, made from their own --help by help2man
# (a Debian package; scripts/setup.sh installs it) into man/ of the build.
find_program(TAVEL_HELP2MAN help2man)
if(NOT TAVEL_HELP2MAN)
  message(FATAL_ERROR "help2man is needed for the manual pages: ./scripts/setup.sh installs it")
endif()
set(TAVEL_MANPAGE_DIR ${CMAKE_BINARY_DIR}/man)
set(TAVEL_INSTALLED_MANUAL ${CMAKE_INSTALL_PREFIX}/${TAVEL_DOC_INSTALL_DIR}/manual/index.html)

set(_manpage_summary_tavel-nfc-config "desktop program of the NFC configuration software Tavel")
set(_manpage_summary_tavel-nfc "command line of the NFC configuration software Tavel")
set(_manpage_summary_tavel-devsim "simulated EnOcean stick and handheld NFC programmer for Tavel")
set(_manpages "")
foreach(_program IN LISTS _programs)
  set(_others ${_programs})
  list(REMOVE_ITEM _others ${_program})
  set(_commands OFF)
  if(_program STREQUAL "tavel-nfc")
    set(_commands ON)
  endif()
  set(_out ${TAVEL_MANPAGE_DIR}/${_program}.1.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${TAVEL_HELP2MAN} -DPROGRAM=$<TARGET_FILE:${_program}>
      -DNAME=${_program} "-DSUMMARY=${_manpage_summary_${_program}}" -DVERSION=${PROJECT_VERSION}
      -DOUT=${_out} -DMANUAL=${TAVEL_INSTALLED_MANUAL} -DCOMMANDS=${_commands} "-DSEE_ALSO=${_others}"
      -DLSAN_SUPPRESSIONS=${CMAKE_SOURCE_DIR}/tests/lsan.supp -P ${CMAKE_SOURCE_DIR}/cmake/make_manpage.cmake
    DEPENDS ${_program} ${CMAKE_SOURCE_DIR}/cmake/make_manpage.cmake
    COMMENT "Manual page of ${_program}"
    VERBATIM)
  list(APPEND _manpages ${_out})
endforeach()
add_custom_target(manpages ALL DEPENDS ${_manpages})
install(FILES ${_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
