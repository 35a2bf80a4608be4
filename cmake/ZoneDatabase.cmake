# The zone database the Windows programs carry beside them (docs/zones.md): the
# zones of the building machine's database, copied once into zoneinfo/ of the
# build folder (cmake/CopyZoneDatabase.cmake), from there beside each program
# of the build tree that reads it, and installed beside the programs.

set(HORAVEL_ZONE_DATABASE_SOURCE /usr/share/zoneinfo CACHE PATH
  "The zone database the Windows programs carry (Debian's tzdata)")
if(NOT EXISTS ${HORAVEL_ZONE_DATABASE_SOURCE}/Etc/UTC)
  message(FATAL_ERROR "No zone database in ${HORAVEL_ZONE_DATABASE_SOURCE}: install tzdata "
                      "(scripts/setup.sh) or set HORAVEL_ZONE_DATABASE_SOURCE")
endif()
set(HORAVEL_ZONE_DATABASE ${CMAKE_BINARY_DIR}/zoneinfo)
set(HORAVEL_ZONE_DATABASE_STAMP ${CMAKE_BINARY_DIR}/zoneinfo.stamp)

# The database's source, tzdata.zi, changes with every release of it, so that
# an upgraded database is copied again.
set(zoneDatabaseInputs ${CMAKE_SOURCE_DIR}/cmake/CopyZoneDatabase.cmake)
if(EXISTS ${HORAVEL_ZONE_DATABASE_SOURCE}/tzdata.zi)
  list(APPEND zoneDatabaseInputs ${HORAVEL_ZONE_DATABASE_SOURCE}/tzdata.zi)
endif()
add_custom_command(OUTPUT ${HORAVEL_ZONE_DATABASE_STAMP}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${HORAVEL_ZONE_DATABASE_SOURCE} -DDESTINATION=${HORAVEL_ZONE_DATABASE}
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyZoneDatabase.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${HORAVEL_ZONE_DATABASE_STAMP}
  DEPENDS ${zoneDatabaseInputs}
  COMMENT "Copying the zone database from ${HORAVEL_ZONE_DATABASE_SOURCE}"
  VERBATIM)
add_custom_target(horavel-zone-database DEPENDS ${HORAVEL_ZONE_DATABASE_STAMP})

# Puts the copy in the folder a program of the build tree is written to, as
# zoneinfo beside it, whenever the copy is made anew.
function(horavel_zone_database_beside target)
  get_target_property(folder ${target} BINARY_DIR)
  add_custom_command(OUTPUT ${folder}/zoneinfo.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}/zoneinfo
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${HORAVEL_ZONE_DATABASE} ${folder}/zoneinfo
    COMMAND ${CMAKE_COMMAND} -E touch ${folder}/zoneinfo.stamp
    DEPENDS ${HORAVEL_ZONE_DATABASE_STAMP}
    VERBATIM)
  add_custom_target(${target}-zoneinfo DEPENDS ${folder}/zoneinfo.stamp)
  add_dependencies(${target}-zoneinfo horavel-zone-database)
  add_dependencies(${target} ${target}-zoneinfo)
endfunction()
