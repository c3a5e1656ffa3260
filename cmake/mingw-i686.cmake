# 32-bit Windows, the shipped program: MinGW-w64 from Debian (g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DALVENIX_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
