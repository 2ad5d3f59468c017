# Programs that run on the build machine during the build (generators of resources).
#
#   tarsyn7_add_native_tool(<name> SOURCES <files> [INCLUDE_DIRECTORIES <dirs>]
#                           [LIBRARIES <libraries or project targets such as tarsyn7_core>])
#
# makes the target <name> and sets <name>_COMMAND (the program to run in a custom
# command) and <name>_DEPENDS (what such a command depends on) in the caller's scope. A
# native build makes the program like any other. A cross build (the mingw builds)
# configures this whole project once more for the build machine, in a sub-build with the
# machine's own compiler, and makes only the program there, so it can run during the
# build and use the project's own code.

function(tarsyn7_add_native_tool name)
  cmake_parse_arguments(TOOL "" "" "SOURCES;INCLUDE_DIRECTORIES;LIBRARIES" ${ARGN})
  if(NOT TOOL_SOURCES)
    message(FATAL_ERROR "tarsyn7_add_native_tool(${name}) needs SOURCES")
  endif()
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} ${TOOL_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${TOOL_INCLUDE_DIRECTORIES})
    target_link_libraries(${name} PRIVATE ${TOOL_LIBRARIES})
    tarsyn7_set_warnings(${name})
    set(${name}_COMMAND $<TARGET_FILE:${name}> PARENT_SCOPE)
    set(${name}_DEPENDS ${name} PARENT_SCOPE)
    return()
  endif()
  tarsyn7_native_build()
  set(folder ${CMAKE_BINARY_DIR}/native)
  file(RELATIVE_PATH from_top ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(program ${folder}/${from_top}/${name})
  add_custom_target(${name}
    COMMAND ${CMAKE_COMMAND} --build ${folder} --target ${name}
    BYPRODUCTS ${program}
    COMMENT "Building ${name} for the build machine")
  # The tools share the native build folder, so they are built one after the other.
  get_property(previous GLOBAL PROPERTY TARSYN7_LAST_NATIVE_TOOL)
  add_dependencies(${name} ${previous})
  set_property(GLOBAL PROPERTY TARSYN7_LAST_NATIVE_TOOL ${name})
  set(${name}_COMMAND ${program} PARENT_SCOPE)
  set(${name}_DEPENDS ${name} ${program} PARENT_SCOPE)
endfunction()

# The native configuration of the whole project, in <build>/native. It is brought up to
# date on every build, so a tool added or changed since is known to it.
function(tarsyn7_native_build)
  if(TARGET tarsyn7_native_build)
    return()
  endif()
  set(options -DCMAKE_BUILD_TYPE=Release -DTARSYN7_WERROR=${TARSYN7_WERROR}
              -DTARSYN7_TESTS=OFF -DTARSYN7_BENCH=OFF)
  foreach(language C CXX)
    if(CMAKE_${language}_COMPILER_LAUNCHER)
      list(APPEND options -DCMAKE_${language}_COMPILER_LAUNCHER=${CMAKE_${language}_COMPILER_LAUNCHER})
    endif()
  endforeach()
  add_custom_target(tarsyn7_native_build
    COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX
            ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${CMAKE_BINARY_DIR}/native
            -G ${CMAKE_GENERATOR} ${options}
    COMMENT "Configuring the project for the build machine"
    VERBATIM)
  set_property(GLOBAL PROPERTY TARSYN7_LAST_NATIVE_TOOL tarsyn7_native_build)
endfunction()
