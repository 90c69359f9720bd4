# The device maker's firmware script can be built into the program:
#   cmake -DTAVEL_FIRMWARE_SCRIPT=/path/to/nfc_programmer_firmware.bin ...
# Without it the updater looks for the file beside the program only.
set(TAVEL_FIRMWARE_SCRIPT "" CACHE FILEPATH "Firmware script of the handheld programmer to embed")
if(TAVEL_FIRMWARE_SCRIPT)
  if(NOT EXISTS "${TAVEL_FIRMWARE_SCRIPT}")
    message(FATAL_ERROR "TAVEL_FIRMWARE_SCRIPT: no such file: ${TAVEL_FIRMWARE_SCRIPT}")
  endif()
  set(_fw_qrc "${CMAKE_CURRENT_BINARY_DIR}/firmware_script.qrc")
  file(WRITE "${_fw_qrc}.in"
    "<RCC>\n  <qresource prefix=\"/firmware\">\n"
    "    <file alias=\"nfc_programmer_firmware.bin\">${TAVEL_FIRMWARE_SCRIPT}</file>\n"
    "  </qresource>\n</RCC>\n")
  configure_file("${_fw_qrc}.in" "${_fw_qrc}" COPYONLY)
  target_sources(tavel_firmware PRIVATE "${_fw_qrc}")
  target_compile_definitions(tavel_firmware PRIVATE TAVEL_FIRMWARE_EMBEDDED)
endif()
