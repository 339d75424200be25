# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
# The same sources and tests as the 32-bit build, run under 64-bit Wine (Debian:
# wine, wine64), which works on every x86-64 machine, also where 32-bit code
# cannot execute.
set(CDVERIFY_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CDVERIFY_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
