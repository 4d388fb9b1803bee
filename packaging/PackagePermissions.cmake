# Run by CPack on the staged files before it packs them: every folder becomes 0755, whatever the
# umask of whoever builds the package (file(INSTALL) makes the folders it needs under the umask;
# the files themselves are installed 0644 and 0755 by their install rules).
file(GLOB_RECURSE _folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(_path "${CPACK_TEMPORARY_DIRECTORY}" ${_folders})
  if(IS_DIRECTORY "${_path}" AND NOT IS_SYMLINK "${_path}")
    file(CHMOD "${_path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                      GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
