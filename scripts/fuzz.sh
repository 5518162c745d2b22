#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) and runs each for a short fixed time,
# starting from its seed folder under fuzz/corpus/ when there is one. Any
# crash, leak or hang fails the script. FUZZ_SECONDS changes the time;
# JOBS limits the parallel build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
seconds=${FUZZ_SECONDS:-20}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-$(nproc)}"
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  work=$(mktemp -d)
  seeds=()
  if [ -d "fuzz/corpus/$name" ]; then seeds=("fuzz/corpus/$name"); fi
  echo "== $name for ${seconds}s"
  "build/fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$work" "${seeds[@]}"
  rm -rf "$work"
done
