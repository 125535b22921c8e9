# Installs the plug-in build environment: the headers of src/converter/plugin/
# and every header of src/ they include, directly or through others, in their
# folders under the destination. Run by `cmake --install` (and CPack) with
#   GF_PLUGIN_SOURCE       the src folder
#   GF_PLUGIN_DESTINATION  the destination, relative to the prefix or absolute
# set before it (cmake/Install.cmake). Taken at install time, so the set
# follows the headers as they are.
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)
set(src "${GF_PLUGIN_SOURCE}")
set(destination "${GF_PLUGIN_DESTINATION}")
if(NOT IS_ABSOLUTE "${destination}")
  set(destination "${CMAKE_INSTALL_PREFIX}/${destination}")
endif()

file(GLOB todo RELATIVE "${src}" "${src}/converter/plugin/*.h")
set(done "")
while(todo)
  list(POP_FRONT todo header)
  if(header IN_LIST done)
    continue()
  endif()
  list(APPEND done "${header}")
  get_filename_component(dir "${header}" DIRECTORY)
  file(STRINGS "${src}/${header}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "include[ \t]*([\"<])([^\">]+)[\">]")
      continue()
    endif()
    set(name "${CMAKE_MATCH_2}")
    # Found beside the header (quoted names) or in src/, as the compiler does.
    cmake_path(SET beside NORMALIZE "${dir}/${name}")
    cmake_path(SET below NORMALIZE "${name}")
    if(CMAKE_MATCH_1 STREQUAL "\"" AND EXISTS "${src}/${beside}" AND NOT beside MATCHES "^\\.\\.")
      list(APPEND todo "${beside}")
    elseif(EXISTS "${src}/${below}" AND NOT below MATCHES "^\\.\\.")
      list(APPEND todo "${below}")
    endif()
  endforeach()
endwhile()

list(SORT done)
foreach(header IN LISTS done)
  get_filename_component(dir "${header}" DIRECTORY)
  file(INSTALL DESTINATION "${destination}/${dir}" TYPE FILE FILES "${src}/${header}")
endforeach()
cmake_policy(POP)
