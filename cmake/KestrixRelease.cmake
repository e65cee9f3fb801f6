# The Windows release: the programs it ships, a version resource for each, and the
# list of built files that scripts/package puts into the zip and the installer.
# The version comes from the VERSION file (the project's version) and nowhere else.

# One row per shipped file: target|product|description. A program that ships is one
# more row here; scripts/package and the installer take their file lists from the
# manifest this makes.
set(KESTRIX_RELEASE_PROGRAMS
    "Sorbex|Sorbex|Kestrix Search & Replace"
    "sorbexc|Sorbex|Kestrix Search & Replace, command line"
    "sorbexconv|Sorbex|Kestrix Search & Replace, document converter helper"
    "keywright|keywright|keywright, add-in for the registry editor"
    "kwlaunch|keywright|keywright launcher for the registry editor"
    "kwreg|keywright|keywright registry file checker")

# The version header that the about boxes include (kestrix_version).
configure_file(${CMAKE_CURRENT_LIST_DIR}/release/KestrixVersion.h.in
    ${CMAKE_BINARY_DIR}/generated/KestrixVersion.h @ONLY)
add_library(kestrix_version INTERFACE)
target_include_directories(kestrix_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# Called once every folder has made its targets: gives each shipped target its version
# resource and writes release/manifest.txt (version, architecture, one built file a line);
# kestrix_release_files builds them all.
function(kestrix_release)
    set(_template ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/release/VersionInfo.rc.in)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(_arch win64)
    else()
        set(_arch win32)
    endif()
    set(_manifest "version ${PROJECT_VERSION}\narch ${_arch}\n")
    add_custom_target(kestrix_release_files)
    foreach(_row IN LISTS KESTRIX_RELEASE_PROGRAMS)
        string(REPLACE "|" ";" _fields "${_row}")
        list(GET _fields 0 _target)
        list(GET _fields 1 KESTRIX_PRODUCT_NAME)
        list(GET _fields 2 KESTRIX_FILE_DESCRIPTION)
        get_target_property(_type ${_target} TYPE)
        get_target_property(KESTRIX_FILE_STEM ${_target} OUTPUT_NAME)
        if(NOT KESTRIX_FILE_STEM)
            set(KESTRIX_FILE_STEM ${_target})
        endif()
        if(_type STREQUAL "SHARED_LIBRARY")
            set(KESTRIX_FILE_TYPE VFT_DLL)
            set(KESTRIX_FILE_NAME ${KESTRIX_FILE_STEM}.dll)
        else()
            set(KESTRIX_FILE_TYPE VFT_APP)
            set(KESTRIX_FILE_NAME ${KESTRIX_FILE_STEM}.exe)
        endif()
        set(_rc ${CMAKE_BINARY_DIR}/release/${_target}.version.rc)
        configure_file(${_template} ${_rc} @ONLY)
        target_sources(${_target} PRIVATE ${_rc})
        string(APPEND _manifest "file $<TARGET_FILE:${_target}>\n")
        add_dependencies(kestrix_release_files ${_target})
    endforeach()
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/release/manifest.txt CONTENT "${_manifest}")
endfunction()
