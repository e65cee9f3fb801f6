# Cross-compiles for 32-bit Windows with mingw-w64 (i686): the product's platform.
set(KESTRIX_MINGW_HOST i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
