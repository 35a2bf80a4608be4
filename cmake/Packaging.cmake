# The packages CPack makes of the installation (cmake/Install.cmake). On Linux,
# a Debian package; made from a Release build of its own (the "package" preset):
#   cmake --preset package && cmake --build --preset package && cpack --preset package
# and for arm64, cross-compiled, the same with the preset package-arm64.
# On Windows, a ZIP file of one folder:
#   cmake --build --preset windows && (cd build/windows && cpack -G ZIP)

set(CPACK_PACKAGE_NAME horavel)
set(CPACK_PACKAGE_VENDOR Brantolm)
set(CPACK_PACKAGE_CONTACT "the Horavel developers <horavel@brantolm.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://brantolm.com/horavel/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock whose dial is the Earth or the Moon as they are now")
set(CPACK_PACKAGE_DESCRIPTION
"Horavel is a clock in one small window. Its dial is a globe traced afresh
every minute for the present moment: the Earth as the Sun sees it, its whole
day side, or the Moon as the Earth sees it, with its real phase, libration and
tilt. The two take turns every 15 seconds under the tick marks, the coloured
numerals and three hands; below them are the local date and time and a
calendar of seven weeks.

The keys S, M and L set the window's size, and dragging its border keeps its
shape; the clock remembers its place and size. horavel-snapshot draws the same
pictures for any moment into PNG files, without a display.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Every folder of the package readable by all and writable by its owner alone,
# whatever the umask of the machine that builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(NOT WIN32)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs link, with the versions their symbols need.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The numerals and the date are set in Cambria, which fontconfig replaces by
  # its metric twin Caladea; without it, another face stands in. On a Wayland
  # compositor that draws no window frames, libdecor draws them with a plugin.
  if(HORAVEL_WAYLAND)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-caladea, libdecor-0-plugin-1-cairo, tzdata")
  else()
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-caladea, tzdata")
  endif()
  # A cross build is packaged for the processor it is built for, not the
  # building machine's (which is what CPack asks dpkg otherwise).
  if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  endif()
endif()

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
  # The archive written again with its files in a fixed order, without the
  # builder's user, and with SOURCE_DATE_EPOCH as every file's time when it is
  # set, so that the same build gives the same bytes anywhere.
  set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ReproducibleZip.cmake)
endif()

include(CPack)
