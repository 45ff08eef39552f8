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
# A test that hangs, on a FIFO say, fails after two minutes. A Windows build runs its tests under
# the emulator it is given (Wine), with the folders of Qt's and the compiler's libraries and the
# host's fonts.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
    set(runtime_folders)
    foreach(library libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
            OUTPUT_VARIABLE library_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        cmake_path(GET library_path PARENT_PATH folder)
        cmake_path(NORMAL_PATH folder)
        list(APPEND runtime_folders "Z:${folder}")
    endforeach()
    list(APPEND runtime_folders "Z:${Qt6_DIR}/../../../bin")
    list(JOIN runtime_folders "|" runtime_folders)
    # Qt's own font database on the offscreen platform reads one folder: the host's fonts.
    set(fonts ${PROJECT_BINARY_DIR}/fonts)
    file(GLOB_RECURSE host_fonts /usr/share/fonts/*.ttf /usr/share/fonts/*.otf)
    file(MAKE_DIRECTORY ${fonts})
    foreach(font ${host_fonts})
        cmake_path(GET font FILENAME font_name)
        file(CREATE_LINK ${font} ${fonts}/${font_name} SYMBOLIC)
    endforeach()
    set(NMR_WINE_RUN -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR} -DWINEPATH=${runtime_folders} -DFONTS=${fonts})
endif()
function(nmr_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE NMR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    nmr_warnings(${name})
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -DTEST=$<TARGET_FILE:${name}>
                -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/scratch/${name} ${NMR_WINE_RUN}
                -P ${PROJECT_SOURCE_DIR}/cmake/RunTest.cmake)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
