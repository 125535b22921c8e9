# What `cmake --install` puts on a player's system (the prefixes of
# GNUInstallDirs), and the Debian package CPack makes of it (`make package`).
#
#   bin/glimmerfall                                 the game
#   share/applications/glimmerfall.desktop          its menu entry
#   share/metainfo/org.example.Glimmerfall.metainfo.xml   what software centres show
#   share/icons/hicolor/<N>x<N>/apps/glimmerfall.png      the icon, N = 64, 128, 256
#   share/man/man6/glimmerfall.6.gz                 the manual page
#   share/doc/glimmerfall/copyright                 the licence the game shows first
#   share/glimmerfall/include/                      the plug-in build environment
#
# Everything the game shows is carried inside the executable, so it runs from
# wherever it is installed. The one thing it reads from a folder is the
# plug-in build environment, when the stencil editor builds a plug-in: the
# headers of src/converter/plugin/ and those of src/ they include, installed
# beside it (cmake/InstallPluginHeaders.cmake, cmake/PluginBuild.cmake).

set(desktop_source ${CMAKE_SOURCE_DIR}/resources/desktop)
set(desktop_out ${CMAKE_BINARY_DIR}/desktop)
set(GF_DESKTOP_FILE ${desktop_source}/glimmerfall.desktop)
set(GF_METAINFO_FILE ${desktop_out}/org.example.Glimmerfall.metainfo.xml)
set(GF_MAN_PAGE ${desktop_out}/glimmerfall.6)
set(GF_LICENCE_FILE ${desktop_out}/copyright)

configure_file(${desktop_source}/org.example.Glimmerfall.metainfo.xml.in ${GF_METAINFO_FILE} @ONLY)

# The manual page's synopsis and options are the program's own --help, so the
# two never part.
add_custom_command(OUTPUT ${GF_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:glimmerfall> -DTEMPLATE=${desktop_source}/glimmerfall.6.in
          -DOUT=${GF_MAN_PAGE} -DVERSION=${PROJECT_VERSION} -DDATE=${GF_RELEASE_DATE}
          -DPLUGIN_INCLUDE=${GF_PLUGIN_INCLUDE_DESTINATION} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  DEPENDS glimmerfall ${desktop_source}/glimmerfall.6.in ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Writing the manual page from the program's --help"
  VERBATIM)

# The licence text is the one the licence screen shows.
set(licence_source ${CMAKE_SOURCE_DIR}/src/screens/Eula.cpp)
add_custom_command(OUTPUT ${GF_LICENCE_FILE}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${licence_source} -DOUT=${GF_LICENCE_FILE}
          -P ${CMAKE_SOURCE_DIR}/cmake/LicenceText.cmake
  DEPENDS ${licence_source} ${CMAKE_SOURCE_DIR}/cmake/LicenceText.cmake
  COMMENT "Writing the licence text from the licence screen"
  VERBATIM)
# Installed compressed, as Debian's policy asks (man reads either).
find_program(GF_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${GF_MAN_PAGE}.gz
  COMMAND ${GF_GZIP} -9 -n -k -f ${GF_MAN_PAGE}
  DEPENDS ${GF_MAN_PAGE}
  VERBATIM)
add_custom_target(gf_desktop_files ALL DEPENDS ${GF_MAN_PAGE}.gz ${GF_LICENCE_FILE})

install(TARGETS glimmerfall RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${GF_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GF_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
get_property(icon_dir GLOBAL PROPERTY GF_ICON_DIR)
get_property(icon_sizes GLOBAL PROPERTY GF_ICON_SIZES)
foreach(size IN LISTS icon_sizes)
  install(FILES ${icon_dir}/glimmerfall-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME glimmerfall.png)
endforeach()
install(FILES ${GF_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${GF_LICENCE_FILE} DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(CODE "set(GF_PLUGIN_SOURCE \"${CMAKE_SOURCE_DIR}/src\")
set(GF_PLUGIN_DESTINATION \"${GF_PLUGIN_INCLUDE_DESTINATION}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/InstallPluginHeaders.cmake)

# The Debian package: `make package`, or `cpack -G DEB` in a build tree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerfall)
set(CPACK_PACKAGE_VENDOR "The Glimmerfall Team")
set(CPACK_PACKAGE_CONTACT "The Glimmerfall Team <glimmerfall@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D platform game of moonlit levels, alone or over the local network")
set(CPACK_PACKAGE_DESCRIPTION "Run, jump and wall-jump through 13 built-in levels, break walls, ride
springs and speed boosts, and collect moon shards and fireflies. Up to 16
players play a match over the local network. A level editor draws, saves
and test-plays levels; a stencil editor turns scripts into plug-ins that
change the game's own objects (with a C++ compiler installed).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/glimmerfall/news")
# The libraries the executable links, as the system's packages name them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The stencil editor builds plug-ins with the system's C++ compiler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "g++")
include(CPack)
