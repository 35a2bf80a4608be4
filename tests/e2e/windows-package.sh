#!/usr/bin/env bash
# The Windows programs as a user gets them: each exe carries its icon (16 to
# 256 pixels), its version and its manifest (per-monitor-v2 DPI awareness with
# the older settings, Windows 10 and 11, the UTF-8 code page); and the ZIP that
# CPack makes of the Windows build holds the two programs, the maps, the licence,
# a README and the build's zone database, and works unpacked anywhere: its
# horavel-snapshot, run from another folder, finds the maps beside itself and
# warns of nothing.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=windows-package
source tests/e2e/lib/report.sh

build=$(realpath -m "${HORAVEL_WINDOWS_BUILD:-build/windows}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

for program in app/horavel.exe tools/snapshot/horavel-snapshot.exe; do
  exe=$build/$program
  name=$(basename "$program")
  if [ ! -f "$exe" ]; then
    fail "$exe has not been built"
    continue
  fi
  wrestool -x --type=group_icon "$exe" >"$work/icon.ico" 2>/dev/null
  sizes=$(icotool -l "$work/icon.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*--bit-depth=32.*/\1/p' | tr '\n' ' ')
  check "$name carries its icon in 32 bits at 16 to 256 pixels ($sizes)" '[ "$sizes" = "16 24 32 48 64 128 256 " ]'
  strings_of_version=$(wrestool -x --raw --type=16 "$exe" 2>/dev/null | strings -el)
  check "$name carries the version $version" \
    'grep -qx "$version" <<<"$strings_of_version" && grep -qx "${name%.exe}" <<<"$strings_of_version"'
  manifest=$(wrestool -x --raw --type=24 --name=1 "$exe" 2>/dev/null)
  check "$name's manifest asks for per-monitor-v2 DPI awareness with the older settings" \
    'grep -q "<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>" <<<"$manifest" && grep -q "<dpiAware[^>]*>true/pm</dpiAware>" <<<"$manifest"'
  check "$name's manifest names Windows 10 and 11 and the UTF-8 code page" \
    'grep -q "supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"" <<<"$manifest" && grep -q ">UTF-8</activeCodePage>" <<<"$manifest"'
  check "$name's manifest is well-formed XML" 'python3 -c "import sys, xml.dom.minidom; xml.dom.minidom.parseString(sys.stdin.read())" <<<"$manifest"'
done

# The ZIP.
rm -f "$build"/horavel-*-windows-x64.zip
if (cd "$build" && cpack -G ZIP >"$work/cpack.log" 2>&1); then
  pass "cpack -G ZIP makes the Windows package"
else
  fail "cpack -G ZIP: $(tail -3 "$work/cpack.log")"
  finish
fi
zip=$build/horavel-$version-windows-x64.zip
folder=horavel-$version-windows-x64
listed=$(unzip -Z1 "$zip" 2>/dev/null | grep -v "^$folder/zoneinfo/" | sort | tr '\n' ' ')
expected="$folder/Earth.png $folder/LICENSE $folder/Moon.png $folder/README.txt $folder/horavel-snapshot.exe $folder/horavel.exe "
check "the ZIP holds the programs, the maps, LICENSE and README.txt in one folder" '[ "$listed" = "$expected" ]'
unzip -q "$zip" -d "$work/unpacked"
check "the ZIP's zoneinfo folder is the build's zone database, every zone a plain file" \
  'diff -r "$build/zoneinfo" "$work/unpacked/$folder/zoneinfo" >/dev/null && [ -f "$work/unpacked/$folder/zoneinfo/Asia/Kathmandu" ] && [ -z "$(find "$work/unpacked/$folder/zoneinfo" ! -type f ! -type d)" ]'
check "the ZIP's maps and licence are the project's" \
  'cmp -s "$work/unpacked/$folder/Earth.png" assets/Earth.png && cmp -s "$work/unpacked/$folder/Moon.png" assets/Moon.png && cmp -s "$work/unpacked/$folder/LICENSE" LICENSE'
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && "$build/wine-run" "$work/unpacked/$folder/horavel-snapshot.exe" \
   --at 2026-12-09T10:08:30Z --unit 20 --out picture.png >"$work/out" 2>"$work/err")
status=$?
check "the unpacked horavel-snapshot, run from another folder, finds its maps and warns of nothing" \
  '[ $status -eq 0 ] && [ -s "$work/elsewhere/picture.png" ] && [ ! -s "$work/err" ]'

finish
