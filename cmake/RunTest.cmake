# Runs one test executable with a temporary directory and a runtime directory of its own, made
# afresh for every run, so that no test sees what another test or an earlier run left behind.
#   cmake -DTEST=<executable> -DSCRATCH=<directory> [-DWINE=<wine> -DWINEPATH=<folders>
#         -DFONTS=<folder>] -P RunTest.cmake
# Under Wine, the environment is set inside Wine, which keeps its own, and the report goes to a
# file, since Qt Test writes to the debugger when standard output is not a console.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/tmp" "${SCRATCH}/runtime")
file(CHMOD "${SCRATCH}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
foreach(variable TMPDIR TMP TEMP)
    set(ENV{${variable}} "${SCRATCH}/tmp")
endforeach()
set(ENV{XDG_RUNTIME_DIR} "${SCRATCH}/runtime")

if(WINE)
    string(REPLACE "|" ";" winepath "${WINEPATH}")
    set(ENV{WINEPATH} "${winepath}")
    set(ENV{WINEDEBUG} "-all")
    string(REPLACE "/" "\\" test "Z:${TEST}")
    string(REPLACE "/" "\\" temporary "Z:${SCRATCH}/tmp")
    string(REPLACE "/" "\\" report "Z:${SCRATCH}/report.txt")
    set(inside "set QT_QPA_PLATFORM=offscreen&& set QT_QPA_FONTDIR=Z:${FONTS}&& set TEMP=${temporary}&& set TMP=${temporary}&& ${test} -o ${report},txt")
    execute_process(COMMAND "${WINE}" cmd /c "${inside}" RESULT_VARIABLE result
        OUTPUT_QUIET ERROR_QUIET)
    if(EXISTS "${SCRATCH}/report.txt")
        file(READ "${SCRATCH}/report.txt" report)
        message("${report}")
    else()
        message("${TEST} wrote no report")
    endif()
else()
    execute_process(COMMAND "${TEST}" RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TEST} failed: ${result}")
endif()
