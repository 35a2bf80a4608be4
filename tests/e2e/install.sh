#!/usr/bin/env bash
# Installing on Linux. `cmake --install` of the Linux build into a temporary
# prefix gives exactly the files of an installation; the installed
# horavel-snapshot, run from /, finds its maps in share/horavel and draws what
# the build's own program draws; the desktop entry, the metainfo and the manual
# pages pass their validators and agree with the programs (window class,
# binaries, screenshot size, options, menu, version); the screenshot is the
# README's picture, and the changelog dates the release as the metainfo does.
# Then the commands of
# docs/packaging.md, run as written in a fresh clone: the Release build of the
# "package" preset installed into /usr/local and removed, its Debian package
# installed with apt, the Windows packages made; the Debian package they made,
# the one to ship, gets no error from lintian, holds the same files, and its
# programs draw the same pictures.
set -uo pipefail
cd "$(dirname "$0")/../.."

e2e_name=install
source tests/e2e/lib/report.sh
source tests/e2e/lib/lintian.sh

linux_build=${HORAVEL_LINUX_BUILD:-build/linux}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source tests/e2e/lib/x11-only.sh
keep_to_x11 "$work/x11-runtime"
prefix=$work/prefix

# What an installation holds, relative to its prefix.
installed_files=(
  bin/horavel
  bin/horavel-snapshot
  share/applications/com.brantolm.Horavel.desktop
  share/doc/horavel/changelog.gz
  share/doc/horavel/copyright
  share/doc/horavel/screenshot.png
  share/horavel/Earth.png
  share/horavel/Moon.png
  share/icons/hicolor/16x16/apps/com.brantolm.Horavel.png
  share/icons/hicolor/22x22/apps/com.brantolm.Horavel.png
  share/icons/hicolor/24x24/apps/com.brantolm.Horavel.png
  share/icons/hicolor/32x32/apps/com.brantolm.Horavel.png
  share/icons/hicolor/48x48/apps/com.brantolm.Horavel.png
  share/icons/hicolor/64x64/apps/com.brantolm.Horavel.png
  share/icons/hicolor/128x128/apps/com.brantolm.Horavel.png
  share/icons/hicolor/256x256/apps/com.brantolm.Horavel.png
  share/icons/hicolor/512x512/apps/com.brantolm.Horavel.png
  share/man/man1/horavel-snapshot.1.gz
  share/man/man1/horavel.1.gz
  share/metainfo/com.brantolm.Horavel.metainfo.xml
)
expected_files=$(printf '%s\n' "${installed_files[@]}" | sort)
desktop_file=$prefix/share/applications/com.brantolm.Horavel.desktop
metainfo_file=$prefix/share/metainfo/com.brantolm.Horavel.metainfo.xml
project_version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# One key of the desktop entry's main group.
desktop_key() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$desktop_file" | head -1; }
# What the metainfo says: id, launchable, binaries, release and its date, screenshot.
metainfo() {
  python3 - "$metainfo_file" "$1" <<'CODE'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
what = sys.argv[2]
if what == "id":
    print(root.findtext("id"))
elif what == "launchable":
    print(root.findtext("launchable[@type='desktop-id']"))
elif what == "binaries":
    print(" ".join(b.text for b in root.findall("provides/binary")))
elif what == "release":
    print(root.find("releases/release").get("version"))
elif what == "release-date":
    print(root.find("releases/release").get("date"))
elif what == "screenshot-size":
    image = root.find("screenshots/screenshot[@type='default']/image[@type='source']")
    print(f"{image.get('width')}x{image.get('height')}")
CODE
}
# A PNG file's size from its header.
png_size() {
  python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", data[16:24]) if data[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$1"
}
# The long options a text names at the start of its lines, sorted.
long_options() { grep -oE '^ +--[a-z-]+' | tr -d ' ' | sort -u | tr '\n' ' '; }

# The pictures of one moment: the window, the Earth and the Moon, named
# $2-window.png and so on in $work, drawn by program $1 from the root folder.
moment=2026-03-20T14:00:07Z
draw_from_root() {
  (cd / && TZ=UTC "$1" --at $moment --unit 20 --out "$work/$2-window.png" \
    --earth-out "$work/$2-earth.png" --moon-out "$work/$2-moon.png")
}
same_pictures() {
  local picture
  for picture in window earth moon; do
    cmp -s "$work/$1-$picture.png" "$work/$2-$picture.png" || return 1
  done
}
# Passes with the sentence $3 when program $1, run from the root folder, says
# nothing on standard error and draws the pictures the build's program drew;
# fails naming it as $2 otherwise.
check_drawn_from_root() {  # PROGRAM NAME SENTENCE
  local status
  draw_from_root "$1" "$2" 2>"$work/$2.err"
  status=$?
  if [ $status -eq 0 ] && [ ! -s "$work/$2.err" ] && same_pictures "$2" build; then
    pass "$3"
  else
    fail "$2 horavel-snapshot from /: exit $status, stderr '$(cat "$work/$2.err")', pictures $(same_pictures "$2" build && echo same || echo different)"
  fi
}

# The Linux build, brought up to date for what it installs.
if [ ! -f "$linux_build/build.ninja" ]; then
  fail "$linux_build is not configured (cmake --preset linux)"
  finish
fi
if ! nice cmake --build "$linux_build" --target horavel horavel-snapshot horavel-documents >"$work/build.log" 2>&1; then
  fail "building $linux_build: $(tail -5 "$work/build.log")"
  finish
fi
# The pictures to compare with: the build's program finds its maps beside itself.
if ! draw_from_root "$(realpath "$linux_build/tools/snapshot/horavel-snapshot")" build 2>"$work/build.err" ||
   [ -s "$work/build.err" ]; then
  fail "the build's horavel-snapshot: $(cat "$work/build.err")"
  finish
fi

# --- The installed tree ---------------------------------------------------
if cmake --install "$linux_build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  pass "cmake --install $linux_build --prefix P"
else
  fail "cmake --install: $(tail -3 "$work/install.log")"
  finish
fi
actual_files=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$actual_files" = "$expected_files" ]; then
  pass "the prefix holds exactly the programs, the maps, the desktop entry, the metainfo, the manual pages and the documents"
else
  fail "installed files differ (< missing, > unexpected): $(diff <(echo "$expected_files") <(echo "$actual_files") | grep '^[<>]' | tr '\n' ' ')"
fi
check "the programs are executable and the maps are the project's" \
  '[ -x "$prefix/bin/horavel" ] && [ -x "$prefix/bin/horavel-snapshot" ] &&
   cmp -s assets/Earth.png "$prefix/share/horavel/Earth.png" && cmp -s assets/Moon.png "$prefix/share/horavel/Moon.png"'

check_drawn_from_root "$prefix/bin/horavel-snapshot" installed \
  "the installed horavel-snapshot, run from /, warns of nothing and draws what the build's program draws"
# The maps above came from share/horavel: without it, the same run warns of both.
mv "$prefix/share/horavel" "$work/maps-away"
(cd / && "$prefix/bin/horavel-snapshot" --at $moment --unit 20 --out "$work/blind.png" 2>"$work/blind.err")
mv "$work/maps-away" "$prefix/share/horavel"
check "without share/horavel the installed program warns that it cannot read either map" \
  '[ "$(grep -c "warning: cannot read the texture" "$work/blind.err")" = 2 ]'

version=$("$prefix/bin/horavel-snapshot" --version | sed -n 's/^horavel-snapshot //p')
changelog_version=$(zcat "$prefix/share/doc/horavel/changelog.gz" | sed -n '1s/^horavel (\([^)]*\)).*/\1/p')
changelog_date=$(date -u -d "$(zcat "$prefix/share/doc/horavel/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -1)" +%F)
page_versions=$(for page in horavel horavel-snapshot; do
  zcat "$prefix/share/man/man1/$page.1.gz" | sed -n '/^\.TH/s/.*"Horavel \([^"]*\)".*/\1/p'; done | sort -u)
if [ "$version" = "$project_version" ] && [ "$(metainfo release)" = "$version" ] &&
   [ "$changelog_version" = "$version" ] && [ "$page_versions" = "$version" ] &&
   [ "$(metainfo release-date)" = "$changelog_date" ]; then
  pass "one version, $version, in the project, --version, the metainfo's newest release, the changelog and the manual pages; the metainfo and the changelog date it $changelog_date"
else
  fail "versions: project $project_version, --version $version, metainfo $(metainfo release) of $(metainfo release-date), changelog $changelog_version of $changelog_date, pages $page_versions"
fi

# --- The desktop entry ------------------------------------------------------
output=$(desktop-file-validate "$desktop_file" 2>&1)
status=$?
[ $status -eq 0 ] && [ -z "$output" ] && pass "desktop-file-validate passes the desktop entry without a remark" ||
  fail "desktop-file-validate: exit $status: $output"
check "the desktop entry starts the installed horavel and names the application's icon" \
  '[ "$(desktop_key Exec)" = horavel ] && [ -x "$prefix/bin/$(desktop_key Exec)" ] &&
   [ "$(desktop_key Icon)" = "$(metainfo id)" ]'

# StartupWMClass against the class of the window the installed clock opens,
# under a display of its own, with a home of its own; SIGTERM then ends it.
mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME= XDG_CACHE_HOME= timeout 60 xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  (cd / && exec "$1") & pid=$!
  window=$(timeout 20 xdotool search --sync --name "^Horavel\$" | head -1)
  [ -n "$window" ] && xprop -id "$window" WM_CLASS
  kill -TERM $pid; wait $pid; echo "status $?"
' _ "$prefix/bin/horavel" >"$work/window.txt" 2>&1
window_class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' "$work/window.txt")
if [ -n "$window_class" ] && [ "$window_class" = "$(desktop_key StartupWMClass)" ]; then
  pass "StartupWMClass is the class of the installed clock's window, $window_class"
else
  fail "StartupWMClass '$(desktop_key StartupWMClass)', the window: $(tr '\n' ' ' <"$work/window.txt")"
fi
check "SIGTERM ends the installed clock with status 0, its settings written to ~/.config/Brantolm/Horavel/Settings.txt" \
  'grep -qx "status 0" "$work/window.txt" && [ -s "$work/home/.config/Brantolm/Horavel/Settings.txt" ]'

# --- The metainfo -----------------------------------------------------------
output=$(appstreamcli validate --strict --no-net "$metainfo_file" 2>&1)
status=$?
[ $status -eq 0 ] && pass "appstreamcli validate --strict --no-net passes the metainfo" ||
  fail "appstreamcli validate --strict --no-net: exit $status: $output"
check "the metainfo launches the installed desktop entry, which is named after its id" \
  '[ "$(metainfo launchable)" = "$(metainfo id).desktop" ] &&
   [ -f "$prefix/share/applications/$(metainfo launchable)" ]'
check "the metainfo provides the installed programs, no more, no fewer" \
  '[ "$(metainfo binaries | tr " " "\n" | sort | tr "\n" " ")" = "$(ls "$prefix/bin" | sort | tr "\n" " ")" ]'
check "the screenshot the build made is the size the metainfo gives ($(metainfo screenshot-size)) and the README's picture, byte for byte" \
  '[ "$(png_size "$prefix/share/doc/horavel/screenshot.png")" = "$(metainfo screenshot-size)" ] &&
   cmp -s "$prefix/share/doc/horavel/screenshot.png" docs/horavel.png'

# --- The manual pages -------------------------------------------------------
for page in horavel horavel-snapshot; do
  file=$prefix/share/man/man1/$page.1.gz
  warnings=$(zcat "$file" | groff -man -ww -z -Tutf8 2>&1)
  status=$?
  name_line=$(MANWIDTH=200 man -l "$file" 2>/dev/null | sed -n '/^NAME/{n;p}' | sed 's/^ *//')
  if [ $status -eq 0 ] && [ -z "$warnings" ] && [ "${name_line%% - *}" = "$page" ]; then
    pass "$page(1) renders without a groff warning and names $page"
  else
    fail "$page(1): groff exit $status, '$warnings', NAME line '$name_line'"
  fi
done
help_options=$("$prefix/bin/horavel-snapshot" --help | long_options)
page_options=$(MANWIDTH=200 man -l "$prefix/share/man/man1/horavel-snapshot.1.gz" 2>/dev/null |
  sed -n '/^OPTIONS/,/^[A-Z]/p' | long_options)
[ -n "$help_options" ] && [ "$help_options" = "$page_options" ] &&
  pass "horavel-snapshot(1) documents exactly the options of --help: $help_options" ||
  fail "options of --help: $help_options; of the manual page: $page_options"
help_options=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/horavel" --help | long_options)
page_options=$(MANWIDTH=200 man -l "$prefix/share/man/man1/horavel.1.gz" 2>/dev/null |
  sed -n '/^OPTIONS/,/^[A-Z]/p' | long_options)
[ -n "$help_options" ] && [ "$help_options" = "$page_options" ] &&
  pass "horavel(1) documents exactly the options of horavel --help: $help_options" ||
  fail "options of horavel --help: $help_options; of the manual page: $page_options"
# The menu's labels as app/Menu.cpp gives them, against the items the page's
# MENU section describes (each the tag of a .TP or .TQ).
menu_labels=$(grep -o 'MenuCommand::[A-Za-z]*, "[^"]\+"' app/Menu.cpp | sed 's/.*, "//; s/"$//' | sort | tr '\n' '|')
page_labels=$(zcat "$prefix/share/man/man1/horavel.1.gz" | sed -n '/^\.SH MENU/,/^\.SH [^M]/p' |
  awk '/^\.T[PQ]$/ { getline; sub(/^\.B /, ""); print }' | sort | tr '\n' '|')
[ -n "$menu_labels" ] && [ "$menu_labels" = "$page_labels" ] &&
  pass "horavel(1) describes each item of the menu, no more: $menu_labels" ||
  fail "the menu's items: $menu_labels; the manual page's: $page_labels"

# --- The commands of docs/packaging.md -------------------------------------
# Every sh block of the page, in its order, runs as written, as root, in a
# fresh clone of the repository's last commit. They see /usr, /etc and /var
# through overlays of a mount namespace of their own, which go when they end:
# the install into /usr/local and apt change nothing of this machine, and what
# they wrote there stays in $work/system for the checks.
clone=$work/clone
git clone -q "$PWD" "$clone"
mkdir -p "$work/blocks"
awk -v folder="$work/blocks" '
  /^```sh$/ { n++; inside = 1; next }
  /^```$/ { inside = 0; next }
  inside { print > (folder "/" n ".sh") }' "$clone/docs/packaging.md"
blocks=$(ls "$work/blocks" | sort -n)
if [ "$(id -u)" -ne 0 ] || [ -z "$blocks" ]; then
  fail "docs/packaging.md's commands need root (running as uid $(id -u)) and sh blocks ($(echo $blocks))"
  finish
fi
# Runs each block in turn until one fails, noting each one's status.
started=$SECONDS
timeout 3600 unshare --mount --propagation private bash -c '
  work=$1
  for folder in usr etc var; do
    mkdir -p "$work/system/$folder" "$work/overlay/$folder"
    mount -t overlay overlay \
      -o "lowerdir=/$folder,upperdir=$work/system/$folder,workdir=$work/overlay/$folder" "/$folder" || exit 1
  done
  cd "$work/clone"
  for block in $(ls "$work/blocks" | sort -n); do
    nice bash -e "$work/blocks/$block" </dev/null >"$work/blocks/${block%.sh}.log" 2>&1
    status=$?
    echo $status >"$work/blocks/${block%.sh}.status"
    # What the block installed, if anything; CPack writes the list over.
    cp build/package/install_manifest.txt "$work/blocks/${block%.sh}.manifest" 2>/dev/null
    [ $status -eq 0 ] || break
  done
  # The Windows block started a Wine server for the clone'"'"'s prefix.
  if [ -d build/windows/wineprefix ]; then
    WINEPREFIX=$PWD/build/windows/wineprefix wineserver -k 2>/dev/null
  fi' _ "$work" >"$work/namespace.log" 2>&1
echo "  the blocks of docs/packaging.md took $((SECONDS - started)) s"
for block in $blocks; do
  name=${block%.sh}
  first=$(grep -v '^#' "$work/blocks/$block" | head -1 | sed 's/ *#.*//')
  if [ "$(cat "$work/blocks/$name.status" 2>/dev/null)" = 0 ]; then
    pass "docs/packaging.md, block $name ($first ...): runs as written in a fresh clone"
  else
    fail "docs/packaging.md, block $name ($first ...): status $(cat "$work/blocks/$name.status" 2>/dev/null || echo "none, not run"): $(tail -5 "$work/blocks/$name.log" 2>/dev/null) $(cat "$work/namespace.log")"
  fi
done
# The files the blocks' comments name, as "# build/...".
named=$(cat "$work/blocks"/*.sh | grep -o '# build/[^ ]*' | sed 's/^# //')
missing=$(for file in $named; do [ -f "$clone/$file" ] || echo "$file"; done)
check "the blocks made every file their comments name: $(echo $named)" '[ -n "$named" ] && [ -z "$missing" ]'

# The block that installs into /usr/local, and the list of what it installed.
into_local=$(grep -l -- '--prefix /usr/local' "$work/blocks"/*.sh | head -1)
manifest=${into_local%.sh}.manifest
check "the install into /usr/local put exactly the files of an installation there" \
  '[ -f "$manifest" ] && [ "$(sed "s|^/usr/local/||" "$manifest" | sort)" = "$expected_files" ]'
# The folders it made stay, and other programs' triggers may write into them.
leftover=$(for file in $expected_files; do [ -e "$work/system/usr/local/$file" ] && echo "$file"; done)
check "removing the files of install_manifest.txt left none of them in /usr/local" \
  '[ -f "$manifest" ] && [ -d "$work/system/usr/local/share/horavel" ] && [ -z "$leftover" ]'
check "apt installed the package, whose horavel --version answers \"horavel $version\"" \
  'grep -A1 -x "Package: horavel" "$work/system/var/lib/dpkg/status" | grep -qx "Status: install ok installed" &&
   [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/system/usr/bin/horavel" --version)" = "horavel $version" ]'

# --- The Debian package -----------------------------------------------------
deb=$clone/build/package/horavel_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  fail "no $(basename "$deb"): $(ls "$clone/build/package" 2>&1 | tr '\n' ' ')"
  finish
fi

check_lintian "$deb"

packaged_files=$(dpkg-deb -c "$deb" | grep -v '^d' | sed 's|.* \./usr/||' | sort)
if [ "$packaged_files" = "$expected_files" ]; then
  pass "dpkg-deb -c lists the files of an installation under /usr"
else
  fail "packaged files differ (< missing, > unexpected): $(diff <(echo "$expected_files") <(echo "$packaged_files") | grep '^[<>]' | tr '\n' ' ')"
fi
# The package names of the Depends field, sorted.
depended=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{ print $1 }' | sort | tr '\n' ' ')
check "the package is version $version and depends on the libraries the programs link (dpkg-shlibdeps)" \
  '[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] &&
   [ "$depended" = "libc6 libdecor-0-0 libfontconfig1 libfreetype6 libgcc-s1 libpng16-16 libstdc++6 libtiff6 libwayland-client0 libwayland-cursor0 libx11-6 libxext6 libxkbcommon0 " ]'

dpkg-deb -x "$deb" "$work/root"
check_drawn_from_root "$work/root/usr/bin/horavel-snapshot" packaged \
  "the packaged horavel-snapshot, run from /, finds its maps and draws the tested build's pictures"

finish
