# What an installation holds. On Linux, after the GNU conventions: the programs
# in bin/, the maps in share/horavel/, the desktop entry, the AppStream
# metainfo, the icons, the manual pages and the package documents, made in
# packaging/ of the build tree. On Windows, one folder: the programs with the
# maps and the zone database (zoneinfo/) beside them, the licence and a short
# README.

# Debian keeps a package's documents under the package's name; GNUInstallDirs
# would take the project's, Horavel. A cross build compiles GoogleTest before
# this point, whose GNUInstallDirs leaves the entry empty: an empty one is set too.
set(CMAKE_INSTALL_DOCDIR share/doc/horavel CACHE PATH "Documents (share/doc/horavel)")
if(NOT CMAKE_INSTALL_DOCDIR)
  set(CMAKE_INSTALL_DOCDIR share/doc/horavel CACHE PATH "Documents (share/doc/horavel)" FORCE)
endif()
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS horavel horavel-snapshot RUNTIME DESTINATION .)
  install(FILES ${HORAVEL_ASSET_DIR}/Earth.png ${HORAVEL_ASSET_DIR}/Moon.png ${CMAKE_SOURCE_DIR}/LICENSE
          DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
  install(DIRECTORY ${HORAVEL_ZONE_DATABASE}/ DESTINATION zoneinfo)
  return()
endif()

install(TARGETS horavel horavel-snapshot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The programs look for the maps in ../share/horavel beside their own folder,
# so the two folders must keep that relation.
file(RELATIVE_PATH mapsFromPrograms ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/horavel)
if(NOT mapsFromPrograms STREQUAL "../share/horavel")
  message(WARNING "The installed programs look for their maps in ../share/horavel, "
                  "but CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR put them in ${mapsFromPrograms}")
endif()
install(FILES ${HORAVEL_ASSET_DIR}/Earth.png ${HORAVEL_ASSET_DIR}/Moon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/horavel)

set(packagingSource ${CMAKE_SOURCE_DIR}/packaging)
set(packagingBuild ${CMAKE_BINARY_DIR}/packaging)
set(madeDocuments)

# The desktop entry and the metainfo, as they are.
install(FILES ${packagingSource}/com.brantolm.Horavel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packagingSource}/com.brantolm.Horavel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icons horavel-icon draws (tools/icon), in the theme's sizes 16 to 512.
install(DIRECTORY ${CMAKE_BINARY_DIR}/share/icons DESTINATION ${CMAKE_INSTALL_DATADIR})

# Manual pages and the changelog, compressed as Debian wants them: the most
# compression, and neither a file name nor a time in the header, so that the
# same sources give the same bytes.
find_program(HORAVEL_GZIP gzip REQUIRED)
function(horavel_compress plain)
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${HORAVEL_GZIP} -9 -n -k -f ${plain}
    DEPENDS ${plain}
    VERBATIM)
  list(APPEND madeDocuments ${plain}.gz)
  set(madeDocuments ${madeDocuments} PARENT_SCOPE)
endfunction()

# The manual pages carry the version.
foreach(page horavel.1 horavel-snapshot.1)
  configure_file(${packagingSource}/${page}.in ${packagingBuild}/${page} @ONLY)
  horavel_compress(${packagingBuild}/${page})
  install(FILES ${packagingBuild}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The copyright file and the changelog, in Debian's formats.
configure_file(${packagingSource}/changelog ${packagingBuild}/changelog COPYONLY)
horavel_compress(${packagingBuild}/changelog)
install(FILES ${packagingSource}/copyright ${packagingBuild}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The metainfo's screenshot, drawn by the build's own horavel-snapshot: this
# file is the one to publish at the address the metainfo gives. Its moment and
# unit are those of the metainfo's caption and size (U = 40: 280 x 640). A cross
# build runs it under its emulator.
add_custom_command(OUTPUT ${packagingBuild}/screenshot.png
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:horavel-snapshot>
          --at 2026-12-09T10:08:30Z --unit 40
          --earth-texture ${HORAVEL_ASSET_DIR}/Earth.png --moon-texture ${HORAVEL_ASSET_DIR}/Moon.png
          --out ${packagingBuild}/screenshot.png
  DEPENDS horavel-snapshot ${HORAVEL_ASSET_DIR}/Earth.png ${HORAVEL_ASSET_DIR}/Moon.png
  VERBATIM)
list(APPEND madeDocuments ${packagingBuild}/screenshot.png)
install(FILES ${packagingBuild}/screenshot.png DESTINATION ${CMAKE_INSTALL_DOCDIR})

add_custom_target(horavel-documents ALL DEPENDS ${madeDocuments})
