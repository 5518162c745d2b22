#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang) and runs each for a fixed
# time, starting from its seed folder under fuzz/corpus/ when there is one.
# Any crash, leak, hang or broken invariant fails the script; the input that
# found it is kept in build/fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (else FUZZ_SECONDS, else 20): the test command passes
# its own (scripts/test.sh), a deeper run 600. TARGETs by name (json_value_fuzz or
# json_value), all when none. FUZZ_PARALLEL=N runs N targets at once (1).
# Each target ends with a line "== NAME: R runs, cov C, ft F".
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
seconds=${1:-${FUZZ_SECONDS:-20}}
shift $(( $# > 0 ? 1 : 0 ))
parallel=${FUZZ_PARALLEL:-1}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-$(nproc)}"

targets=()
if [ $# -gt 0 ]; then
  for t in "$@"; do targets+=("${t%_fuzz}_fuzz"); done
else
  for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
findings=build/fuzz/findings
logs=build/fuzz/logs
mkdir -p "$findings" "$logs"

run() {
  local name=$1 work seeds=()
  work=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then seeds=("fuzz/corpus/$name"); fi
  local status=0
  "build/fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" "$work" "${seeds[@]}" >"$logs/$name.log" 2>&1 || status=$?
  rm -rf "$work"
  local runs cov ft
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$name.log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$logs/$name.log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$logs/$name.log" | tail -1 | cut -d' ' -f2)
  if [ "$status" -ne 0 ]; then
    tail -40 "$logs/$name.log"
    echo "== $name: FAILED (exit $status) after ${runs:-?} runs; see $logs/$name.log and $findings/"
    return 1
  fi
  echo "== $name: ${runs:-?} runs, cov ${cov:-?}, ft ${ft:-?}"
}

echo "== ${#targets[@]} targets, ${seconds}s each, $parallel at once"
failed=0
pids=()
for name in "${targets[@]}"; do
  if [ ! -x "build/fuzz/fuzz/$name" ]; then echo "== $name: no such target"; failed=1; continue; fi
  run "$name" &
  pids+=($!)
  if [ "${#pids[@]}" -ge "$parallel" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
