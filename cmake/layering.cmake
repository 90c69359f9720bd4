# Layering the build enforces. Every library of the program is registered with
# its folder under src/; the folders a library may include from are derived from
# what it links (target_link_libraries, followed through), so the link lines in
# src/ are the one table of who may use whom. Before a library compiles, a check
# (check_includes.cmake) fails its build when one of its files includes
# "<folder>/..." of a library it does not link.

function(tavel_register_layer target dir)
  get_filename_component(_folder "${dir}" NAME)
  set_property(TARGET ${target} PROPERTY TAVEL_FOLDER "${_folder}")
  set_property(TARGET ${target} PROPERTY TAVEL_FOLDER_PATH "${CMAKE_SOURCE_DIR}/${dir}")
  set_property(GLOBAL APPEND PROPERTY TAVEL_LAYERED_TARGETS ${target})
endfunction()

# Folders of the registered libraries <target> links, followed through.
function(_tavel_linked_folders target out)
  set(_seen "")
  set(_todo "")
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE")
    get_target_property(_links ${target} LINK_LIBRARIES)
  else()
    get_target_property(_links ${target} INTERFACE_LINK_LIBRARIES)
  endif()
  if(_links)
    list(APPEND _todo ${_links})
  endif()
  set(_folders "")
  while(_todo)
    list(POP_FRONT _todo _dep)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" _dep "${_dep}")
    if(NOT TARGET ${_dep} OR _dep IN_LIST _seen)
      continue()
    endif()
    list(APPEND _seen ${_dep})
    get_target_property(_folder ${_dep} TAVEL_FOLDER)
    if(NOT _folder)
      continue()
    endif()
    list(APPEND _folders ${_folder})
    get_target_property(_more ${_dep} INTERFACE_LINK_LIBRARIES)
    if(_more)
      list(APPEND _todo ${_more})
    endif()
  endwhile()
  list(REMOVE_DUPLICATES _folders)
  set(${out} ${_folders} PARENT_SCOPE)
endfunction()

# Called once every library is defined and linked.
function(tavel_enforce_layering)
  get_property(_targets GLOBAL PROPERTY TAVEL_LAYERED_TARGETS)
  set(_known "")
  foreach(_t IN LISTS _targets)
    get_target_property(_folder ${_t} TAVEL_FOLDER)
    list(APPEND _known ${_folder})
  endforeach()
  list(REMOVE_DUPLICATES _known)
  list(JOIN _known "," _known_text)
  foreach(_t IN LISTS _targets)
    get_target_property(_folder ${_t} TAVEL_FOLDER)
    get_target_property(_path ${_t} TAVEL_FOLDER_PATH)
    _tavel_linked_folders(${_t} _allowed)
    list(PREPEND _allowed ${_folder})
    list(REMOVE_DUPLICATES _allowed)
    list(JOIN _allowed "," _allowed_text)
    file(GLOB_RECURSE _sources CONFIGURE_DEPENDS "${_path}/*.cpp" "${_path}/*.h")
    set(_stamp "${CMAKE_BINARY_DIR}/layering/${_t}.stamp")
    add_custom_command(OUTPUT ${_stamp}
      COMMAND ${CMAKE_COMMAND} -DLIBRARY=${_t} -DDIR=${_path}
        -DALLOWED=${_allowed_text} -DKNOWN=${_known_text} -DSTAMP=${_stamp}
        -P ${CMAKE_SOURCE_DIR}/cmake/check_includes.cmake
      DEPENDS ${_sources} ${CMAKE_SOURCE_DIR}/cmake/check_includes.cmake
      COMMENT "Checking the includes of ${_t} (may use: ${_allowed_text})"
      VERBATIM)
    add_custom_target(${_t}_layering DEPENDS ${_stamp})
    add_dependencies(${_t} ${_t}_layering)
  endforeach()
endfunction()
