# 32-bit Windows (i686-w64-mingw32) from Debian's mingw-w64; test executables run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)
set(CMAKE_SYSTEM_PROCESSOR x86)   # libjpeg-turbo picks its i386 SIMD code from this

# The -posix variants by full name: the default (-win32) has no std::thread / std::mutex.
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)

# Self-contained executables: libgcc, libstdc++ and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Extra prefixes must be roots (with mode ONLY, CMAKE_PREFIX_PATH entries are re-rooted).
set(MIRABELO_DEPS_PREFIX "$ENV{MIRABELO_DEPS_PREFIX}" CACHE STRING "Target dependency prefixes")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${MIRABELO_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
