# Reporting for the end-to-end checks: one PASS or FAIL line per check, and a
# closing line. The sourcing script sets e2e_name first.
failures=0

pass() { echo "PASS $e2e_name: $1"; }
fail() { echo "FAIL $e2e_name: $1"; failures=$((failures + 1)); }
# Runs the shell code in $2 and reports it under the name $1.
check() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$e2e_name: $failures check(s) failed"
    exit 1
  fi
  echo "$e2e_name: all checks passed"
}
