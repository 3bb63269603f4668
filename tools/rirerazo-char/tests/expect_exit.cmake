# Runs TOOL with ARGS and fails unless it exits with EXPECT and prints a message to stderr.
execute_process(COMMAND ${TOOL} ${ARGS} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL EXPECT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT}")
endif()
if(errors STREQUAL "")
  message(FATAL_ERROR "no message on standard error")
endif()
