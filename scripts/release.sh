#!/usr/bin/env bash
# Makes a release of Horavel in dist/, the one way to make one:
#   horavel_VERSION_amd64.deb, horavel_VERSION_arm64.deb   the Debian packages
#   horavel-VERSION-windows-x64.zip                        the Windows ZIP
#   horavel-VERSION-windows-x64-setup.exe                  the Windows installer
#   horavel-VERSION.tar.gz                                 the source: the last commit
#   SHA256SUMS                                             the SHA-256 of those five
#   winget/                                                the winget manifest of the installer
# Run it as root (or as a user who may use sudo) in a clean clone: it installs
# what it needs (scripts/setup.sh test), builds the presets package,
# package-arm64 and windows in build/, and checks each package before it lists
# it. Every time in the packages is the last commit's (SOURCE_DATE_EPOCH), so
# the same commit gives the same bytes in any folder; docs/packaging.md says
# how to check a release against its source.
#
# HORAVEL_LINUX_BUILD, HORAVEL_ARM64_BUILD and HORAVEL_WINDOWS_BUILD name build
# trees to make the packages of instead, brought up to date but not configured
# (the test command's own, in tests/e2e/release.sh); HORAVEL_DIST names the
# folder to write instead of dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022

scripts/setup.sh test

version=$(sed -n 's/^project(Horavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
# Strip writes SOURCE_DATE_EPOCH into the Windows programs' headers, CPack
# and the ZIP use it for every file's time; the zone is fixed for the times
# written as local ones.
export SOURCE_DATE_EPOCH TZ=UTC
dist=${HORAVEL_DIST:-dist}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
die() {
  echo "release: $*" >&2
  exit 1
}
step() { echo "== release: $*"; }

# A release is of a commit: its tarball is the commit's, and its packages must
# be built from the same files.
given_trees=${HORAVEL_LINUX_BUILD:-}${HORAVEL_ARM64_BUILD:-}${HORAVEL_WINDOWS_BUILD:-}
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  [ -n "$given_trees" ] ||
    die "the checkout has changes that are not committed; a release is made of a commit, so commit or stash them first"
  echo "release: the checkout has changes that are not committed: the packages are of the build trees given, the tarball of commit $commit"
fi

# The release notes come first: the metainfo's newest release and the
# changelog's first entry are of this version.
notes_versions="$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' packaging/com.brantolm.Horavel.metainfo.xml | head -1) $(dpkg-parsechangelog -l packaging/changelog -S Version)"
[ "$notes_versions" = "$version $version" ] ||
  die "the metainfo's newest release and the changelog's first entry are of $notes_versions, not $version: write what $version brings in both first"

# The build tree of one kind of package, whose folder it prints: the one the
# variable named $1 gives, brought up to date, or else preset $2's own,
# configured and built. The targets follow.
build_tree() {  # VARIABLE PRESET TARGET...
  local given=${!1:-} preset=$2 tree
  shift 2
  tree=${given:-build/$preset}
  step "building $tree" >&2
  if [ -z "$given" ]; then
    nice cmake --preset "$preset" >"$work/$preset.log" 2>&1 || die "cmake --preset $preset: $(tail -5 "$work/$preset.log")"
  fi
  nice cmake --build "$tree" --target "$@" >>"$work/$preset.log" 2>&1 || die "building $tree: $(tail -5 "$work/$preset.log")"
  realpath "$tree"
}
linux_targets=(horavel horavel-snapshot horavel_icons horavel-documents)
amd64_tree=$(build_tree HORAVEL_LINUX_BUILD package "${linux_targets[@]}")
arm64_tree=$(build_tree HORAVEL_ARM64_BUILD package-arm64 "${linux_targets[@]}")
# The installer is made anew, so that its programs are stripped with this
# release's SOURCE_DATE_EPOCH like those of the ZIP.
windows_tree=${HORAVEL_WINDOWS_BUILD:-build/windows}
rm -f "$windows_tree/horavel-$version-windows-x64-setup.exe"
windows_tree=$(build_tree HORAVEL_WINDOWS_BUILD windows horavel horavel-snapshot horavel-installer)

# CPack's package of a build tree, made in a folder of its own in $work.
package() {  # TREE GENERATOR NAME
  mkdir -p "$work/$3"
  cpack --config "$1/CPackConfig.cmake" -G "$2" -B "$work/$3" >"$work/$3.log" 2>&1 ||
    die "cpack -G $2 in $1: $(tail -5 "$work/$3.log")"
}

# A Debian package: named as Debian names it, for its processor, and without
# an error lintian finds; its warnings are shown.
check_deb() {  # DEB ARCHITECTURE
  local deb=$1 fields
  [ -f "$deb" ] || die "no $(basename "$deb")"
  fields="$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version) $(dpkg-deb -f "$deb" Architecture)"
  [ "$fields" = "horavel $version $2" ] || die "$(basename "$deb") is $fields, not horavel $version $2"
  lintian --fail-on error "$deb" >"$work/lintian.txt" 2>/dev/null ||
    die "lintian finds errors in $(basename "$deb"): $(grep -E '^[EW]:' "$work/lintian.txt" | tr '\n' ' ')"
  step "$(basename "$deb"): lintian finds no error, $(grep -c '^W:' "$work/lintian.txt") warnings"
  grep '^W:' "$work/lintian.txt" || true
}

step "making the Debian packages"
package "$amd64_tree" DEB amd64
package "$arm64_tree" DEB arm64
amd64_deb=$work/amd64/horavel_${version}_amd64.deb
arm64_deb=$work/arm64/horavel_${version}_arm64.deb
check_deb "$amd64_deb" amd64
check_deb "$arm64_deb" arm64

# The ZIP: one folder holding the two Windows programs, the maps and the
# licence of the project, the README and the build's zone database, nothing
# else; and its archive reads back whole.
step "making the Windows ZIP"
package "$windows_tree" ZIP zip
folder=horavel-$version-windows-x64
zip=$work/zip/$folder.zip
[ -f "$zip" ] || die "no $(basename "$zip")"
unzip -tq "$zip" >/dev/null || die "$(basename "$zip") does not read back whole"
unzip -q "$zip" -d "$work/zip/unpacked"
unpacked=$work/zip/unpacked/$folder
expected=$( (printf '%s\n' Earth.png LICENSE Moon.png README.txt horavel-snapshot.exe horavel.exe
             cd "$windows_tree" && find zoneinfo -type f) | LC_ALL=C sort)
[ "$(cd "$work/zip/unpacked" && find . -type f | sed "s|^\./$folder/||" | LC_ALL=C sort)" = "$expected" ] ||
  die "$(basename "$zip") does not hold exactly the programs, the maps, LICENSE, README.txt and the zone database in $folder/"
for file in assets/Earth.png assets/Moon.png LICENSE; do
  cmp -s "$file" "$unpacked/$(basename "$file")" || die "$(basename "$zip") holds another $(basename "$file") than the project's"
done
diff -r "$windows_tree/zoneinfo" "$unpacked/zoneinfo" >/dev/null || die "$(basename "$zip")'s zone database is not the build's"
[ "$(file -b "$unpacked/horavel.exe" "$unpacked/horavel-snapshot.exe" | grep -c 'PE32+ executable.*x86-64')" = 2 ] ||
  die "$(basename "$zip")'s programs are not 64-bit Windows programs"
step "$(basename "$zip"): $(unzip -Z1 "$zip" | wc -l) files, as the installation rules give them"

# The installer installs exactly the ZIP's files, byte for byte, beside its
# uninstaller; 7-Zip reads an NSIS installer's files without running it.
step "checking the Windows installer"
installer=$windows_tree/$folder-setup.exe
[ -f "$installer" ] || die "no $(basename "$installer")"
7zz x -o"$work/installer" "$installer" >"$work/7zz.log" 2>&1 || die "7-Zip cannot read $(basename "$installer"): $(tail -3 "$work/7zz.log")"
[ -f "$work/installer/uninstall.exe" ] || die "$(basename "$installer") installs no uninstaller"
diff -r -x '$PLUGINSDIR' -x uninstall.exe "$unpacked" "$work/installer" >"$work/installer.diff" ||
  die "$(basename "$installer") does not install the ZIP's files: $(head -5 "$work/installer.diff" | tr '\n' ' ')"
step "$(basename "$installer"): the ZIP's files and an uninstaller"

# The source: every file of the commit under horavel-VERSION/, with the
# commit's id in the archive.
step "making the source tarball"
tarball=$work/horavel-$version.tar.gz
git archive --format=tar.gz --prefix="horavel-$version/" -o "$tarball" "$commit"
[ "$(tar -tzf "$tarball" | grep -v '/$' | sed "s|^horavel-$version/||" | LC_ALL=C sort)" = \
  "$(git ls-tree -r --name-only "$commit" | LC_ALL=C sort)" ] || die "$(basename "$tarball") does not hold the files of commit $commit"
[ "$(zcat "$tarball" | git get-tar-commit-id)" = "$commit" ] || die "$(basename "$tarball") does not name commit $commit"
step "$(basename "$tarball"): the $(git ls-tree -r --name-only "$commit" | wc -l) files of commit $commit"

# dist/ anew: the packages, their checksums, and the winget manifest with the
# version and the installer's SHA-256 filled in.
rm -rf "$dist"
mkdir -p "$dist/winget"
downloads=("$(basename "$amd64_deb")" "$(basename "$arm64_deb")" "$(basename "$zip")" "$(basename "$installer")" "$(basename "$tarball")")
cp "$amd64_deb" "$arm64_deb" "$zip" "$installer" "$tarball" "$dist/"
(cd "$dist" && sha256sum "${downloads[@]}" >SHA256SUMS && sha256sum --quiet -c SHA256SUMS) || die "the checksums do not hold"
installer_sha256=$(sha256sum "$dist/$(basename "$installer")" | cut -d' ' -f1 | tr a-f A-F)
for template in packaging/winget/*.yaml.in; do
  sed -e "s/@VERSION@/$version/g" -e "s/@INSTALLER_SHA256@/$installer_sha256/g" "$template" \
    >"$dist/winget/$(basename "$template" .in)"
done
! grep -l '@[A-Z0-9_]*@' "$dist"/winget/*.yaml || die "a winget manifest keeps a placeholder"

step "Horavel $version, commit $commit, in $dist:"
cat "$dist/SHA256SUMS"
ls "$dist/winget"
