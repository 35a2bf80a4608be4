# Gives a Windows program its resources: the icon the build draws, the
# application manifest and a version from the project's version.
#   horavel_windows_resources(TARGET PROGRAM_NAME DESCRIPTION)
set(HORAVEL_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
set(HORAVEL_MANIFEST_FILE ${CMAKE_BINARY_DIR}/resources/Horavel.manifest)
configure_file(${CMAKE_SOURCE_DIR}/app/win32/resources/Horavel.manifest ${HORAVEL_MANIFEST_FILE} @ONLY)

function(horavel_windows_resources target program description)
  set(HORAVEL_PROGRAM ${program})
  set(HORAVEL_PROGRAM_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/resources/${program}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/app/win32/resources/Program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${HORAVEL_ICON_FILE};${HORAVEL_MANIFEST_FILE}")
  add_dependencies(${target} horavel_icons)
endfunction()
