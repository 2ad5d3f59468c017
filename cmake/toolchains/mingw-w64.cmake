# Cross build for Windows with Debian's mingw-w64 compilers. The processor comes from
# -DTARSYN7_WINDOWS_ARCH=x86_64 (64-bit hosts, the default) or i686 (32-bit hosts).
set(TARSYN7_WINDOWS_ARCH x86_64 CACHE STRING "Windows processor: x86_64 or i686")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARSYN7_WINDOWS_ARCH)
set(arch ${TARSYN7_WINDOWS_ARCH})

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${arch})
set(CMAKE_C_COMPILER ${arch}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${arch}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${arch}-w64-mingw32-windres)

# The system's Windows libraries, and those cmake/build-*-mingw.sh build into build-deps/.
get_filename_component(deps "${CMAKE_CURRENT_LIST_DIR}/../../build-deps/${arch}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${arch}-w64-mingw32 ${deps})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC does not realign the Windows stack for 32-byte vectors (the engine's AVX2 lanes spill
# them there), so every aligned vector move is assembled as an unaligned one.
set(flags "-Wa,-muse-unaligned-vector-move")
if(arch STREQUAL i686)
  # SSE2 arithmetic, as on 64-bit: doubles round the same way as there, not in x87 registers.
  string(APPEND flags " -msse2 -mfpmath=sse")
endif()
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")
