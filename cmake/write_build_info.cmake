# Writes the program's version and the git revision of the sources into a header.
# Run at every build (cmake -P); the header is rewritten only when its text
# changes, so a build without a new revision compiles nothing again.
#   -DSOURCE_DIR=... -DOUTPUT=.../tavel_build_info.h -DVERSION=1.4
set(revision "unknown")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" rev-parse --short=10 HEAD
    OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE head_result ERROR_QUIET)
  if(head_result EQUAL 0 AND head)
    set(revision "${head}")
    # Edited tracked files make the build differ from the revision: say so. The
    # status is read without taking the index lock (others may be committing).
    execute_process(COMMAND "${GIT_PROGRAM}" --no-optional-locks -C "${SOURCE_DIR}"
        status --porcelain --untracked-files=no
      OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status_result ERROR_QUIET)
    if(status_result EQUAL 0 AND changes)
      string(APPEND revision "-modified")
    endif()
  endif()
endif()
set(text "// Generated at build time by cmake/write_build_info.cmake; do not edit.
#pragma once
#define TAVEL_PROGRAM_VERSION \"${VERSION}\"
#define TAVEL_GIT_REVISION \"${revision}\"
")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
