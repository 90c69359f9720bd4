# Puts the user manual together (cmake -P):
#   -DSOURCE=docs/manual -DDEST=build/bin/manual -DPICTURE_TOOL=window_pictures
#   [-DLSAN_SUPPRESSIONS=file] [-DPICTURES_FROM=folder]
# Takes the pictures with the picture tool (or from PICTURES_FROM, already taken),
# copies the pages and their style sheet, keeps only the pictures the pages show,
# and fails naming every picture, page or anchor a page points to that is not
# there. The manual is built in a folder beside DEST and moved in place only when
# complete, so a failed run never leaves a half manual.
cmake_minimum_required(VERSION 3.25)
foreach(_var SOURCE DEST)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "make_manual: ${_var} is not given")
  endif()
endforeach()

set(_work "${DEST}.new")
# Stops naming the reason, leaving neither a half manual nor the work folder.
function(_fail text)
  file(REMOVE_RECURSE "${_work}")
  message(FATAL_ERROR "make_manual: ${text}")
endfunction()
file(REMOVE_RECURSE "${_work}")
file(MAKE_DIRECTORY "${_work}/pictures")

if(DEFINED PICTURES_FROM)
  file(GLOB _taken "${PICTURES_FROM}/*.png")
  file(COPY ${_taken} DESTINATION "${_work}/pictures")
else()
  # A desktop-sized screen (the offscreen platform's own is 800 x 600), so that the
  # main window is shown whole at its designed size.
  set(_env "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_LIST_DIR}/manual_screen.json")
  if(LSAN_SUPPRESSIONS)
    list(APPEND _env "LSAN_OPTIONS=suppressions=${LSAN_SUPPRESSIONS}:print_suppressions=0")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_env} "${PICTURE_TOOL}" "${_work}/pictures"
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    _fail("the picture tool failed (${_rc}):\n${_out}${_err}")
  endif()
endif()

file(GLOB _pages RELATIVE "${SOURCE}" "${SOURCE}/*.html")
file(GLOB _styles RELATIVE "${SOURCE}" "${SOURCE}/*.css")
if(NOT _pages)
  _fail("no pages in ${SOURCE}")
endif()
foreach(_file IN LISTS _pages _styles)
  file(COPY "${SOURCE}/${_file}" DESTINATION "${_work}")
endforeach()

# Every anchor of every page, as "page#id".
set(_anchors "")
foreach(_page IN LISTS _pages)
  file(READ "${SOURCE}/${_page}" _text)
  string(REGEX MATCHALL "id=\"[^\"]+\"" _ids "${_text}")
  foreach(_id IN LISTS _ids)
    string(REGEX REPLACE "^id=\"(.*)\"$" "\\1" _id "${_id}")
    list(APPEND _anchors "${_page}#${_id}")
  endforeach()
endforeach()

set(_missing "")
set(_shown "")
foreach(_page IN LISTS _pages)
  file(READ "${SOURCE}/${_page}" _text)
  string(REGEX MATCHALL "(src|href)=\"[^\"]*\"" _refs "${_text}")
  foreach(_ref IN LISTS _refs)
    string(REGEX REPLACE "^(src|href)=\"(.*)\"$" "\\2" _target "${_ref}")
    if(_target MATCHES "^[a-z]+:") # a web address or mail link: not part of the manual
      continue()
    endif()
    string(REGEX REPLACE "#.*$" "" _file "${_target}")
    if(_file STREQUAL "")
      set(_file "${_page}")
    endif()
    if(NOT EXISTS "${_work}/${_file}")
      list(APPEND _missing "${_page}: ${_target}")
      continue()
    endif()
    if(_file MATCHES "^pictures/")
      list(APPEND _shown "${_file}")
    endif()
    if(_target MATCHES "#(.+)$")
      if(NOT "${_file}#${CMAKE_MATCH_1}" IN_LIST _anchors)
        list(APPEND _missing "${_page}: ${_target} (no such anchor)")
      endif()
    endif()
  endforeach()
endforeach()
if(_missing)
  list(JOIN _missing "\n  " _list)
  _fail("the manual points to what is not there:\n  ${_list}")
endif()

# Only the pictures a page shows go with the manual.
file(GLOB _pictures RELATIVE "${_work}" "${_work}/pictures/*")
foreach(_picture IN LISTS _pictures)
  if(NOT _picture IN_LIST _shown)
    file(REMOVE "${_work}/${_picture}")
  endif()
endforeach()

file(REMOVE_RECURSE "${DEST}")
file(RENAME "${_work}" "${DEST}")
