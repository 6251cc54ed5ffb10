# What `cmake --install` puts in place: the tool, the library and its headers,
# the CMake package for find_package(venk), venk.pc, the manual page and the
# licence.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(venk_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/venk)

# An installed tool finds a shared library through a path relative to itself,
# so the installed tree can be moved.
if(BUILD_SHARED_LIBS AND NOT WIN32)
  file(RELATIVE_PATH lib_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  if(APPLE)
    set_target_properties(venk_tool PROPERTIES INSTALL_RPATH "@loader_path/${lib_from_bin}")
  else()
    set_target_properties(venk_tool PROPERTIES INSTALL_RPATH "$ORIGIN/${lib_from_bin}")
  endif()
endif()

install(TARGETS venk_tool)
install(TARGETS venk EXPORT venkTargets FILE_SET HEADERS)
install(EXPORT venkTargets NAMESPACE venk:: DESTINATION ${venk_package_dir})
# The image part, when built: its own export set, which venkConfig.cmake
# loads as the component `image` (venk::image).
if(TARGET venk_image)
  install(TARGETS venk_image EXPORT venkImageTargets FILE_SET HEADERS)
  install(EXPORT venkImageTargets NAMESPACE venk:: DESTINATION ${venk_package_dir})
endif()

configure_package_config_file(cmake/venkConfig.cmake.in ${PROJECT_BINARY_DIR}/venkConfig.cmake
  INSTALL_DESTINATION ${venk_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/venkConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/venkConfig.cmake ${PROJECT_BINARY_DIR}/venkConfigVersion.cmake
  DESTINATION ${venk_package_dir})

# venk.pc names absolute paths, and `cmake --install --prefix` may choose the
# prefix only at install time. So the file is configured twice: now with
# everything else, and at install time with the prefix actually used.
set(VENK_PC_PREFIX "@CMAKE_INSTALL_PREFIX@")
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(VENK_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(VENK_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
set(VENK_PC_CFLAGS "")
if(BUILD_SHARED_LIBS)
  set(VENK_PC_CFLAGS " -DVENK_SHARED")
endif()
# The C++ runtime that a C program needs with the static library.
list(TRANSFORM venk_cxx_runtime PREPEND " -l" OUTPUT_VARIABLE VENK_PC_RUNTIME)
string(JOIN "" VENK_PC_RUNTIME ${VENK_PC_RUNTIME})
set(pc_files venk)
if(TARGET venk_image)
  # venk-image.pc: the image part, with LodePNG when the static library
  # needs the system's.
  set(VENK_IMAGE_PC_CFLAGS "")
  set(VENK_IMAGE_PC_LIBS "")
  if(BUILD_SHARED_LIBS)
    set(VENK_IMAGE_PC_CFLAGS " -DVENK_IMAGE_SHARED")
  else()
    if(NOT VENK_LODEPNG_SOURCE_DIR)
      set(VENK_IMAGE_PC_LIBS " -llodepng")
    endif()
    string(APPEND VENK_IMAGE_PC_LIBS "${VENK_PC_RUNTIME}")
  endif()
  list(APPEND pc_files venk-image)
endif()
foreach(pc IN LISTS pc_files)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc.template @ONLY)
  install(CODE "configure_file([[${PROJECT_BINARY_DIR}/${pc}.pc.template]] [[${PROJECT_BINARY_DIR}/${pc}.pc]] @ONLY)")
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# Its own component, so that the Debian package can hold it compressed instead.
install(FILES man/venk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
