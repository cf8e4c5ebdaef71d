# Cross-compiles the shipped plug-in DLL for 32-bit Windows with mingw-w64's
# win32 thread model. The posix model (cmake/mingw-i686.cmake, which the
# test programs need for GoogleTest) links winpthreads into everything, and
# winpthreads imports GetTickCount64, which Windows XP and 2000 lack; the
# plug-in needs no threads. The flags keep the DLL small (small_dll.cmake).
# Build only the module in this folder: the tests stay with the posix model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

include(${CMAKE_CURRENT_LIST_DIR}/small_dll.cmake)
