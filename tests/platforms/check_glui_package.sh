#!/bin/sh
# Builds the editor against a GLUI installed by its own CMake install and
# found through CMAKE_PREFIX_PATH, as vcpkg's glui port or GLUI's own
# `cmake --install` leave one. No real GLUI can be had here, so the project's
# own library stands in for it: configured on its own (glui/CMakeLists.txt)
# and installed into WORK-DIR/prefix in the same shape (include/GL/glui.h,
# lib/libglui.a, lib/cmake/glui/ with the target glui::glui).
#
#   check_glui_package.sh SOURCE-ROOT WORK-DIR C-COMPILER C++-COMPILER
#
# Fails unless the editor's configure step says it took that package and the
# editor links the installed library. The builds in WORK-DIR are kept, so a
# second run only rebuilds what changed; the prefix is installed afresh.
set -eu
root=$1
work=$2
compilers="-DCMAKE_C_COMPILER=$3 -DCMAKE_CXX_COMPILER=$4"
prefix=$work/prefix
mkdir -p "$work"

step() {  # log-name command...
    log=$work/$1.log
    shift
    if ! "$@" >"$log" 2>&1; then
        tail -n 30 "$log"
        echo "FAIL: $* (the whole log is $log)"
        exit 1
    fi
}

# shellcheck disable=SC2086 # the compiler options are two words
step glui-configure cmake -S "$root/glui" -B "$work/glui-build" $compilers -DPOINT_EDITOR_WERROR=ON
step glui-build cmake --build "$work/glui-build" -j 2
rm -rf "$prefix"
step glui-install cmake --install "$work/glui-build" --prefix "$prefix"
for f in include/GL/glui.h lib/libglui.a lib/cmake/glui/glui-config.cmake; do
    if [ ! -f "$prefix/$f" ]; then
        echo "FAIL: the installed package has no $f"
        exit 1
    fi
done

# shellcheck disable=SC2086
step editor-configure cmake -S "$root" -B "$work/editor-build" $compilers -DPOINT_EDITOR_WERROR=ON \
    -DBUILD_TESTING=OFF -DGLUI_PROVIDER=system -DCMAKE_PREFIX_PATH="$prefix"
said="GLUI: using the installed GLUI through its CMake package (glui::glui, $prefix/lib/cmake/glui)"
if ! grep -qF -- "-- $said" "$work/editor-configure.log"; then
    grep 'GLUI' "$work/editor-configure.log" || true
    echo "FAIL: the configure step did not say: $said"
    exit 1
fi
step editor-build cmake --build "$work/editor-build" -j 2 --target point-editor
if ! grep -qF "$prefix/lib/libglui.a" "$work/editor-build/CMakeFiles/point-editor.dir/link.txt"; then
    echo "FAIL: point-editor was not linked with $prefix/lib/libglui.a"
    exit 1
fi
echo "$said"
echo "Built $work/editor-build/point-editor against it"
