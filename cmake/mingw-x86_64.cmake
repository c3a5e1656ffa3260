# 64-bit Windows, the same sources built to run under Wine in tests:
# MinGW-w64 from Debian (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DALVENIX_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
