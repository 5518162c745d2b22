#!/usr/bin/env bash
# Sets up, builds, and runs the host simulator on an example scenario,
# printing its transcript. Pass another scenario file or folder to run that.
# JOBS limits the parallel build (all processors by default).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "${JOBS:-$(nproc)}" --target hostsim
./build/default/hostsim --transcript "${1:-examples/full-screen-form.json}"
