# GNU regex and dfa from gnulib.
#
# Natively the GNU regex interface comes from glibc, and only dfa is taken from
# gnulib. For mingw both come from gnulib. gnulib-tool writes the module sources
# once into build/gnulib-src (shared by the build trees, it takes about a minute);
# each build tree configures and builds its own libgnu.a once and keeps it.
#
# Targets:
#   kestrix::gnu_regex  re_compile_pattern, re_search, re_match, regerror
#   kestrix::gnu_dfa    dfasyntax, dfacomp, dfaexec, dfamust

set(KESTRIX_GNULIB_SOURCE "${CMAKE_SOURCE_DIR}/build/gnulib-src" CACHE PATH
    "Where gnulib-tool writes the regex and dfa modules (shared by build trees)")
set(_gl_build "${CMAKE_BINARY_DIR}/gnulib")
set(_gl_lib "${_gl_build}/gllib/libgnu.a")
set(_gl_include "${_gl_build}/include")

function(_kestrix_gl_run what)
    execute_process(${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "gnulib: ${what} failed (${rc}):\n${out}")
    endif()
endfunction()

if(NOT EXISTS "${KESTRIX_GNULIB_SOURCE}/configure")
    find_program(GNULIB_TOOL gnulib-tool REQUIRED)
    get_filename_component(_gl_parent "${KESTRIX_GNULIB_SOURCE}" DIRECTORY)
    file(MAKE_DIRECTORY "${_gl_parent}")
    file(LOCK "${_gl_parent}/gnulib-src.lock")
    if(NOT EXISTS "${KESTRIX_GNULIB_SOURCE}/configure")
        message(STATUS "gnulib: writing the regex and dfa modules to ${KESTRIX_GNULIB_SOURCE}")
        file(REMOVE_RECURSE "${KESTRIX_GNULIB_SOURCE}")
        _kestrix_gl_run("gnulib-tool"
            COMMAND ${GNULIB_TOOL} --create-testdir "--dir=${KESTRIX_GNULIB_SOURCE}"
                    --without-tests regex dfa
            WORKING_DIRECTORY "${_gl_parent}")
    endif()
    file(LOCK "${_gl_parent}/gnulib-src.lock" RELEASE)
endif()

if(NOT EXISTS "${_gl_lib}")
    file(MAKE_DIRECTORY "${_gl_build}")
    if(CMAKE_CROSSCOMPILING)
        set(_gl_configure "${KESTRIX_GNULIB_SOURCE}/configure" --host=${KESTRIX_MINGW_HOST}
            --enable-threads=windows "CC=${CMAKE_C_COMPILER}")
    else()
        set(_gl_configure "${KESTRIX_GNULIB_SOURCE}/configure" "CC=${CMAKE_C_COMPILER}")
    endif()
    message(STATUS "gnulib: building libgnu.a in ${_gl_build}")
    _kestrix_gl_run("configure" COMMAND ${_gl_configure} WORKING_DIRECTORY "${_gl_build}")
    cmake_host_system_information(RESULT _gl_jobs QUERY NUMBER_OF_LOGICAL_CORES)
    _kestrix_gl_run("make" COMMAND make -j${_gl_jobs} WORKING_DIRECTORY "${_gl_build}")
endif()

# Public headers only: gnulib's generated replacements of system headers stay out
# of our include path.
file(MAKE_DIRECTORY "${_gl_include}")
foreach(_h dfa.h idx.h localeinfo.h)
    configure_file("${KESTRIX_GNULIB_SOURCE}/gllib/${_h}" "${_gl_include}/${_h}" COPYONLY)
endforeach()

add_library(kestrix_gnulib STATIC IMPORTED GLOBAL)
set_target_properties(kestrix_gnulib PROPERTIES IMPORTED_LOCATION "${_gl_lib}")

add_library(kestrix_gnu_dfa INTERFACE)
target_include_directories(kestrix_gnu_dfa SYSTEM INTERFACE "${_gl_include}")
target_link_libraries(kestrix_gnu_dfa INTERFACE kestrix_gnulib)
add_library(kestrix::gnu_dfa ALIAS kestrix_gnu_dfa)

add_library(kestrix_gnu_regex INTERFACE)
if(CMAKE_CROSSCOMPILING)
    # gnulib renames its regex functions (rpl_re_search, ...) and widens the offset
    # types in its config.h; every user of regex.h must see the same definitions,
    # or the pattern buffer's layout differs between caller and library.
    configure_file("${KESTRIX_GNULIB_SOURCE}/gllib/regex.h" "${_gl_include}/regex.h" COPYONLY)
    file(STRINGS "${_gl_build}/config.h" _gl_defs
         REGEX "^#define (_REGEX_[A-Z_]+ 1|re[a-z_]* rpl_re[a-z_]*)$")
    string(REPLACE ";" "\n" _gl_defs "${_gl_defs}")
    file(WRITE "${_gl_include}/gnulib_regex_config.h.tmp"
         "/* Generated from gnulib's config.h: what users of its regex.h must agree on. */\n"
         "${_gl_defs}\n")
    configure_file("${_gl_include}/gnulib_regex_config.h.tmp"
                   "${_gl_include}/gnulib_regex_config.h" COPYONLY)
    target_compile_definitions(kestrix_gnu_regex INTERFACE KESTRIX_GNULIB_REGEX=1)
    target_include_directories(kestrix_gnu_regex SYSTEM INTERFACE "${_gl_include}")
    target_link_libraries(kestrix_gnu_regex INTERFACE kestrix_gnulib)
endif()
add_library(kestrix::gnu_regex ALIAS kestrix_gnu_regex)
