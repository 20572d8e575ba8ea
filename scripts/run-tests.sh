#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: unit tests
# and end-to-end tests that drive the real editor on its own Xvfb server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh" test

echo "== Build (build/)"
cmake -S "$root" -B "$root/build" -DPOINT_EDITOR_WERROR=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$root/build" -j "$jobs"

echo "== Tests"
cd "$root/build"
ctest --output-on-failure -j "$jobs"
