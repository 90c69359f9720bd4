# Checks that the sources of one library include headers only from its own
# folder and from the folders of the libraries it links. Run as
#   cmake -DLIBRARY=<target> -DDIR=<folder path> -DALLOWED=<a,b,..>
#         -DKNOWN=<every library folder, a,b,..> [-DSTAMP=<file>] -P check_includes.cmake
# An include of "<folder>/..." where <folder> is a library folder not in ALLOWED
# stops with the file, the line and the forbidden folder.
cmake_minimum_required(VERSION 3.25)
foreach(_var LIBRARY DIR ALLOWED KNOWN)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "check_includes: ${_var} is not set")
  endif()
endforeach()
string(REPLACE "," ";" _allowed "${ALLOWED}")
string(REPLACE "," ";" _known "${KNOWN}")
if(NOT IS_DIRECTORY "${DIR}")
  message(FATAL_ERROR "check_includes: ${DIR} is not a folder")
endif()

# The folders under a library's folder (records/sqlite, ...) belong to it.
file(GLOB_RECURSE _files "${DIR}/*.cpp" "${DIR}/*.h")
list(SORT _files)
set(_faults "")
foreach(_file IN LISTS _files)
  file(READ "${_file}" _text)
  # One list element per line: characters that mean something to CMake lists
  # are taken out first so that every line stays one element.
  string(REPLACE ";" "_" _text "${_text}")
  string(REPLACE "[" "_" _text "${_text}")
  string(REPLACE "]" "_" _text "${_text}")
  string(REPLACE "\\" "_" _text "${_text}")
  string(REPLACE "\n" ";" _lines "${_text}")
  set(_number 0)
  foreach(_line IN LISTS _lines)
    math(EXPR _number "${_number} + 1")
    if(_line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([A-Za-z0-9_]+)/")
      set(_folder "${CMAKE_MATCH_1}")
      if(_folder IN_LIST _known AND NOT _folder IN_LIST _allowed)
        file(RELATIVE_PATH _shown "${DIR}/.." "${_file}")
        string(APPEND _faults "  ${_shown}:${_number}: includes \"${_folder}/...\", "
          "but ${LIBRARY} may not use the ${_folder} folder\n")
      endif()
    endif()
  endforeach()
endforeach()

if(NOT _faults STREQUAL "")
  message(FATAL_ERROR "Layering: ${LIBRARY} includes headers of a library it does not link.\n"
    "${_faults}"
    "  ${LIBRARY} may include from: ${ALLOWED}\n"
    "  Link the library in src/CMakeLists.txt if the use is meant, or move the code.")
endif()
if(DEFINED STAMP)
  file(TOUCH "${STAMP}")
endif()
