#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of its own, driven as
# winget drives it by its manifest (packaging/winget): the manifest's silent
# switch installs the programs and the zone database into
# %LOCALAPPDATA%\Programs\Horavel with a Start-menu shortcut and the Apps &
# features entry, for the user alone (HKCU, the manifest's scope) under the key
# the manifest names as ProductCode; the installed horavel-snapshot draws what
# the build's draws; an install over a running clock closes it, which saves its
# settings; the entry's quiet uninstall command removes the programs, the zone
# database, the shortcuts, the autostart shortcut, the decoded maps and the
# entry, and keeps the settings file.
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

# The manifest's silent switch, scope and ProductCode, as winget reads them
# (Debian's Python, with the YAML reader scripts/setup.sh installs).
read -r scope product_code silent_switches < <(/usr/bin/python3 -c '
import sys, yaml
manifest = yaml.safe_load(open(sys.argv[1], encoding="utf-8"))
print(manifest["Scope"], manifest["ProductCode"], manifest["InstallerSwitches"]["Silent"])
' packaging/winget/Brantolm.Horavel.installer.yaml.in)
if [ -z "${silent_switches:-}" ]; then
  fail "packaging/winget/Brantolm.Horavel.installer.yaml.in gives a scope, a ProductCode and a silent switch"
  finish
fi
uninstall_key="Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\"
# The Uninstall entry's values as user.reg holds them once the server has
# written it; nothing when there is no entry.
uninstall_entry() {
  wineserver -w
  key="[$uninstall_key$product_code]" awk '/^\[/ { inside = index($0, ENVIRON["key"]) == 1; next }
       inside && /^"/' "$WINEPREFIX/user.reg"
}
# The names of the Uninstall keys of a hive (user.reg or system.reg) whose
# entry is named Horavel.
horavel_keys() {
  wineserver -w
  key="[$uninstall_key" awk '/^\[/ { name = ""; if (index($0, ENVIRON["key"]) == 1) { name = substr($0, length(ENVIRON["key"]) + 1); sub(/\].*/, "", name) }; next }
       name != "" && $0 == "\"DisplayName\"=\"Horavel\"" { print name }' "$WINEPREFIX/$1"
}
installed_files() { (cd "$programs" 2>/dev/null && ls | tr '\n' ' '); }
# The manifest's switches as they are, one word each.
install_silently() { wine "$installer" $silent_switches </dev/null >/dev/null 2>&1; }

check "the installer $(basename "$installer") exists" '[ -f "$installer" ]'
install_silently
status=$?
wineserver -w
check "the manifest's silent switch ($silent_switches) installs and ends with 0" '[ $status -eq 0 ]'
check "the programs, the maps, LICENSE, README.txt, the zone database and the uninstaller are in AppData/Local/Programs/Horavel" \
  '[ "$(installed_files)" = "Earth.png LICENSE Moon.png README.txt horavel-snapshot.exe horavel.exe uninstall.exe zoneinfo " ]'
check "the installed programs and maps are the build's" \
  'cmp -s "$programs/Earth.png" assets/Earth.png && cmp -s "$programs/Moon.png" assets/Moon.png && cmp -s "$programs/LICENSE" LICENSE'
check "the installed zone database is the build's" 'diff -r "$build/zoneinfo" "$programs/zoneinfo" >/dev/null'
check "the Start menu has the Horavel shortcut" '[ -f "$menu/Horavel.lnk" ]'
check "starting at sign-in is not chosen unless asked for" '[ ! -e "$startup/Horavel.lnk" ]'
check "the installer writes its Apps & features entry for the user alone, under the key the manifest names as ProductCode ($product_code), as its scope ($scope) says" \
  '[ "$scope" = user ] && [ "$(horavel_keys user.reg)" = "$product_code" ] && [ -z "$(horavel_keys system.reg)" ]'
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

# The entry's quiet uninstall command, as winget runs it, with the autostart
# shortcut the clock makes and the maps the clock decoded present. The
# uninstaller copies itself elsewhere and returns at once, so the files are
# waited for.
cp "$menu/Horavel.lnk" "$startup/Horavel.lnk"
saved_before=$(cat "$settings")
check "the clock keeps decoded maps in AppData/Local/Brantolm/Horavel" '[ -d "$cache" ]'
quiet_uninstall=$(uninstall_entry | sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' | sed 's/\\"/"/g; s/\\\\/\\/g')
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet_uninstall")
quoted_uninstaller="\"$uninstaller\""
wine "$uninstaller" ${quiet_uninstall#"$quoted_uninstaller"} </dev/null >/dev/null 2>&1
status=$?
for _ in $(seq 300); do [ -e "$programs" ] || break; sleep 0.1; done
wineserver -w
check "the quiet uninstall command ends with 0 and leaves nothing under Programs/Horavel" '[ $status -eq 0 ] && [ ! -e "$programs" ]'
check "the quiet uninstall removes the Start-menu and the autostart shortcuts" \
  '[ ! -e "$menu/Horavel.lnk" ] && [ ! -e "$startup/Horavel.lnk" ]'
check "the quiet uninstall removes the decoded maps" '[ ! -e "$cache" ]'
check "the quiet uninstall removes the Uninstall entry" '[ -z "$(uninstall_entry)" ]'
check "the quiet uninstall keeps the settings file as it was" '[ "$(cat "$settings" 2>/dev/null)" = "$saved_before" ]'

finish
