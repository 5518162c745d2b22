#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and
# benchmark, when it is missing. Safe to run again. Made for Debian 12
# (bookworm), the release the README names: the package names (clang 14's
# runtime, libplist-dev's libplist-2.0) are that release's.
set -euo pipefail

if ! grep -qs '^VERSION_CODENAME=bookworm$' /etc/os-release; then
  echo "setup: made for Debian 12 (bookworm); trying its packages on $(. /etc/os-release 2>/dev/null; echo "${PRETTY_NAME:-this system}")" >&2
fi

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev nlohmann-json3-dev libspdlog-dev libfmt-dev libsodium-dev
  libcurl4-openssl-dev libcpp-httplib-dev libcli11-dev
  libpng-dev libjpeg-dev libzxing-dev libqrencode-dev
  libplist-dev uuid-dev libxml2-dev
  libcairo2-dev fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# Node.js and npm run the peer authorization server of the sign-in tests
# (tests/peer/); any that are on the PATH will do.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then missing+=(nodejs npm); fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
