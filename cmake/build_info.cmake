# The version and git revision every program prints for --version. The revision
# is read at each build, not only when the build folder is configured.
set(TAVEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
add_custom_target(tavel_build_info
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
    -DOUTPUT=${TAVEL_GENERATED_DIR}/tavel_build_info.h -DVERSION=${PROJECT_VERSION}
    -P ${CMAKE_SOURCE_DIR}/cmake/write_build_info.cmake
  BYPRODUCTS ${TAVEL_GENERATED_DIR}/tavel_build_info.h
  COMMENT "Reading the git revision"
  VERBATIM)
add_dependencies(tavel_common tavel_build_info)
target_include_directories(tavel_common PRIVATE ${TAVEL_GENERATED_DIR})
