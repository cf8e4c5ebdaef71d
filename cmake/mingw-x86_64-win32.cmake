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

include(${CMAKE_CURRENT_LIST_DIR}/small_dll.cmake)
