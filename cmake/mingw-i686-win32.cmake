# Cross-compiles the shipped plug-in DLL for 32-bit Windows with mingw-w64's
# win32 thread model. The posix model (cmake/mingw-i686.cmake, which the
# test programs need for GoogleTest) links winpthreads into everything, and
# winpthreads imports GetTickCount64, which Windows XP and 2000 lack; the
# plug-in needs no threads. The flags keep the DLL small: size optimisation,
# no exceptions or run-time type information (the plug-in uses neither),
# one section per function and datum so that the linker drops what nothing
# uses, the runtime linked in statically, symbols stripped.
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

set(tarnwick_small_flags "-Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_CXX_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
# MinSizeRel keeps -Os (Release would put -O3 after it).
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "")
endif()
