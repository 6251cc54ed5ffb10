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
configure_file(cmake/venk.pc.in ${PROJECT_BINARY_DIR}/venk.pc.template @ONLY)
install(CODE "configure_file([[${PROJECT_BINARY_DIR}/venk.pc.template]] [[${PROJECT_BINARY_DIR}/venk.pc]] @ONLY)")
install(FILES ${PROJECT_BINARY_DIR}/venk.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Its own component, so that the Debian package can hold it compressed instead.
install(FILES man/venk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
