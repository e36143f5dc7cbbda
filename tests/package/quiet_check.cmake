# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCOMMAND=A|B... -DFILES=F|G... [-DSUCCESS=regex] [-DSTDERR_ONLY=ON] -P quiet_check.cmake
# Runs COMMAND FILE for each file; fails when it fails or says anything
# other than SUCCESS (on standard error only, with STDERR_ONLY), naming the
# file.
string(REPLACE "|" ";" COMMAND "${COMMAND}")
string(REPLACE "|" ";" FILES "${FILES}")
set(failed 0)
foreach(file ${FILES})
  execute_process(COMMAND ${COMMAND} ${file} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
  if(STDERR_ONLY)
    set(out "")
  endif()
  string(STRIP "${out}\n${err}" said)
  if(SUCCESS)
    string(REGEX REPLACE "${SUCCESS}" "" said "${said}")
    string(STRIP "${said}" said)
  endif()
  if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    message("${file}: exit status ${status}\n${said}")
    set(failed 1)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "check failed")
endif()
