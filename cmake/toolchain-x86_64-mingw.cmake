# Cross-compiles for 64-bit Windows with mingw-w64 (x86_64). The product is 32-bit;
# this build exists so that the Windows tests can run under a 64-bit-only Wine on
# hosts whose kernel runs no 32-bit programs.
set(KESTRIX_MINGW_HOST x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
