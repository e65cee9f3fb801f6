# Runs Windows test programs under Wine: ctest and gtest discovery call every
# cross-compiled executable through scripts/wine-run, which keeps a private prefix
# of the build's bitness inside this build tree.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_wine_arch win64)
else()
    set(_wine_arch win32)
endif()
set(KESTRIX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix of this build tree")
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_SOURCE_DIR}/scripts/wine-run;--prefix;${KESTRIX_WINEPREFIX};--arch;${_wine_arch}")
