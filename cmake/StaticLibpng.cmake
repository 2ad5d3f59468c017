# Defines the target tarsyn7::png: libpng and zlib linked into the plug-in statically, so
# the plug-in file needs nothing beyond the system's C library.
# Windows: the libpng cmake/build-libpng-mingw.sh builds into build-deps/ (the toolchain
# file searches there). Linux: one built by cmake/build-libpng-linux.sh into the build
# folder at configure time, position-independent with hidden symbols. Both with the
# system's static zlib (Debian's is position-independent).
if(TARGET tarsyn7::png)
  return()
endif()
if(WIN32)
  find_library(TARSYN7_STATIC_PNG NAMES libpng16.a REQUIRED)
  find_path(TARSYN7_PNG_INCLUDE png.h REQUIRED)
else()
  set(png_prefix ${CMAKE_BINARY_DIR}/deps/libpng)
  if(NOT EXISTS ${png_prefix}/lib/libpng16.a)
    message(STATUS "Building static libpng from Debian's source into ${png_prefix}")
    execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/build-libpng-linux.sh ${png_prefix}
                    RESULT_VARIABLE png_result)
    if(NOT png_result EQUAL 0)
      message(FATAL_ERROR "cmake/build-libpng-linux.sh failed")
    endif()
  endif()
  set(TARSYN7_STATIC_PNG ${png_prefix}/lib/libpng16.a)
  set(TARSYN7_PNG_INCLUDE ${png_prefix}/include)
endif()
find_library(TARSYN7_STATIC_ZLIB NAMES libz.a REQUIRED)
add_library(tarsyn7::png STATIC IMPORTED)
set_target_properties(tarsyn7::png PROPERTIES
  IMPORTED_LOCATION ${TARSYN7_STATIC_PNG}
  INTERFACE_INCLUDE_DIRECTORIES ${TARSYN7_PNG_INCLUDE}
  INTERFACE_LINK_LIBRARIES "${TARSYN7_STATIC_ZLIB};$<$<NOT:$<BOOL:${WIN32}>>:m>")
