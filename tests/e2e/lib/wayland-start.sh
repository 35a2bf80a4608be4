# The start the Wayland window checks share, sourced at their top with
# $e2e_name set: the programs checked as built ($build, a full path), a
# temporary folder ($work) that goes at the end with the clock and the
# compositor, and the user who runs them (see wayland-session.sh).
source tests/e2e/lib/built-programs.sh
require_built "${HORAVEL_LINUX_BUILD:-build/linux}" app/horavel tools/snapshot/horavel-snapshot
build=$(realpath -m "${HORAVEL_LINUX_BUILD:-build/linux}")
work=$(mktemp -d)
source tests/e2e/lib/wayland-session.sh
wayland_prepare || { echo "FAIL $e2e_name: no user to run the compositor as"; exit 1; }
source tests/e2e/lib/wayland-clock.sh
trap 'end_clock; stop_compositor; rm -rf "$work"' EXIT
