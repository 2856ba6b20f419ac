# cmake -DCOMMAND=... -DEXPECTED_CODE=N [-DEXPECTED_OUTPUT=regex] -P expect_exit.cmake
# Runs COMMAND (a ;-list) and checks its exit code and, optionally, its output.
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT code STREQUAL EXPECTED_CODE)
    message(FATAL_ERROR "exit code ${code}, expected ${EXPECTED_CODE}\n${out}${err}")
endif()
if(DEFINED EXPECTED_OUTPUT AND NOT "${out}${err}" MATCHES "${EXPECTED_OUTPUT}")
    message(FATAL_ERROR "output does not match '${EXPECTED_OUTPUT}':\n${out}${err}")
endif()
