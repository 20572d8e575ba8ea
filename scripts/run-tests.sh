#!/usr/bin/env bash
# Builds everything and runs every test, in four stages:
#   build/            g++, warnings as errors: unit tests and end-to-end tests
#                     that drive the real editor on its own Xvfb server; among
#                     the unit tests a compile of every source as macOS sees it,
#                     and a build of the editor against a GLUI installed as a
#                     CMake package (build/glui-package/); the benchmark is
#                     built (not run), so that it cannot break unseen
#   build-libcxx/     clang with libc++ instead of libstdc++, warnings as
#                     errors: the editor and the unit tests (GoogleTest built
#                     from its sources for libc++), run there
#   build-sanitize/   clang with AddressSanitizer and UndefinedBehaviorSanitizer:
#                     the same tests again, plus a bounded run of the point-file fuzzer
#   build-windows/    MinGW-w64 cross-build for Windows (scripts/build-windows.sh):
#                     the unit tests under Wine, then the end-to-end tests of
#                     build/ (label wine) against its point-editor.exe under
#                     Wine, one at a time
# Fails when any test fails; the output ends with the Windows stage's ctest
# summaries and how long that stage took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-60}

"$root/scripts/install-deps.sh" test

echo "== Build: build/ (g++, -Werror, with the benchmark, which is built but not run)"
cmake -S "$root" -B "$root/build" -DPOINT_EDITOR_WERROR=ON -DBUILD_TESTING=ON -DPOINT_EDITOR_BENCH=ON >/dev/null
cmake --build "$root/build" -j "$jobs"

echo "== Build: build-sanitize/ (clang, AddressSanitizer + UndefinedBehaviorSanitizer, fuzzer)"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPOINT_EDITOR_WERROR=ON -DPOINT_EDITOR_SANITIZE=ON -DPOINT_EDITOR_FUZZ=ON \
  -DPOINT_EDITOR_FUZZ_SECONDS="$fuzz_seconds" -DBUILD_TESTING=ON >/dev/null
cmake --build "$root/build-sanitize" -j "$jobs"

echo "== Build: build-libcxx/ (clang, libc++, -Werror): the editor and its unit tests"
libcxx_start=$SECONDS
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-libcxx" -DCMAKE_CXX_FLAGS=-stdlib=libc++ \
  -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++ -DPOINT_EDITOR_WERROR=ON -DBUILD_TESTING=ON \
  -DGLUI_PROVIDER=bundled -DPOINT_EDITOR_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build "$root/build-libcxx" -j "$jobs" --target point-editor unit_tests glui_unit_tests
libcxx_build_seconds=$((SECONDS - libcxx_start))

status=0
echo "== Unit tests with libc++: build-libcxx/"
(cd "$root/build-libcxx" && ctest --output-on-failure -j "$jobs" -L unit) || status=1
echo "== libc++ stage took $libcxx_build_seconds s to build, $((SECONDS - libcxx_start)) s in all"

echo "== Tests: build/"
# Without the tests against the Windows build: that comes in its own stage.
(cd "$root/build" && ctest --output-on-failure -j "$jobs" -LE wine) || status=1

echo "== Tests under the sanitizers: build-sanitize/"
# Leaks are checked: the end-to-end tests end the editor and the GLUI probe
# with Q and fail on a sanitizer report in their standard error (the GL driver
# is kept loaded, so its frames are named). Leaks inside the GL driver
# and the X libraries are theirs; the suppressions name those libraries only.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The programs run several times slower: every wait of the test harness
# lasts up to three times as long.
(cd "$root/build-sanitize" && E2E_TIMEOUT_SCALE=3 ctest --output-on-failure -j "$jobs") || status=1

echo "== Windows build, its unit tests and the end-to-end tests under Wine: build-windows/"
windows_start=$SECONDS
# Builds point-editor.exe and runs the unit tests under Wine.
"$root/scripts/build-windows.sh" --test || status=1
if [ -x "$root/build-windows/point-editor.exe" ]; then
  echo "== End-to-end tests of build-windows/point-editor.exe under Wine, one at a time"
  # Wine programs of one prefix share one Windows desktop: two editors at once
  # would take the keyboard from each other.
  e2e_start=$SECONDS
  (cd "$root/build" && E2E_TIMEOUT_SCALE=2 ctest --output-on-failure -j 1 -L wine) || status=1
  echo "== End-to-end tests under Wine took $((SECONDS - e2e_start)) s"
fi
echo "== Windows stage took $((SECONDS - windows_start)) s"

exit "$status"
