# Defines the target tarsyn7::png: libpng linked into the plug-in statically.
# Windows: the library cmake/build-libpng-mingw.sh builds into build-deps/. Linux: one built
# by cmake/build-libpng-linux.sh into the build folder at configure time, position-
# independent with hidden symbols, with the system's (position-independent) static zlib.
if(TARGET tarsyn7::png)
  return()
endif()
if(WIN32)
  find_package(PNG REQUIRED)
  add_library(tarsyn7::png INTERFACE IMPORTED)
  target_link_libraries(tarsyn7::png INTERFACE PNG::PNG)
  return()
endif()

set(png_prefix ${CMAKE_BINARY_DIR}/deps/libpng)
if(NOT EXISTS ${png_prefix}/lib/libpng16.a)
  message(STATUS "Building static libpng from Debian's source into ${png_prefix}")
  execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/build-libpng-linux.sh ${png_prefix}
                  RESULT_VARIABLE png_result)
  if(NOT png_result EQUAL 0)
    message(FATAL_ERROR "cmake/build-libpng-linux.sh failed")
  endif()
endif()
find_library(TARSYN7_STATIC_ZLIB NAMES libz.a REQUIRED)
add_library(tarsyn7::png STATIC IMPORTED)
set_target_properties(tarsyn7::png PROPERTIES
  IMPORTED_LOCATION ${png_prefix}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${png_prefix}/include
  INTERFACE_LINK_LIBRARIES "${TARSYN7_STATIC_ZLIB};m")
