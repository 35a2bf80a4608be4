#!/usr/bin/env bash
# Replays every kept crash input and then fuzzes each target for a bounded time.
#   fuzz/run-bounded.sh BUILD_DIR [SECONDS_PER_TARGET]
# BUILD_DIR holds fuzz/fuzz_<name> (a clang build configured with -DHORAVEL_FUZZ=ON).
# New inputs go to a scratch corpus, so the seeds in fuzz/corpus stay as they are;
# a crash input is copied to fuzz/regressions/<name>/ and the run fails.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz/run-bounded.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-20}
targets=(pds_img_label fits_header raster_pixels tzif)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0

for name in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$name"
  if [ ! -x "$binary" ]; then
    echo "FAIL fuzz $name: $binary is missing"
    status=1
    continue
  fi
  mapfile -t kept < <(find "fuzz/regressions/$name" -type f ! -name README.md 2>/dev/null | sort)
  if [ "${#kept[@]}" -gt 0 ]; then
    if "$binary" "${kept[@]}" >"$scratch/$name-replay.log" 2>&1; then
      echo "PASS fuzz $name: ${#kept[@]} kept crash inputs replayed"
    else
      echo "FAIL fuzz $name: a kept crash input fails again"
      tail -n 30 "$scratch/$name-replay.log"
      status=1
    fi
  fi

  mkdir -p "$scratch/$name-corpus" "$scratch/$name-artifacts"
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
      -dict="fuzz/$name.dict" -artifact_prefix="$scratch/$name-artifacts/" \
      "$scratch/$name-corpus" "fuzz/corpus/$name" >"$scratch/$name.log" 2>&1; then
    runs=$(grep -Eo '#[0-9]+' "$scratch/$name.log" | tail -1)
    echo "PASS fuzz $name: ${seconds} s, ${runs:-#?} runs, no finding"
  else
    echo "FAIL fuzz $name: finding (kept in fuzz/regressions/$name/)"
    mkdir -p "fuzz/regressions/$name"
    cp "$scratch/$name-artifacts/"* "fuzz/regressions/$name/" 2>/dev/null
    grep -E 'ERROR|SUMMARY|runtime error|#[0-9]+ ' "$scratch/$name.log" | tail -n 20
    status=1
  fi
done
exit $status
