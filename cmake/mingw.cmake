# Cross-compiling for Windows with MinGW-w64; the architecture is a parameter:
#   -DPIMBLO_MINGW_ARCH=x86_64   programs run under wine64
#   -DPIMBLO_MINGW_ARCH=i686     compiled and checked only: these machines cannot run 32-bit code
if(NOT PIMBLO_MINGW_ARCH)
  set(PIMBLO_MINGW_ARCH x86_64)
endif()
# try_compile projects read this file again and need the parameter too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PIMBLO_MINGW_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PIMBLO_MINGW_ARCH})
set(CMAKE_C_COMPILER ${PIMBLO_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIMBLO_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${PIMBLO_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PIMBLO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(PIMBLO_MINGW_ARCH STREQUAL "x86_64")
  # Only the 64-bit loader starts on these machines; plain `wine` would prefer the 32-bit one.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
endif()
