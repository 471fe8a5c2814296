#!/usr/bin/env bash
# Runs Brelox.  With BRELOX_PORTS unset and no serial hardware to test, it
# runs the demo: COM5 and COM7 are virtual loop-back ports on
# pseudo-terminals and COM6 has nothing connected.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build >&2
cmake --preset default >/dev/null
cmake --build --preset default --target brelox brelox-ports >/dev/null
if [ -n "${BRELOX_PORTS:-}" ] || [ "${BRELOX_DEMO:-1}" = 0 ]; then
  exec build/default/brelox "$@"
fi
ports=$(mktemp -d)
build/default/tools/brelox-ports --dir "$ports" 5:loopback 6:open 7:loopback &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$ports"' EXIT
for _ in $(seq 50); do [ -e "$ports/com7" ] && break; sleep 0.1; done
BRELOX_PORTS="$ports" build/default/brelox "$@"
