# The Windows installer, made by NSIS's makensis from the files CPack's ZIP
# holds (cmake/Install.cmake), stripped likewise:
#   cmake --build --preset windows --target horavel-installer
# gives horavel-VERSION-windows-x64-setup.exe in the build folder.
find_program(HORAVEL_MAKENSIS makensis)
if(NOT HORAVEL_MAKENSIS)
  message(STATUS "makensis not found: no target horavel-installer (scripts/setup.sh test installs nsis)")
  return()
endif()

set(HORAVEL_INSTALLER ${CMAKE_BINARY_DIR}/horavel-${PROJECT_VERSION}-windows-x64-setup.exe)
set(HORAVEL_INSTALLER_FILES ${CMAKE_BINARY_DIR}/installer/files)
set(installerScript ${CMAKE_BINARY_DIR}/installer/Horavel.nsi)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/Horavel.nsi.in ${installerScript} @ONLY)

add_custom_command(OUTPUT ${HORAVEL_INSTALLER}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${HORAVEL_INSTALLER_FILES}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${HORAVEL_INSTALLER_FILES} --strip
  COMMAND ${HORAVEL_MAKENSIS} -V2 ${installerScript}
  DEPENDS horavel horavel-snapshot ${installerScript} ${HORAVEL_ICON_FILE} ${HORAVEL_ZONE_DATABASE_STAMP}
          ${HORAVEL_ASSET_DIR}/Earth.png ${HORAVEL_ASSET_DIR}/Moon.png
          ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
  COMMENT "Making the Windows installer"
  VERBATIM)
add_custom_target(horavel-installer DEPENDS ${HORAVEL_INSTALLER})
