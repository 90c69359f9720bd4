# Runs the build's include check (cmake/check_includes.cmake) on the small tree
# in fixture/ with different allowed folders and compares exit status and text.
#   cmake -DSOURCE_DIR=<checkout> -P check_includes_test.cmake
cmake_minimum_required(VERSION 3.25)
set(_check "${SOURCE_DIR}/cmake/check_includes.cmake")
set(_dir "${SOURCE_DIR}/tests/layering/fixture/radio")
set(_known "common,serial,radio,desktop,records")

# name | allowed folders | expected to pass (1) or fail (0) | text the output must hold
set(_cases
  "window header from radio|radio,serial,common|0|radio/link_fixture.cpp:8: includes \"desktop/...\", but tavel_radio may not use the desktop folder"
  "missing serial as well|radio,common|0|radio/link_fixture.cpp:5: includes \"serial/...\""
  "own and linked folders only|radio,serial,common,desktop,records|1|"
  "common not linked|radio,serial,desktop|0|radio/frames.h:3: includes \"common/...\""
  "file in a subfolder|radio,serial,common,desktop|0|radio/codec/frame_codec.cpp:4: includes \"records/...\"")

set(_failed 0)
foreach(_case IN LISTS _cases)
  string(REPLACE "|" ";" _fields "${_case}")
  list(GET _fields 0 _name)
  list(GET _fields 1 _allowed)
  list(GET _fields 2 _passes)
  list(LENGTH _fields _n)
  set(_expect "")
  if(_n GREATER 3)
    list(GET _fields 3 _expect)
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DLIBRARY=tavel_radio -DDIR=${_dir}
      -DALLOWED=${_allowed} -DKNOWN=${_known} -P ${_check}
    RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  set(_text "${_out}${_err}")
  string(REPLACE "\n" " " _flat "${_text}")
  string(REGEX REPLACE " +" " " _flat "${_flat}")
  if(_passes AND NOT _result EQUAL 0)
    message(SEND_ERROR "${_name}: the check failed although every include is allowed:\n${_text}")
    set(_failed 1)
  elseif(NOT _passes AND _result EQUAL 0)
    message(SEND_ERROR "${_name}: the check passed a forbidden include")
    set(_failed 1)
  endif()
  if(NOT _expect STREQUAL "")
    string(FIND "${_flat}" "${_expect}" _at)
    if(_at EQUAL -1)
      message(SEND_ERROR "${_name}: the output does not name \"${_expect}\":\n${_text}")
      set(_failed 1)
    endif()
  endif()
endforeach()
if(NOT _failed)
  message(STATUS "include check: every case as expected")
endif()
