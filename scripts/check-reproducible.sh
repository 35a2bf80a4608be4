#!/usr/bin/env bash
# Checks that a release comes out the same, byte for byte, from any clean
# clone: clones this repository's last commit twice, into folders of different
# names and depths (the second checked out with another umask), runs
# scripts/release.sh in each, one after the other, and compares their dist/
# folders file by file. For a file that differs it names the files inside
# that differ, or says that only the archive around them does. Ends with 0 when every file is the same. As root, like
# scripts/release.sh; the two releases take a few minutes each.
set -uo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
keep=0
trap '[ $keep = 1 ] || rm -rf "$work"' EXIT
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "check-reproducible: the checkout has changes that are not committed; the clones are of the last commit"

first=$work/one/horavel
second=$work/two/a/longer/path/horavel-clone
git clone -q "$PWD" "$first" || exit 1
(umask 027 && git clone -q "$PWD" "$second") || exit 1
for clone in "$first" "$second"; do
  echo "== check-reproducible: the release in $clone"
  started=$SECONDS
  (cd "$clone" && scripts/release.sh) >"$clone.log" 2>&1
  status=$?
  echo "   status $status after $((SECONDS - started)) s"
  if [ $status -ne 0 ]; then
    tail -20 "$clone.log"
    keep=1
    echo "check-reproducible: the release failed; its log is $clone.log"
    exit 1
  fi
done

# The files inside a package, unpacked into folder $2: a Debian package's
# control and data, a ZIP's or a tarball's files, or those 7-Zip reads from
# the installer.
unpack() {  # FILE FOLDER
  mkdir -p "$2"
  case $1 in
    *.deb) dpkg-deb -R "$1" "$2" ;;
    *.zip) unzip -q "$1" -d "$2" ;;
    *.tar.gz) tar -xzf "$1" -C "$2" ;;
    *.exe) 7zz x -o"$2" "$1" >/dev/null ;;
  esac
}

differing=0
for file in $(cd "$first/dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); do
  if cmp -s "$first/dist/$file" "$second/dist/$file"; then
    echo "same       $file  $(sha256sum "$first/dist/$file" | cut -d' ' -f1)"
    continue
  fi
  differing=$((differing + 1))
  echo "DIFFERENT  $file: $(cmp "$first/dist/$file" "$second/dist/$file" 2>&1 | head -1)"
  case $file in
    *.deb | *.zip | *.tar.gz | *.exe)
      unpack "$first/dist/$file" "$work/unpacked/one/$file"
      unpack "$second/dist/$file" "$work/unpacked/two/$file"
      inside=$(diff -rq "$work/unpacked/one/$file" "$work/unpacked/two/$file" 2>&1)
      if [ -n "$inside" ]; then
        sed 's/^/             /' <<<"$inside"
      else
        echo "             the files inside are the same: their order, times or owners, or the compression, differ"
      fi ;;
    *) diff "$first/dist/$file" "$second/dist/$file" | head -10 | sed 's/^/             /' ;;
  esac
done
missing=$(diff <(cd "$first/dist" && find . -type f | sort) <(cd "$second/dist" && find . -type f | sort) | grep '^[<>]')
if [ -n "$missing" ]; then
  echo "the two dist/ folders hold different files: $missing"
  differing=$((differing + 1))
fi

if [ $differing -ne 0 ]; then
  keep=1
  echo "check-reproducible: $differing file(s) differ; both clones are kept in $work"
  exit 1
fi
echo "check-reproducible: the two clones' releases are the same, byte for byte"
