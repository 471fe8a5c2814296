#!/usr/bin/env bash
# Builds Brelox with the sanitizers and runs every test (unit, application,
# integration on pseudo-terminals, end-to-end in tmux and Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test windows
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset test -j"$(nproc)"
