#!/usr/bin/env bash
# Cross-builds the editor for 64-bit Windows with MinGW-w64:
#
#   build-windows/point-editor.exe   the editor, with freeglut and the C and C++
#                                    runtimes linked in: copy it to a Windows
#                                    machine and run it there
#   build-windows/deps/              freeglut (from Debian's source package) and
#                                    GoogleTest, cross-built on the first run and
#                                    reused after; delete it to build them again
#   build-windows/wine-prefix/       the Wine prefix the tests run in
#
# With --test it then runs the unit tests under Wine (ctest in build-windows/),
# as scripts/run-tests.sh does. WINDOWS_BUILD_DIR puts the build elsewhere.
set -euo pipefail
run_tests=no
case "${1:-}" in
  --test) run_tests=yes ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$root/build-windows}
deps=$build/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)
wine_loader=/usr/lib/wine/wine64

"$root/scripts/install-deps.sh" windows

# Programs run under Wine in the build's own prefix, quietly, without the
# offers to install Wine's .NET and HTML engines.
wine_env=(WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")

# Starts the prefix's Wine server and Windows' system programs, detached from
# this script's output. Otherwise the first program a test runs would start
# them, and the test would last until they end (2.5 s a test, one after the
# other). The server ends by itself 60 s after the last program.
start_wine() {
  "$root/scripts/wine-server.sh" start "$build/wine-prefix"
}

cross_build() {  # name source-dir cmake-options...
  local name=$1 source=$2
  shift 2
  echo "== Cross-building $name into $prefix"
  local log=$deps/$name.log
  rm -rf "$deps/$name-build"
  if ! { cmake -S "$source" -B "$deps/$name-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
           -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
         cmake --build "$deps/$name-build" -j "$jobs" &&
         cmake --install "$deps/$name-build"; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Cross-building $name failed; the whole log is $log" >&2
    exit 1
  fi
  rm -rf "$deps/$name-build"
}

if [ ! -f "$deps/freeglut.done" ]; then
  rm -rf "$deps/freeglut-source"
  mkdir -p "$deps/freeglut-source"
  (cd "$deps/freeglut-source" && apt-get source -qq freeglut 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
  source_dir=$(find "$deps/freeglut-source" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*' | head -n 1)
  if [ -z "$source_dir" ]; then
    echo "apt-get source freeglut gave no source folder in $deps/freeglut-source" >&2
    exit 1
  fi
  # A static library, so that point-editor.exe needs no freeglut DLL.
  cross_build freeglut "$source_dir" -DFREEGLUT_REPLACE_GLUT=ON -DFREEGLUT_PRINT_WARNINGS=OFF \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON
  rm -rf "$deps/freeglut-source"
  touch "$deps/freeglut.done"
fi

if [ ! -f "$deps/googletest.done" ]; then
  cross_build googletest /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
  touch "$deps/googletest.done"
fi

start_wine

echo "== Build: $build (MinGW-w64, -Werror)"
# CTest runs the test programs, and lists their tests, through the Wine loader.
emulator=$(IFS=';'; echo "/usr/bin/env;${wine_env[*]};$wine_loader")
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DPOINT_EDITOR_WERROR=ON -DBUILD_TESTING=ON -DGLUI_PROVIDER=bundled \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" >/dev/null
cmake --build "$build" -j "$jobs"
echo "Built $build/point-editor.exe"

if [ "$run_tests" = yes ]; then
  echo "== Unit tests under Wine: $build"
  start_wine
  (cd "$build" && ctest --output-on-failure -j "$jobs")
fi
