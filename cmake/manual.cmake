# The HTML user manual: the pages of docs/manual with pictures of this build's
# windows (made by window_pictures, so that they show the windows as they are),
# put together in bin/manual/ beside the programs, where the Help window and
# "tavel-nfc --help" find it; the package installs it to share/doc/tavel-nfc/manual.
set(TAVEL_MANUAL_BUILD_DIR ${CMAKE_BINARY_DIR}/bin/manual)
file(GLOB _manual_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*)
add_custom_command(OUTPUT ${TAVEL_MANUAL_BUILD_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/docs/manual -DDEST=${TAVEL_MANUAL_BUILD_DIR}
    -DPICTURE_TOOL=$<TARGET_FILE:window_pictures> -DLSAN_SUPPRESSIONS=${CMAKE_SOURCE_DIR}/tests/lsan.supp
    -P ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
  DEPENDS ${_manual_sources} window_pictures ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
    ${CMAKE_SOURCE_DIR}/cmake/manual_screen.json
  COMMENT "User manual with pictures of this build's windows"
  VERBATIM)
add_custom_target(manual ALL DEPENDS ${TAVEL_MANUAL_BUILD_DIR}/index.html)
