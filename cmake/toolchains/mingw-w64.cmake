# Cross builds for Windows with Debian's MinGW-w64 compilers, posix thread model (std::thread
# and the block writer's thread need it). TALLYFOLD_WINDOWS_ARCH picks the processor:
# x86_64 (the default) or i686.

if(NOT TALLYFOLD_WINDOWS_ARCH)
  set(TALLYFOLD_WINDOWS_ARCH x86_64)
endif()
set(TALLYFOLD_WINDOWS_ARCH ${TALLYFOLD_WINDOWS_ARCH} CACHE STRING "x86_64 or i686")
# try_compile projects read the toolchain file again and need to see the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALLYFOLD_WINDOWS_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TALLYFOLD_WINDOWS_ARCH})
set(_triple ${TALLYFOLD_WINDOWS_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
