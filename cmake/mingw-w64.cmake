# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (tools/windows.sh):
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DKESTRAVA_HOST_BUILD=build-host
#
# The -posix compilers, whose C++ library has std::thread. Libraries (zlib) and headers come
# from the MinGW root; the build's own programs (the asset generators) from KESTRAVA_HOST_BUILD.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESTRAVA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTRAVA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRAVA_MINGW}-g++-posix)
set(CMAKE_ASM_COMPILER ${KESTRAVA_MINGW}-gcc-posix)
set(CMAKE_RC_COMPILER ${KESTRAVA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRAVA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
