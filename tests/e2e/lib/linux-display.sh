# The start that the Linux window checks share, sourced at their top: the
# first run checks that the programs are built and runs the script again
# inside a virtual X display of its own, with a temporary folder that goes
# when it ends; the second run, inside, gets that folder as $work, the build
# as $build, a home folder of its own as $HOME (with $work/cwd to start
# programs from) and the settings file's path as $settings.
#   e2e_name=NAME; e2e_seconds=LIMIT; source tests/e2e/lib/linux-display.sh
#   (e2e_screen=WIDTHxHEIGHTxDEPTH before it for another screen than 1024x768x24)
#   (the caller's folder is the repository's top)

if [ "${HORAVEL_E2E_INNER:-}" != 1 ]; then
  source tests/e2e/lib/built-programs.sh
  build=${HORAVEL_LINUX_BUILD:-build/linux}
  require_built "$build" app/horavel tools/snapshot/horavel-snapshot
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  HORAVEL_E2E_INNER=1 HORAVEL_E2E_WORK="$work" HORAVEL_E2E_BUILD="$(realpath "$build")" \
    timeout "$e2e_seconds" xvfb-run -a -s "-screen 0 ${e2e_screen:-1024x768x24} -noreset" bash "$0"
  exit $?
fi

work=$HORAVEL_E2E_WORK
build=$HORAVEL_E2E_BUILD
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME" "$work/cwd"
settings="$HOME/.config/Brantolm/Horavel/Settings.txt"
