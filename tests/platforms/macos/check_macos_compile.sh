#!/bin/sh
# Compiles every source that builds on macOS as macOS would see it, with
# Apple's GLUT framework: __APPLE__ and __MACH__ defined and __linux__ not, as
# Apple's compilers have them, GL_SILENCE_DEPRECATION as the build defines it
# there, and the headers
# Apple names <GLUT/glut.h> and <OpenGL/gl.h> taken from stand-ins
# (include/) for the ones this machine has. Fails when a file does not
# compile so, in particular when it still takes <GL/glut.h> or another GL/
# header itself (poison/ holds ones that stop the compile).
#
#   check_macos_compile.sh C++-COMPILER SOURCE-ROOT
#
# What it cannot show: the C library and the C++ library stay this
# machine's (glibc and libstdc++ compile with __APPLE__ defined; libc++ then
# wants Darwin's own C headers), so a call that Apple's C library lacks, or
# declares elsewhere, is not found here.
set -eu
cxx=$1
root=$2
here=$(cd "$(dirname "$0")" && pwd)
flags="-std=c++17 -fsyntax-only -Wall -Wextra -Werror -U__linux__ -U__linux -Ulinux -U__gnu_linux__"
flags="$flags -D__APPLE__ -D__MACH__ -DGL_SILENCE_DEPRECATION"
includes="-I$here/poison -I$here/include -I$root/src -I$root/glui/include -I$root/glui/src -I$root/tests/unit/glui"

# The editor's and the panel library's sources, and the one test program that
# builds on macOS without GoogleTest; everything but the Windows file system.
files=$(cd "$root" && find src glui/src -name '*.cpp' ! -name '*_windows.cpp' | sort)
files="$files tests/e2e/glui/glui_probe.cpp"

status=0
count=0
for f in $files; do
    count=$((count + 1))
    # shellcheck disable=SC2086 # word splitting of the flags is wanted
    if ! out=$(cd "$root" && $cxx $flags $includes "$f" 2>&1); then
        echo "FAIL: $f"
        echo "$out" | head -n 20
        status=1
    fi
done
[ $status -eq 0 ] && echo "$count files compile as on macOS"
exit $status
