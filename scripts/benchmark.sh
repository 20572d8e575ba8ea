#!/usr/bin/env bash
# Measures the editor on a private Xvfb against a bare GLUT program that makes
# the same drawing calls (the floor): frames per second of the drawing window
# with 20 points and every layer on, redraws of the idle Controls window, time
# to each window's first frame and peak memory. Several runs of each,
# alternating; prints medians with min and max.
#
#   scripts/benchmark.sh [--runs N] [--seconds S]
#
# Builds a Release build in build-bench/ (BENCH_BUILD_DIR overrides).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}

"$root/scripts/install-deps.sh" test

echo "== Build: $build (Release, with the benchmark)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPOINT_EDITOR_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target point-editor point-editor-floor point-editor-bench

echo "== Benchmark ($(uptime))"
"$build/bench/point-editor-bench" --editor "$build/point-editor" \
  --floor "$build/bench/point-editor-floor" "$@"
echo "== Done ($(uptime))"
