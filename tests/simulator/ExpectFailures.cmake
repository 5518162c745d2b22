# Runs the host simulator on a folder of scenarios that must all fail, and
# passes only when it exits with status 1 and counts every file as failed.
# cmake -DHOSTSIM=<program> -DDIR=<folder> -P ExpectFailures.cmake
file(GLOB scenarios "${DIR}/*.json")
list(LENGTH scenarios count)
execute_process(COMMAND "${HOSTSIM}" "${DIR}" RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "hostsim exited with ${status}, expected 1\n${out}\n${err}")
endif()
if(NOT out MATCHES "\n0 passed, ${count} failed\n$")
  message(FATAL_ERROR "expected every one of ${count} scenarios to fail:\n${out}")
endif()
