# Compiler settings for the program's own targets, and the helper that registers a test.

function(nmr_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    endif()
endfunction()

# nmr_add_test(name SOURCES file... [LIBS target...])
# Builds one Qt Test executable, registers it with CTest and runs it on the offscreen platform,
# so that widget tests need no display, with temporary directories of its own (RunTest.cmake).
# A test that hangs, on a FIFO say, fails after two minutes.
function(nmr_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE NMR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    nmr_warnings(${name})
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -DTEST=$<TARGET_FILE:${name}>
                -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/${name} -P ${PROJECT_SOURCE_DIR}/cmake/RunTest.cmake)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
