# Passes when lintian finds no error in the Debian package $1 and lists its
# warnings; fails with its findings otherwise. Sourced after report.sh by a
# script with a temporary folder in $work.
check_lintian() {
  local status
  # lintian warns on its own that it runs as root; its findings go to standard output.
  lintian --fail-on error "$1" >"$work/lintian.txt" 2>"$work/lintian.err"
  status=$?
  if [ $status -eq 0 ] && ! grep -q '^E:' "$work/lintian.txt"; then
    pass "lintian reports no error on $(basename "$1") ($(grep -c '^W:' "$work/lintian.txt") warnings)"
  else
    fail "lintian: exit $status: $(grep -E '^[EW]:' "$work/lintian.txt" | tr '\n' ' ') $(cat "$work/lintian.err")"
  fi
  grep '^W:' "$work/lintian.txt"
}
