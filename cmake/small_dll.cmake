# The flags of the shipped plug-in DLL, for both of its toolchains
# (mingw-i686-win32.cmake, mingw-x86_64-win32.cmake): size optimisation,
# no exceptions or run-time type information (the plug-in uses neither),
# one section per function and datum so that the linker drops what nothing
# uses, the runtime linked in statically, symbols stripped.
set(tarnwick_small_flags "-Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_CXX_FLAGS_INIT "${tarnwick_small_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -s")
# MinSizeRel keeps -Os (Release would put -O3 after it).
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "")
endif()
