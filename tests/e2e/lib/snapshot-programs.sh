# Shared by the horavel-snapshot tests: both builds' programs, Wine's wrapper
# for the Windows one, reporting, and a temporary folder ($work) that goes when
# the test ends. The sourcing script sets e2e_name first.
linux_build=${HORAVEL_LINUX_BUILD:-build/linux}
windows_build=${HORAVEL_WINDOWS_BUILD:-build/windows}
linux_program="$(realpath -m "$linux_build/tools/snapshot/horavel-snapshot")"
windows_program="$(realpath -m "$windows_build/tools/snapshot/horavel-snapshot.exe")"
wine_run="$(realpath -m "$windows_build/wine-run")"
source "$(dirname "${BASH_SOURCE[0]}")/report.sh"

for needed in "$linux_program" "$windows_program" "$wine_run"; do
  if [ ! -x "$needed" ]; then
    echo "FAIL $e2e_name: $needed has not been built"
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
