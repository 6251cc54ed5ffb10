# Cross toolchain: Linux host -> 64-bit Windows (mingw-w64, POSIX thread model).
#
# Debian 12 packages: g++-mingw-w64-x86-64-posix wine64 wine
# Used by the mingw preset: cmake --workflow --preset mingw
#
# Programs are linked fully static (libgcc, libstdc++, winpthread), so the
# .exe files run under Wine without copying any mingw DLLs next to them.
# When Wine is installed it becomes the CMAKE_CROSSCOMPILING_EMULATOR, so
# ctest (and gtest_discover_tests) run the .exe files through it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VENK_MINGW_TRIPLE x86_64-w64-mingw32)

# Prefer the explicit -posix compilers (std::thread etc. need winpthread);
# fall back to the unsuffixed names, which Debian points at one of the two.
find_program(VENK_MINGW_CC NAMES ${VENK_MINGW_TRIPLE}-gcc-posix ${VENK_MINGW_TRIPLE}-gcc REQUIRED)
find_program(VENK_MINGW_CXX NAMES ${VENK_MINGW_TRIPLE}-g++-posix ${VENK_MINGW_TRIPLE}-g++ REQUIRED)
find_program(VENK_MINGW_WINDRES NAMES ${VENK_MINGW_TRIPLE}-windres windres REQUIRED)

set(CMAKE_C_COMPILER ${VENK_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VENK_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VENK_MINGW_WINDRES})

# Look for headers and libraries only in the mingw sysroot, programs only on
# the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VENK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static executables: no libgcc_s_seh-1.dll, libstdc++-6.dll or
# libwinpthread-1.dll needed at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Wine as the emulator. Debian 12 has no wine64 on PATH: the wine64 package
# installs /usr/lib/wine/wine64 and the wine package adds /usr/bin/wine,
# which runs wine64 when 32-bit wine is absent.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VENK_WINE NAMES wine64 wine
    PATHS /usr/lib/wine /usr/lib64/wine
    NO_CMAKE_FIND_ROOT_PATH)
  if(VENK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VENK_WINE})
  endif()
endif()
