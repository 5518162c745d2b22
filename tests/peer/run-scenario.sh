#!/usr/bin/env bash
# Runs a peer scenario: starts the peer authorization server (installed in
# PEER_DIR by install.sh) on 127.0.0.1, puts its base URL for @PEER@ into the
# scenario, runs hostsim on it and stops the server again, whatever happens.
#
#   run-scenario.sh HOSTSIM PEER_DIR SCENARIO [--spend-code] [--log-must-show TEXT]
#
# --spend-code: first has another client take a code and exchange it; the
# spent code stands for @SPENT_CODE@. --log-must-show: the library's log
# (errors) must hold TEXT.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
hostsim=$1 peer=$2 scenario=$3
shift 3
spend=false must_show=""
while [ $# -gt 0 ]; do
    case $1 in
        --spend-code) spend=true ;;
        --log-must-show) must_show=$2; shift ;;
        *) echo "peer: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
fail() { echo "peer: $*" >&2; exit 1; }

command -v node >/dev/null || fail "Node.js is missing: run scripts/setup.sh"
[ -d "$peer/node_modules/@node-oauth/oauth2-server" ] || fail "the peer server is not installed in $peer (tests/peer/install.sh)"
export NODE_PATH=$peer/node_modules
client=trc-field redirect=trcfield://oauth2/callback

work=$(mktemp -d)
server=""
cleanup() {
    if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

: >"$work/server.out"; : >"$work/server.err"
node "$here/authorization-server.js" --client-id "$client" --redirect-uri "$redirect" --lifetime 120 \
    >"$work/server.out" 2>"$work/server.err" &
server=$!
port=""
for _ in $(seq 100); do
    port=$(sed -n 's/^{"port":\([0-9]*\)}$/\1/p' "$work/server.out")
    [ -n "$port" ] && break
    kill -0 "$server" 2>/dev/null || fail "the peer server did not start: $(cat "$work/server.err")"
    sleep 0.1
done
[ -n "$port" ] || fail "the peer server did not tell its port within 10 s"
base=http://127.0.0.1:$port

code=""
if $spend; then code=$(node "$here/spend-code.js" "$base" "$client" "$redirect"); fi
sed -e "s|@PEER@|$base|g" -e "s|@SPENT_CODE@|$code|g" "$scenario" >"$work/$(basename "$scenario")"

status=0
TRC_LOG=error "$hostsim" --transcript "$work/$(basename "$scenario")" >"$work/transcript" 2>"$work/log" || status=$?
cat "$work/transcript"
echo "-- the library's log:"; cat "$work/log"
echo "-- the peer server's log:"; cat "$work/server.err"
if [ -n "$must_show" ] && ! grep -qF -- "$must_show" "$work/log"; then
    fail "the library's log does not show $must_show"
fi
exit $status
