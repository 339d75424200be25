# Shared part of the Windows cross builds with MinGW-w64. The including toolchain
# file sets CDVERIFY_MINGW_TRIPLET, CMAKE_SYSTEM_PROCESSOR and CDVERIFY_WINE_LOADER.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${CDVERIFY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CDVERIFY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${CDVERIFY_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CDVERIFY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C runtime's own printf differs from C99 in places; ask for MinGW's, so the
# logs are the same bytes as the POSIX build's.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
# One self-contained executable: no MinGW runtime DLLs needed on the target.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Every Windows program of the build (test discovery, tests, fixtures) runs under
# Wine in a prefix of this build's own, so the 32-bit and 64-bit builds never
# share a prefix, a mapped drive or a Wine server.
set(CDVERIFY_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
# A start Wine fails outright (no output at all) is tried again (run_under_wine.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR
  env WINEPREFIX=${CDVERIFY_WINE_PREFIX} WINELOADER=${CDVERIFY_WINE_LOADER} WINEDEBUG=-all
  sh ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.sh ${CDVERIFY_WINE_LOADER})
