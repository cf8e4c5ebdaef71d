# Cross-compiles the shipped plug-in DLL for 64-bit Windows with mingw-w64's
# win32 thread model, as cmake/mingw-i686-win32.cmake does for 32-bit
# Windows (see there why not the posix model, and what the flags are for).
# The oldest system the x64 host runs on is Windows XP x64 (Server 2003
# SP1): packaging/dll-imports.txt lists what it may import.
# Build only the module in this folder: the tests stay with the posix model
# (cmake/mingw-x86_64.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(tarnwick_small_flags "-Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_CXX_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
# MinSizeRel keeps -Os (Release would put -O3 after it).
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "")
endif()
