#!/usr/bin/env bash
# Installs the peer authorization server's packages, as package-lock.json
# pins them, into DIR (under the build folder; never the source tree). Does
# nothing when DIR already holds that very lock's install.
#
#   install.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
for tool in node npm; do
    command -v "$tool" >/dev/null || { echo "peer: $tool is missing: run scripts/setup.sh" >&2; exit 1; }
done
mkdir -p "$dir"
if cmp -s "$here/package-lock.json" "$dir/package-lock.json" && [ -d "$dir/node_modules/@node-oauth/oauth2-server" ]; then
    exit 0
fi
cp "$here/package.json" "$here/package-lock.json" "$dir/"
cd "$dir"
npm ci --no-audit --no-fund --ignore-scripts --loglevel=error
