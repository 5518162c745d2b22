#!/usr/bin/env bash
# Sets up, checks the formatting of every C++ source (scripts/check-format.sh),
# then builds and runs every test: the default build, the sanitizer build
# (address and undefined behaviour) and the thread-sanitizer build, each with
# its unit tests and every host scenario under tests/scenarios/, then each
# fuzz target for FUZZ_SECONDS (8 unless set). The default build's tests also
# install the library into a temporary prefix and build and run
# examples/host-app against it (tests/package/check-host-app.sh). Warnings
# are errors when CI is set; JOBS limits parallel builds and tests (all
# processors by default).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
jobs=${JOBS:-$(nproc)}
fuzz_seconds=${FUZZ_SECONDS:-8}

# Each stage ends with a line saying how long it took.
stage() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}

stage "format" ./scripts/check-format.sh

for preset in default asan tsan; do
  stage "$preset build" eval 'cmake --preset "$preset" -DTRC_WERROR=$werror >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs"'
  stage "$preset tests" ctest --preset "$preset" -j "$jobs"
done

# The fuzz targets run side by side, as many at once as there are jobs.
stage "fuzz targets" env FUZZ_PARALLEL="${FUZZ_PARALLEL:-$jobs}" ./scripts/fuzz.sh "$fuzz_seconds"
echo "== all stages: $SECONDS s"
