# Installing Kestrava as a desktop program, and its Debian package.
#
#   cmake --install build --prefix ~/.local      (or /usr, /usr/local...)
#   cd build && cpack -G DEB                     (kestrava_VERSION-1_ARCH.deb, installed under /usr,
#                                                 its programs in /usr/games as Debian's games are)
#
# The version is the project version; the desktop entry, the icons and the metainfo all carry
# the reverse-DNS name KESTRAVA_APP_ID (assets/icon/CMakeLists.txt).
include(GNUInstallDirs)

# The day PROJECT_VERSION was released, as the metainfo and the package's changelog write it.
set(KESTRAVA_RELEASE_DATE 2026-12-06)
set(KESTRAVA_RELEASE_DAY "Sun, 06 Dec 2026")
set(dist ${PROJECT_SOURCE_DIR}/dist)
set(distOut ${PROJECT_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${distOut})

# The version and date go into the metainfo, the manual page and the package's changelog.
configure_file(${dist}/${KESTRAVA_APP_ID}.metainfo.xml.in ${distOut}/${KESTRAVA_APP_ID}.metainfo.xml @ONLY)
configure_file(${dist}/kestrava.6.in ${distOut}/kestrava.6 @ONLY)
configure_file(${dist}/changelog.Debian.in ${distOut}/changelog.Debian @ONLY)

# Manual pages and the changelog are installed compressed, without a time stamp in the gzip
# header, so the same sources give the same bytes.
set(compressed)
foreach(page kestrava.6 kestrava-script.6 changelog.Debian)
  if(EXISTS ${dist}/${page})
    set(in ${dist}/${page})
  else()
    set(in ${distOut}/${page})
  endif()
  add_custom_command(OUTPUT ${distOut}/${page}.gz
                     COMMAND gzip -9nc ${in} > ${distOut}/${page}.gz
                     DEPENDS ${in} COMMENT "Compressing ${page}" VERBATIM)
  list(APPEND compressed ${distOut}/${page}.gz)
endforeach()
add_custom_target(kestrava_dist_files ALL DEPENDS ${compressed})

# Every folder made by the install is rwxr-xr-x whatever the umask. CMake makes them with its
# default directory permissions, but masked by the umask: under `umask 077` they came out
# rwx------ and no other user could run the game. So the install first notes which of the
# folders it puts files in (and their parents) are missing, and ends by setting those alone to
# rwxr-xr-x; folders that were there already keep their modes. The files get their modes
# from the install rules, whatever the umask.
set(installDirs ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}/applications ${CMAKE_INSTALL_DATADIR}/metainfo
    ${CMAKE_INSTALL_MANDIR}/man6 ${CMAKE_INSTALL_DATADIR}/doc/kestrava)
foreach(size ${KESTRAVA_ICON_SIZES})
  list(APPEND installDirs ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(CODE "
  set(kestrava_made_dirs)
  foreach(dir ${installDirs})
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}\")
    set(path \"\$ENV{DESTDIR}\${dir}\")
    while(NOT EXISTS \"\${path}\")
      list(APPEND kestrava_made_dirs \"\${path}\")
      cmake_path(GET path PARENT_PATH path)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES kestrava_made_dirs)")

install(TARGETS kestrava kestrava-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${dist}/${KESTRAVA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${distOut}/${KESTRAVA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${KESTRAVA_ICON_SIZES})
  install(FILES ${KESTRAVA_ICON_DIR}/${size}x${size}/apps/${KESTRAVA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${distOut}/kestrava.6.gz ${distOut}/kestrava-script.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist}/copyright ${distOut}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrava)
install(CODE "
  foreach(path IN LISTS kestrava_made_dirs)
    file(CHMOD \"\${path}\" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                         WORLD_READ WORLD_EXECUTE)
  endforeach()")

# Removes what the last `cmake --install` put down, as listed in install_manifest.txt.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake
  COMMENT "Removing the installed files" VERBATIM)

# The Debian package.
set(CPACK_PACKAGE_NAME kestrava)
set(CPACK_PACKAGE_VENDOR "The Kestrava developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kestrava developers <kestrava@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bird gliding game over the sea along a winding sky road")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_games.cmake)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/kestrava/kestrava)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The long description; CPack puts the summary above it and indents it as Debian wants.
# Lines stay under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrava is a small single-player flying game. You are a bird seen from
above, gliding over a sea and an island through a 24-hour day. A blue sky
road winds down the screen: fly over it at the right height to earn points.
Every stretch of it that scrolls away unflown costs life force, and when the
life force runs out the title screen returns. The music is layered from
eight loops chosen by how the bird flies.

It is played with the keyboard or a gamepad, in a window or full screen.
The package also holds kestrava-script, which replays recorded games bit for
bit and takes traces, screenshots and sound of them.")
include(CPack)
