#!/usr/bin/env bash
# The arm64 Debian package. CPack makes it from the tested cross build (the
# "package-arm64" preset makes the one to ship, a Release build of its own,
# from the same rules): it is named for arm64 and says so, its programs are
# arm64 programs, its dependencies are the arm64 libraries they link (found by
# dpkg-shlibdeps), lintian reports no error, and its horavel-snapshot, run under
# qemu from /, finds its maps and draws the reference picture.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=package-arm64
source tests/e2e/lib/report.sh
source tests/e2e/lib/lintian.sh
source tests/e2e/lib/reference-cases.sh

arm64_build=${HORAVEL_ARM64_BUILD:-build/linux-arm64}
if [ ! -x "$arm64_build/tools/snapshot/horavel-snapshot" ]; then
  echo "FAIL $e2e_name: $arm64_build has not been built"
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

if (cd "$arm64_build" && nice cpack -G DEB -B "$work/deb" >"$work/package.log" 2>&1); then
  pass "cpack -G DEB makes the arm64 Debian package"
else
  fail "cpack -G DEB: $(tail -5 "$work/package.log")"
fi
deb=$work/deb/horavel_${version}_arm64.deb
if [ ! -f "$deb" ]; then
  fail "no $(basename "$deb"): $(ls "$work/deb" 2>&1)"
  finish
fi
check "the package is for arm64, version $version" \
  '[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] && [ "$(dpkg-deb -f "$deb" Version)" = "$version" ]'

check_lintian "$deb"

dpkg-deb -x "$deb" "$work/root"
check "both programs are arm64 programs" \
  'file -L "$work/root/usr/bin/horavel" "$work/root/usr/bin/horavel-snapshot" | grep -c "ARM aarch64" | grep -qx 2'
depended=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{ print $1 }' | sort | tr '\n' ' ')
depends_on_all() {
  local library
  for library in "$@"; do
    grep -qw -- "$library" <<<"$depended" || return 1
  done
}
check "it depends on the C and C++ runtimes and the libraries the programs link ($depended)" \
  'depends_on_all libc6 libstdc++6 libpng16-16 libtiff6 libfreetype6 libfontconfig1 libx11-6 libxext6'

# The first reference case's window picture, drawn by the packaged program from /.
read -r moment unit zone <<<"${reference_cases[0]}"
(cd / && TZ=$zone qemu-aarch64 -L /usr/aarch64-linux-gnu "$work/root/usr/bin/horavel-snapshot" \
  --at "$moment" --unit "$unit" --out "$work/w.png" 2>"$work/snapshot.err")
expected=$(grep " $moment $unit $zone w\$" tests/data/reference-pictures/linux.txt | cut -d' ' -f1)
check "the packaged horavel-snapshot, run from /, warns of nothing and draws the reference picture" \
  '[ ! -s "$work/snapshot.err" ] && [ "$(pixel_hash "$work/w.png")" = "$expected" ]'

finish
