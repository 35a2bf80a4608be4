#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of its own: /S installs
# the programs and the zone database into %LOCALAPPDATA%\Programs\Horavel with
# a Start-menu shortcut and the Apps & features entry; the installed
# horavel-snapshot draws what the build's draws; an install over a running
# clock closes it, which saves its settings; /S uninstall removes the
# programs, the zone database, the shortcuts, the autostart shortcut, the
# decoded maps and the entry, and keeps the settings file.
set -uo pipefail
cd "$(dirname "$0")/../.."
export FAKETIME_DONT_FAKE_MONOTONIC=1

if [ "${HORAVEL_E2E_INNER:-}" != 1 ]; then
  build=$(realpath -m "${HORAVEL_WINDOWS_BUILD:-build/windows}")
  if ! cmake --build "$build" --target horavel-installer >/tmp/horavel-installer-build.$$ 2>&1; then
    echo "FAIL windows-installer: the installer could not be made: $(tail -3 /tmp/horavel-installer-build.$$)"
    rm -f /tmp/horavel-installer-build.$$
    exit 1
  fi
  rm -f /tmp/horavel-installer-build.$$
  work=$(mktemp -d)
  cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
    rm -rf "$work"
  }
  trap cleanup EXIT
  HORAVEL_E2E_INNER=1 HORAVEL_E2E_WORK="$work" HORAVEL_E2E_BUILD="$build" \
    timeout 400 xvfb-run -a -s '-screen 0 1024x768x24' bash "$0"
  exit $?
fi

e2e_name=windows-installer
source tests/e2e/lib/report.sh
work=$HORAVEL_E2E_WORK
build=$HORAVEL_E2E_BUILD
version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer=$build/horavel-$version-windows-x64-setup.exe
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
wine wineboot --init </dev/null >/dev/null 2>&1
wineserver -w
profile=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
programs=$profile/AppData/Local/Programs/Horavel
menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
# Wine names the Startup folder StartUp.
startup=$(find "$menu" -maxdepth 1 -iname startup | head -1)
startup=${startup:-$menu/StartUp}
settings=$profile/AppData/Roaming/Brantolm/Horavel/Settings.txt
cache=$profile/AppData/Local/Brantolm/Horavel

# The Uninstall entry's values as user.reg holds them once the server has
# written it; nothing when there is no entry.
uninstall_entry() {
  wineserver -w
  awk '/^\[/ { inside = index($0, "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Horavel]") == 1; next }
       inside && /^"/' "$WINEPREFIX/user.reg"
}
installed_files() { (cd "$programs" 2>/dev/null && ls | tr '\n' ' '); }
install_silently() { wine "$installer" /S </dev/null >/dev/null 2>&1; }

check "the installer $(basename "$installer") exists" '[ -f "$installer" ]'
install_silently
status=$?
wineserver -w
check "/S installs and ends with 0" '[ $status -eq 0 ]'
check "the programs, the maps, LICENSE, README.txt, the zone database and the uninstaller are in AppData/Local/Programs/Horavel" \
  '[ "$(installed_files)" = "Earth.png LICENSE Moon.png README.txt horavel-snapshot.exe horavel.exe uninstall.exe zoneinfo " ]'
check "the installed programs and maps are the build's" \
  'cmp -s "$programs/Earth.png" assets/Earth.png && cmp -s "$programs/Moon.png" assets/Moon.png && cmp -s "$programs/LICENSE" LICENSE'
check "the installed zone database is the build's" 'diff -r "$build/zoneinfo" "$programs/zoneinfo" >/dev/null'
check "the Start menu has the Horavel shortcut" '[ -f "$menu/Horavel.lnk" ]'
check "starting at sign-in is not chosen unless asked for" '[ ! -e "$startup/Horavel.lnk" ]'
entry=$(uninstall_entry)
expect_value() { grep -qxF "\"$1\"=$2" <<<"$entry"; }
installed_at='C:\\users\\'$(basename "$profile")'\\AppData\\Local\\Programs\\Horavel'
check "the Uninstall entry names Horavel $version by Brantolm with the clock's icon" \
  'expect_value DisplayName "\"Horavel\"" && expect_value DisplayVersion "\"$version\"" && expect_value Publisher "\"Brantolm\"" && expect_value DisplayIcon "\"$installed_at\\\\horavel.exe,0\""'
check "the Uninstall entry gives the uninstaller, quietly with /S" \
  'expect_value UninstallString "\"\\\"$installed_at\\\\uninstall.exe\\\"\"" && expect_value QuietUninstallString "\"\\\"$installed_at\\\\uninstall.exe\\\" /S\""'
size_kib=$(sed -n 's/^"EstimatedSize"=dword:\([0-9a-f]*\)$/\1/p' <<<"$entry")
# The sum of the files' sizes, as the installer counts them: the zone files
# are small, and the blocks du would count are several times their size.
files_kib=$(find "$programs" -type f -printf '%s\n' | awk '{ bytes += $1 } END { print int(bytes / 1024) }')
check "the Uninstall entry's size is the folder's, in KiB (${size_kib:-none}, files: $files_kib)" \
  '[ -n "$size_kib" ] && [ $((16#$size_kib)) -gt $((files_kib * 9 / 10)) ] && [ $((16#$size_kib)) -lt $((files_kib * 11 / 10)) ]'

# The installed snapshot program, run from another folder, draws what the
# build's draws for the same moment.
mkdir -p "$work/elsewhere"
snapshot() {  # PROGRAM OUT
  (cd "$work/elsewhere" && TZ=UTC wine "$1" --at 2026-12-09T10:08:30Z --unit 20 --out "$2" </dev/null >/dev/null 2>&1)
}
snapshot "$programs/horavel-snapshot.exe" installed.png
snapshot "$build/tools/snapshot/horavel-snapshot.exe" built.png
check "the installed horavel-snapshot draws what the build's draws" \
  '[ -s "$work/elsewhere/installed.png" ] && cmp -s "$work/elsewhere/installed.png" "$work/elsewhere/built.png"'

# An install over a running clock: the clock is closed as by its close button,
# so it saves the unit L chosen just before; its place stays as it was.
mkdir -p "$(dirname "$settings")"
printf '37 53 20\r\n' >"$settings"
(cd "$work/elsewhere" && exec wine "$programs/horavel.exe" </dev/null >/dev/null 2>&1) &
clock=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Horavel$' 2>/dev/null | head -1)
if [ -n "$window" ]; then
  xdotool key --window "$window" l 2>/dev/null
  for _ in $(seq 50); do
    [ "$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: //p')" = 280x640 ] && break
    sleep 0.1
  done
  install_silently
  status=$?
  for _ in $(seq 50); do kill -0 "$clock" 2>/dev/null || break; sleep 0.1; done
  check "an install over a running clock ends with 0 and closes the clock" '[ $status -eq 0 ] && ! kill -0 "$clock" 2>/dev/null'
  check "the closed clock saved its settings: its place and the unit L (40)" \
    '[ "$(tr -d "\r" <"$settings" | cut -d" " -f1-3)" = "37 53 40" ]'
else
  fail "the installed clock opens its window"
fi
kill "$clock" 2>/dev/null
wait "$clock" 2>/dev/null
check "the upgraded installation is complete" \
  '[ "$(installed_files)" = "Earth.png LICENSE Moon.png README.txt horavel-snapshot.exe horavel.exe uninstall.exe zoneinfo " ]'

# The uninstaller, with the autostart shortcut the clock makes and the maps the
# clock decoded present. It copies itself elsewhere and returns at once, so the
# files are waited for.
cp "$menu/Horavel.lnk" "$startup/Horavel.lnk"
saved_before=$(cat "$settings")
check "the clock keeps decoded maps in AppData/Local/Brantolm/Horavel" '[ -d "$cache" ]'
wine "$programs/uninstall.exe" /S </dev/null >/dev/null 2>&1
status=$?
for _ in $(seq 300); do [ -e "$programs" ] || break; sleep 0.1; done
wineserver -w
check "/S uninstall ends with 0 and leaves nothing under Programs/Horavel" '[ $status -eq 0 ] && [ ! -e "$programs" ]'
check "/S uninstall removes the Start-menu and the autostart shortcuts" \
  '[ ! -e "$menu/Horavel.lnk" ] && [ ! -e "$startup/Horavel.lnk" ]'
check "/S uninstall removes the decoded maps" '[ ! -e "$cache" ]'
check "/S uninstall removes the Uninstall entry" '[ -z "$(uninstall_entry)" ]'
check "/S uninstall keeps the settings file as it was" '[ "$(cat "$settings" 2>/dev/null)" = "$saved_before" ]'

finish
