# Runs one test executable with a temporary directory and a runtime directory of its own, made
# afresh for every run, so that no test sees what another test or an earlier run left behind.
#   cmake -DTEST=<executable> -DSCRATCH=<directory> -P RunTest.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/tmp" "${SCRATCH}/runtime")
file(CHMOD "${SCRATCH}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
foreach(variable TMPDIR TMP TEMP)
    set(ENV{${variable}} "${SCRATCH}/tmp")
endforeach()
set(ENV{XDG_RUNTIME_DIR} "${SCRATCH}/runtime")

execute_process(COMMAND "${TEST}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TEST} failed: ${result}")
endif()
