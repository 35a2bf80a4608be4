#!/usr/bin/env bash
# Installs what building and running Horavel needs on Debian 12, as root.
#   scripts/setup.sh run    the Linux clock: compiler, libraries, fonts
#   scripts/setup.sh test   also MinGW-w64, Wine, Xvfb and the test tools
# Packages already installed are left alone, so running it again does nothing.
set -euo pipefail

run_packages=(
  g++ cmake ninja-build pkg-config
  libx11-dev libxext-dev libfreetype-dev libfontconfig-dev libpng-dev libtiff-dev
  fonts-crosextra-caladea
)
test_packages=(
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine wine64 nsis
  xvfb x11-apps x11-utils xdotool imagemagick faketime openbox
  python3 python3-numpy python3-astropy
  desktop-file-utils appstream lintian dpkg-dev file groff-base man-db icoutils unzip
)

packages=("${run_packages[@]}")
if [ "${1:-run}" = test ]; then
  packages+=("${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
