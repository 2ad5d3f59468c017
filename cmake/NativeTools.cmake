# Programs that run on the build machine during the build (generators of resources).
#
#   tarsyn7_add_native_tool(<name> SOURCES <files> [INCLUDE_DIRECTORIES <dirs>]
#                           [LIBRARIES <libraries>])
#
# makes the target <name> and sets <name>_COMMAND (the program to run in a custom
# command) and <name>_DEPENDS (what such a command depends on) in the caller's scope. A
# native build makes the program like any other; a cross build (the mingw builds) makes
# it with the build machine's own compiler in a sub-build, so it can run there.

set(TARSYN7_NATIVE_TOOL_PROJECT ${CMAKE_CURRENT_LIST_DIR}/native)

function(tarsyn7_add_native_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES;INCLUDE_DIRECTORIES;LIBRARIES" ${ARGN})
  if(NOT TOOL_SOURCES)
    message(FATAL_ERROR "tarsyn7_add_native_tool(${name}) needs SOURCES")
  endif()
  list(TRANSFORM TOOL_SOURCES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" REGEX "^[^/]")
  list(TRANSFORM TOOL_INCLUDE_DIRECTORIES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" REGEX "^[^/]")
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} ${TOOL_SOURCES})
    target_include_directories(${name} PRIVATE ${TOOL_INCLUDE_DIRECTORIES})
    target_link_libraries(${name} PRIVATE ${TOOL_LIBRARIES})
    tarsyn7_set_warnings(${name})
    set(${name}_COMMAND $<TARGET_FILE:${name}> PARENT_SCOPE)
    set(${name}_DEPENDS ${name} PARENT_SCOPE)
    return()
  endif()
  include(ExternalProject)
  set(folder ${CMAKE_BINARY_DIR}/native/${name})
  set(launchers)
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(launchers -DCMAKE_CXX_COMPILER_LAUNCHER:STRING=${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
  ExternalProject_Add(${name}
    SOURCE_DIR ${TARSYN7_NATIVE_TOOL_PROJECT}
    BINARY_DIR ${folder}
    CMAKE_CACHE_ARGS
      -DCMAKE_BUILD_TYPE:STRING=Release
      -DTARSYN7_WERROR:BOOL=${TARSYN7_WERROR}
      -DTOOL_NAME:STRING=${name}
      -DTOOL_SOURCES:STRING=${TOOL_SOURCES}
      -DTOOL_INCLUDE_DIRECTORIES:STRING=${TOOL_INCLUDE_DIRECTORIES}
      -DTOOL_LIBRARIES:STRING=${TOOL_LIBRARIES}
      ${launchers}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${folder}/${name}
    USES_TERMINAL_BUILD OFF)
  set(${name}_COMMAND ${folder}/${name} PARENT_SCOPE)
  set(${name}_DEPENDS ${name} ${folder}/${name} PARENT_SCOPE)
endfunction()
