#!/usr/bin/env bash
# Installs what building and running Horavel needs on Debian 12, as root.
#   scripts/setup.sh run    the Linux clock: compiler, libraries (X11 and
#                           Wayland), fonts, the zone database
#   scripts/setup.sh test   also MinGW-w64, Wine, Xvfb, headless sway, weston,
#                           GNOME Shell and KWin and the test tools, and the
#                           arm64 cross compiler, libraries and qemu, and
#                           what scripts/release.sh and its check use
# Packages already installed are left alone, so running it again does nothing.
set -euo pipefail

run_packages=(
  g++ cmake ninja-build pkg-config
  libx11-dev libxext-dev libfreetype-dev libfontconfig-dev libpng-dev libtiff-dev
  libwayland-dev wayland-protocols libxkbcommon-dev libdecor-0-dev libdecor-0-plugin-1-cairo
  fonts-crosextra-caladea tzdata
)
test_packages=(
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine wine64 nsis
  xvfb x11-apps x11-utils xdotool wmctrl imagemagick faketime openbox
  sway grim weston wayland-utils wtype jq
  python3 python3-numpy python3-astropy
  desktop-file-utils appstream lintian dpkg-dev file groff-base man-db icoutils unzip zip 7zip
  python3-jsonschema python3-yaml
  g++-aarch64-linux-gnu qemu-user
)
# The desktops the Wayland checks run under besides sway and weston, headless,
# installed without what they recommend (a whole desktop session's programs),
# and the message bus, its tools and the stand-in logind they run with.
desktop_packages=(
  gnome-shell kwin-wayland dbus-daemon libglib2.0-bin python3-dbus python3-dbusmock
)
# The arm64 build's libraries, beside the machine's own (multiarch).
arm64_packages=(
  libx11-dev:arm64 libxext-dev:arm64 libfreetype-dev:arm64 libfontconfig-dev:arm64
  libpng-dev:arm64 libtiff-dev:arm64
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

packages=("${run_packages[@]}")
without_recommends=()
update_first=0
if [ "${1:-run}" = test ]; then
  without_recommends=("${desktop_packages[@]}")
  packages+=("${test_packages[@]}" "${arm64_packages[@]}")
  if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    echo "setup: adding the arm64 architecture"
    "${sudo_cmd[@]}" dpkg --add-architecture arm64
    update_first=1
  fi
fi

# Whether a package, name or name:architecture, is installed for that
# architecture (the machine's own when none is given) or for all.
native=$(dpkg --print-architecture)
installed() {
  local name=${1%%:*} architecture=$native
  [ "$name" = "$1" ] || architecture=${1#*:}
  dpkg-query -W -f='${Architecture} ${Status}\n' "$name" 2>/dev/null |
    grep -Eq "^($architecture|all) install ok installed\$"
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
missing_alone=()
for package in "${without_recommends[@]}"; do
  installed "$package" || missing_alone+=("$package")
done

if [ "${#missing[@]}" -gt 0 ] || [ "${#missing_alone[@]}" -gt 0 ] || [ $update_first = 1 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ "${#missing_alone[@]}" -gt 0 ]; then
  echo "setup: installing ${missing_alone[*]} without their recommendations"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing_alone[@]}" >/dev/null
fi
