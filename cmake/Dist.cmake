# `dist`: the plug-in binary with a short install text, packed into one archive per
# platform under dist/.
if(WIN32)
  set(dist_platform windows-${CMAKE_SYSTEM_PROCESSOR})
  set(dist_install_text ${CMAKE_CURRENT_LIST_DIR}/dist/INSTALL-windows.txt)
  set(dist_extension zip)
  set(dist_tar_flags cf)
  set(dist_tar_format --format=zip)
else()
  set(dist_platform linux-${CMAKE_SYSTEM_PROCESSOR})
  set(dist_install_text ${CMAKE_CURRENT_LIST_DIR}/dist/INSTALL-linux.txt)
  set(dist_extension tar.gz)
  set(dist_tar_flags czf)
  set(dist_tar_format)
endif()
set(dist_name Tarsyn7-${PROJECT_VERSION}-${dist_platform})
set(dist_folder ${CMAKE_BINARY_DIR}/dist/${dist_name})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
set(dist_archive_name ${dist_name}.${dist_extension})
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${dist_folder}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_folder}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarsyn7_plugin> ${dist_folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${dist_install_text} ${dist_folder}/INSTALL.txt
  COMMAND ${CMAKE_COMMAND} -E tar ${dist_tar_flags} ${dist_archive_name} ${dist_tar_format} -- ${dist_name}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/dist
  DEPENDS tarsyn7_plugin
  COMMENT "Packing ${dist_name}")
