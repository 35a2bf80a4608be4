# Writes CPack's ZIP archives again so that the same files give the same bytes
# on any machine and for any user. CPack runs it once the archive is made
# (CPACK_POST_BUILD_SCRIPTS, cmake/Packaging.cmake), with the folder it was made
# of still in place.
#
# CPack adds the files in the order the file system lists them, and records
# the builder's user and group and each file's access and change times. Here
# Info-ZIP's zip takes the files by name in byte order, with their permissions
# and their DOS time in UTC alone (-X), and no entries for folders, which
# unpacking makes (-D). With SOURCE_DATE_EPOCH set, every file's time is that
# moment, as in the Debian packages.
find_program(HORAVEL_ZIP zip)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.zip$")
    continue()
  endif()
  if(NOT HORAVEL_ZIP)
    message(FATAL_ERROR "No zip program to write ${package} with: install zip (scripts/setup.sh test).")
  endif()
  # The archive holds the folder CPACK_TEMPORARY_DIRECTORY under its own name.
  get_filename_component(top "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${top}" "${CPACK_TEMPORARY_DIRECTORY}/*")
  list(SORT files)
  list(JOIN files "\n" listing)
  file(WRITE "${top}/zip-files.txt" "${listing}\n")

  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND touch -d "@$ENV{SOURCE_DATE_EPOCH}" ${files}
      WORKING_DIRECTORY "${top}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE "${package}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${HORAVEL_ZIP} -q -X -D -9 "${package}" -@
    INPUT_FILE "${top}/zip-files.txt"
    WORKING_DIRECTORY "${top}"
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
