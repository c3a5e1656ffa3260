# Shared by the MinGW-w64 toolchain files: set DALVENIX_MINGW_TRIPLET before
# including this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10.0)

# Debian ships the compilers in two thread models. The posix one has
# std::mutex and std::thread, which GoogleTest needs; its libwinpthread is
# linked in statically below, so no libwinpthread-1.dll is needed either.
set(CMAKE_C_COMPILER ${DALVENIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DALVENIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DALVENIX_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${DALVENIX_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${DALVENIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes are linked in, so that the program needs no DLL
# beyond Windows' own and the device library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
