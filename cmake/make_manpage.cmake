# Makes one program's manual page from its own --help (cmake -P), so that an
# option added to the program is in its manual page too:
#   -DHELP2MAN=help2man -DPROGRAM=bin/tavel-nfc -DNAME=tavel-nfc -DSUMMARY="..."
#   -DVERSION=1.4 -DOUT=man/tavel-nfc.1.gz -DMANUAL=/usr/share/doc/.../index.html
#   [-DCOMMANDS=ON] [-DSEE_ALSO="tavel-nfc-config;tavel-devsim"] [-DLSAN_SUPPRESSIONS=file]
# With COMMANDS, the program has commands ("tavel-nfc <command> --help"): each
# command's help becomes a subsection of COMMANDS. The page names the installed
# manual wherever the help names the one of the build.
cmake_minimum_required(VERSION 3.25)
foreach(_var HELP2MAN PROGRAM NAME SUMMARY VERSION OUT MANUAL)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "make_manpage: ${_var} is not given")
  endif()
endforeach()

set(_env QT_QPA_PLATFORM=offscreen)
if(LSAN_SUPPRESSIONS)
  list(APPEND _env "LSAN_OPTIONS=suppressions=${LSAN_SUPPRESSIONS}:print_suppressions=0")
endif()

# Text shown as it is in a manual page: backslashes and leading dots or quotes
# would be read as requests.
function(_roff_verbatim text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

get_filename_component(_outdir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${_outdir}")
set(_include "${OUT}.include")
set(_page "${OUT}.tmp")
file(WRITE "${_include}" "")

if(COMMANDS)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_env} "${PROGRAM}" --help
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _help ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "make_manpage: ${NAME} --help failed (${_rc}): ${_err}")
  endif()
  # The command list: the indented lines after "commands:" up to the blank line.
  string(REGEX MATCH "\ncommands:\n(([ ]+[^\n]*\n)+)" _block "${_help}")
  string(REPLACE "\n" ";" _lines "${CMAKE_MATCH_1}")
  set(_names "")
  foreach(_line IN LISTS _lines)
    if(_line MATCHES "^  ([a-z][a-z0-9-]*)")
      list(APPEND _names ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(NOT _names)
    message(FATAL_ERROR "make_manpage: ${NAME} --help lists no commands")
  endif()
  file(APPEND "${_include}" "[COMMANDS]\nEach command takes \\fB\\-\\-help\\fR for the text below.\n")
  foreach(_name IN LISTS _names)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_env} "${PROGRAM}" ${_name} --help
      RESULT_VARIABLE _rc OUTPUT_VARIABLE _text ERROR_VARIABLE _err)
    if(NOT _rc EQUAL 0 OR _text STREQUAL "")
      message(FATAL_ERROR "make_manpage: ${NAME} ${_name} --help failed (${_rc}): ${_err}")
    endif()
    string(STRIP "${_text}" _text)
    _roff_verbatim("${_text}" _text)
    file(APPEND "${_include}" ".SS \"${NAME} ${_name}\"\n.nf\n${_text}\n.fi\n")
  endforeach()
endif()

_roff_verbatim("${MANUAL}" _manual)
file(APPEND "${_include}" "[SEE ALSO]\n")
foreach(_other IN LISTS SEE_ALSO)
  file(APPEND "${_include}" ".BR ${_other} (1),\n")
endforeach()
file(APPEND "${_include}" "the user manual (HTML) in\n.IR ${_manual} .\n")

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_env} "${HELP2MAN}" --no-info --section=1
    "--name=${SUMMARY}" "--version-string=${VERSION}" "--include=${_include}" "--output=${_page}" "${PROGRAM}"
  RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "make_manpage: help2man failed for ${NAME} (${_rc}): ${_out}${_err}")
endif()
file(READ "${_page}" _text)
# The build's manual (or where the build's program would look for it) is the
# installed one in the package.
string(REPLACE "\\" "\\\\" _manual_replacement "${_manual}") # a backslash is special in a replacement
string(REGEX REPLACE "[^ \t\n\"]*/manual/index\\.html" "${_manual_replacement}" _text "${_text}")
file(WRITE "${_page}" "${_text}")
execute_process(COMMAND gzip -9n -c "${_page}" OUTPUT_FILE "${OUT}" RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "make_manpage: gzip failed for ${NAME}")
endif()
file(REMOVE "${_page}" "${_include}")
