# Copies the zones of a zone database into a folder of their own, as the
# Windows programs carry it beside them:
#   cmake -DSOURCE=<zone database> -DDESTINATION=<folder> -P CopyZoneDatabase.cmake
# Only the zones are taken: the files that begin as zone files do (TZif). Left
# out are posix/ and right/ (the same zones again, and again counting leap
# seconds), localtime (the building machine's own zone), posixrules (a second
# name for New York's rules that names no zone), and the tables and sources.
# A link becomes a copy of the file it leads to, so that the folder needs no
# links where it goes. What the folder held before is removed first.
cmake_minimum_required(VERSION 3.25)

if(NOT IS_DIRECTORY "${SOURCE}" OR NOT DESTINATION)
  message(FATAL_ERROR "Give the zone database as -DSOURCE=<folder> and the copy as -DDESTINATION=<folder>.")
endif()

file(REMOVE_RECURSE "${DESTINATION}")
file(GLOB_RECURSE names LIST_DIRECTORIES false RELATIVE "${SOURCE}" "${SOURCE}/*")
set(copied 0)
foreach(name IN LISTS names)
  set(file "${SOURCE}/${name}")
  if(name MATCHES "^(posix|right)/" OR name STREQUAL "localtime" OR name STREQUAL "posixrules"
     OR IS_DIRECTORY "${file}" OR NOT EXISTS "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "545a6966")
    continue()
  endif()
  get_filename_component(folder "${DESTINATION}/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${file}" "${DESTINATION}/${name}")
  math(EXPR copied "${copied} + 1")
endforeach()

if(copied EQUAL 0)
  message(FATAL_ERROR "${SOURCE} holds no zone files: install the zone database (Debian's tzdata).")
endif()
