# Ends a check, failing, unless each program is built in the build folder
# given. Sourced with $e2e_name set.
require_built() {  # BUILD PROGRAM...
  local build=$1 needed
  shift
  for needed in "$@"; do
    if [ ! -f "$build/$needed" ]; then
      echo "FAIL $e2e_name: $build/$needed has not been built"
      exit 1
    fi
  done
}
