# Run by CPack on the staged package just before it is packed: Debian keeps the programs of a
# package in section games in /usr/games, where `cmake --install` puts them in bin/.
set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${staged}/bin")
  message(FATAL_ERROR "No programs staged in ${staged}/bin")
endif()
file(MAKE_DIRECTORY "${staged}/games")
foreach(program kestrava kestrava-script)
  file(RENAME "${staged}/bin/${program}" "${staged}/games/${program}")
endforeach()
file(REMOVE_RECURSE "${staged}/bin")   # left empty
# CPack makes the staged /usr itself, under the umask like games/ here: both are rwxr-xr-x in
# the package, as the folders the install makes are (install.cmake).
file(CHMOD "${staged}" "${staged}/games"
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
