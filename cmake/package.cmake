# Release packages, made by CPack (the release presets). On Linux: a Debian
# package of everything `cmake --install` puts in place, with the copyright
# file and changelog Debian requires and the manual page compressed. On
# Windows (the mingw build): a zip of venk.exe with README.md and LICENSE, for
# users who want only the tool. The programs in both are stripped.
set(CPACK_PACKAGE_NAME venk)
set(CPACK_PACKAGE_VENDOR "The venk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "venk compresses retro-console tile graphics (headerless files of 32-byte\n"
  "8x8 4bpp tiles) into the VENK dictionary format and expands them back.\n"
  "The package holds the command-line tool, its manual page, the C++20\n"
  "codec library and the image library (indexed PNG to tiles and palette)\n"
  "with their headers, CMake package and pkg-config files.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Everything at the top of the archive's one directory, next to venk.exe.
  install(TARGETS venk_tool RUNTIME DESTINATION . COMPONENT windows_zip EXCLUDE_FROM_ALL)
  install(FILES README.md LICENSE DESTINATION . COMPONENT windows_zip EXCLUDE_FROM_ALL)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};venk;windows_zip;/")
else()
  # Debian's copyright file carries the licence's terms (from LICENSE, after
  # its title and copyright line), each line indented by one space and each
  # empty line written as a full stop.
  file(READ LICENSE license)
  string(FIND "${license}" "Permission is hereby granted" terms_start)
  string(SUBSTRING "${license}" ${terms_start} -1 terms)
  string(STRIP "${terms}" terms)
  string(REPLACE "\n\n" "\n.\n" terms "${terms}")
  string(REPLACE "\n" "\n " VENK_DEBIAN_LICENSE_TEXT " ${terms}")
  configure_file(cmake/debian/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR}
    COMPONENT debian EXCLUDE_FROM_ALL)

  # Debian wants a contact address in the Maintainer field; the project has
  # none to give, so whoever makes a package for others names theirs.
  set(VENK_DEBIAN_MAINTAINER "The venk developers" CACHE STRING
    "The Debian package's maintainer, as \"Name <address>\"")

  # The changelog's entry for this version names the date and what the
  # package holds; a new version needs a new entry.
  file(STRINGS cmake/debian/changelog.in changelog_title LIMIT_COUNT 1)
  if(NOT changelog_title MATCHES "^venk \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "cmake/debian/changelog.in has no entry for version ${PROJECT_VERSION}")
  endif()
  configure_file(cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)

  # The changelog and the manual page go in compressed as Debian wants them,
  # by gzip -9n, which stores no name or time: the package comes out the same
  # from one build to the next. A plain install keeps the manual page as it is.
  foreach(file ${PROJECT_BINARY_DIR}/debian/changelog ${PROJECT_SOURCE_DIR}/man/venk.1)
    get_filename_component(name ${file} NAME)
    install(CODE "execute_process(COMMAND gzip -9nc [[${file}]]
                    OUTPUT_FILE [[${PROJECT_BINARY_DIR}/debian/${name}.gz]] COMMAND_ERROR_IS_FATAL ANY)"
      COMPONENT debian EXCLUDE_FROM_ALL)
  endforeach()
  install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
    COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_BINARY_DIR}/debian/venk.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    COMPONENT debian EXCLUDE_FROM_ALL)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VENK_DEBIAN_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The package's dependencies are those of its programs, found by
  # dpkg-shlibdeps (from dpkg-dev).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The image library links the system's LodePNG: its runtime for every
  # program built with it (dpkg-shlibdeps finds it too in a program of the
  # package that links it), its development files for linking the static
  # library.
  if(TARGET venk_image AND NOT VENK_LODEPNG_SOURCE_DIR)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "liblodepng0")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "liblodepng-dev")
  endif()
  # The release preset builds the library shared, in the system's library
  # directory, where the loader finds it once its cache knows it: the
  # package names the library it provides (shlibs) and has dpkg refresh the
  # cache when it is installed or removed (the ldconfig trigger). A program
  # built against this version runs with any later one of the same major
  # version, as docs/library.md promises.
  if(BUILD_SHARED_LIBS)
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
  endif()
  # Everything a plain install puts in place but the manual page, and the
  # Debian files with the compressed page.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};venk;Unspecified;/;${PROJECT_BINARY_DIR};venk;debian;/")
  # Installed with the prefix the build was configured with, so that venk.pc
  # and the library's paths name it rather than CPack's staging directory.
  set(CPACK_SET_DESTDIR ON)
endif()

include(CPack)
