# What is installed beside the two programs (manual pages, the demo menu, the
# Windows menu, the licence and changelog) and the Debian package of it all
# (cd build && cpack).
#
# Provides the cache variables AUTOMENU_MAINTAINER and AUTOMENU_WINDOWS_MENU.

include(GNUInstallDirs)

set(AUTOMENU_MAINTAINER "the automenu authors <automenu@example.org>" CACHE STRING
  "Maintainer field of the Debian package: \"Name <address>\"")
set(AUTOMENU_WINDOWS_MENU "" CACHE FILEPATH
  "A built automenu.exe (build-windows32/automenu.exe) to put beside automenu-tool and install with it")

# Compressed documentation, made at build time: gzip -9n keeps the package
# reproducible.
set(_compressed "")
function(automenu_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${output} -P ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/GzipFile.cmake
    VERBATIM)
  set(_compressed ${_compressed} ${output} PARENT_SCOPE)
endfunction()

file(GLOB _man_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/doc/*.1)
foreach(_page IN LISTS _man_pages)
  get_filename_component(_name ${_page} NAME)
  # The page's header names the version, which --version prints: they must agree.
  file(STRINGS ${_page} _header LIMIT_COUNT 1)
  if(NOT _header MATCHES "\"automenu ${PROJECT_VERSION}\"")
    message(FATAL_ERROR "${_page}: its .TH line must name \"automenu ${PROJECT_VERSION}\", the project's version")
  endif()
  automenu_gzip(${_page} ${PROJECT_BINARY_DIR}/man/${_name}.gz)
  install(FILES ${PROJECT_BINARY_DIR}/man/${_name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The changelog's newest entry is the release: it must name this version.
set(_changelog ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
file(STRINGS ${_changelog} _first LIMIT_COUNT 1)
if(NOT _first MATCHES "^automenu \\(([^)]+)\\)")
  message(FATAL_ERROR "${_changelog}: the first line must read \"automenu (VERSION) ...\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${_changelog} is at version ${CMAKE_MATCH_1}, the project at ${PROJECT_VERSION}: "
                      "add an entry for ${PROJECT_VERSION}")
endif()
automenu_gzip(${_changelog} ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz
              ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# What lintian is told to accept, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME automenu)
add_custom_target(automenu_documentation ALL DEPENDS ${_compressed})

if(EXISTS ${PROJECT_SOURCE_DIR}/examples/demo)
  install(DIRECTORY examples/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/automenu/demo USE_SOURCE_PERMISSIONS)
endif()

include(${PROJECT_SOURCE_DIR}/cmake/Notices.cmake)
install(FILES ${PROJECT_BINARY_DIR}/${AUTOMENU_NOTICES_NAME} DESTINATION ${CMAKE_INSTALL_DATADIR}/automenu)

# The Windows menu: automenu-tool pack looks for it beside itself, then in
# ../share/automenu relative to its own folder. automenu-tool is built in the
# top build folder.
set(_beside_tool ${PROJECT_BINARY_DIR}/automenu.exe)
if(AUTOMENU_WINDOWS_MENU)
  if(NOT EXISTS ${AUTOMENU_WINDOWS_MENU} OR IS_DIRECTORY ${AUTOMENU_WINDOWS_MENU})
    message(FATAL_ERROR "AUTOMENU_WINDOWS_MENU names ${AUTOMENU_WINDOWS_MENU}, which is not a file: "
                        "build the Windows menu first (README, \"The Windows program\") or leave the variable empty")
  endif()
  # A target that copies on every build when the file differs: as a custom
  # command's output, automenu.exe would be taken for the target automenu.
  add_custom_target(automenu_windows_menu ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${AUTOMENU_WINDOWS_MENU} ${_beside_tool}
    VERBATIM)
  # Not a program of this system: a file that pack copies onto a medium.
  install(FILES ${AUTOMENU_WINDOWS_MENU} DESTINATION ${CMAKE_INSTALL_DATADIR}/automenu RENAME automenu.exe)
else()
  # A copy left from an earlier setting would be found by the tool all the same.
  file(REMOVE ${_beside_tool})
endif()

# strip, as an install with stripping runs it, keeps the compilers' notes in
# .comment, which Debian's packages leave out.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(_program automenu automenu-tool)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${_program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME automenu)
set(CPACK_PACKAGE_VENDOR "the automenu authors")
set(CPACK_PACKAGE_CONTACT "${AUTOMENU_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${AUTOMENU_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "start menu for installation discs, USB sticks and folders")
set(CPACK_PACKAGE_DESCRIPTION
"automenu shows the start menu described by the AUTORUN.INF file of an
installation medium: a window with a background picture and entries that
open the medium's programs and documents.
automenu-tool checks such files, draws the menu without a display, and lays
out a disc or stick (and its ISO image) that starts the menu on Windows and
offers it on Linux.")
if(AUTOMENU_WINDOWS_MENU)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "\nThe Windows menu it puts there comes with this package.")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts for captions in any script: DejaVu has Latin, Greek, Cyrillic,
# Arabic and Hebrew; Chinese, Japanese and Korean need a font of their own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core, fonts-noto-cjk")
# automenu-tool pack --iso writes the image with xorriso.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xorriso")
set(CPACK_STRIP_FILES ON)
configure_file(${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake.in
               ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
include(CPack)
