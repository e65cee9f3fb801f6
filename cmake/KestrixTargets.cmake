# Helpers that give every library, program and test of the project the same rules.

# kestrix_library(NAME SOURCES... [DEPS libs...]): a static library named after its
# folder, with the folder's parent on the include path (#include "engine/Foo.h").
function(kestrix_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${KESTRIX_WARNINGS})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    if(ARG_DEPS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    endif()
endfunction()

# kestrix_program(NAME SOURCES... [DEPS libs...])
function(kestrix_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${KESTRIX_WARNINGS})
    if(ARG_DEPS)
        target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    endif()
endfunction()

# kestrix_test(NAME [SCREEN] SOURCES... [DEPS libs...]): a GoogleTest program that runs
# on both targets; on win32 ctest runs it through the Wine emulator. SCREEN: its tests
# drag with the pointer or drop on what lies under it, so they take the screen one at a
# time with the end-to-end tests.
function(kestrix_test name)
    if(NOT KESTRIX_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "SCREEN" "" "SOURCES;DEPS" ${ARGN})
    set(lock)
    if(ARG_SCREEN)
        set(lock RESOURCE_LOCK screen)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${KESTRIX_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} kestrix_gtest_main)
    # PRE_TEST: tests are listed when ctest runs, so that building for win32 never
    # needs Wine; only running the tests does.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS unit ${lock})
endfunction()
