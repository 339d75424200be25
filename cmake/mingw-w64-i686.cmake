# Cross build for 32-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-i686): the
# executable to ship. Tests run under 32-bit Wine (Debian: wine, wine32:i386),
# which needs a kernel that executes 32-bit x86 code.
set(CDVERIFY_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CDVERIFY_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
