# Cross toolchain: Linux host -> Motorola 68000-family Linux, a big-endian CPU.
#
# Debian 12 packages: gcc-m68k-linux-gnu g++-m68k-linux-gnu binutils-m68k-linux-gnu qemu-user-static
# Used by the m68k preset: cmake --workflow --preset m68k
#
# The programs run under qemu-m68k-static, which finds the m68k C and C++
# runtime in /usr/m68k-linux-gnu; CTest runs every test through it.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR m68k)

set(VENK_M68K_TRIPLE m68k-linux-gnu)
set(VENK_M68K_SYSROOT /usr/${VENK_M68K_TRIPLE})

find_program(VENK_M68K_CC NAMES ${VENK_M68K_TRIPLE}-gcc REQUIRED)
find_program(VENK_M68K_CXX NAMES ${VENK_M68K_TRIPLE}-g++ REQUIRED)
set(CMAKE_C_COMPILER ${VENK_M68K_CC})
set(CMAKE_CXX_COMPILER ${VENK_M68K_CXX})
set(CMAKE_ASM_COMPILER ${VENK_M68K_CC})

set(CMAKE_FIND_ROOT_PATH ${VENK_M68K_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VENK_QEMU_M68K NAMES qemu-m68k-static qemu-m68k NO_CMAKE_FIND_ROOT_PATH)
  if(VENK_QEMU_M68K)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VENK_QEMU_M68K} -L ${VENK_M68K_SYSROOT})
  endif()
endif()
