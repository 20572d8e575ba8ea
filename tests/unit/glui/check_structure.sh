#!/bin/sh
# Checks the library's structure from its object files (the static library
# given as $1):
#  - its source files never depend on each other in a circle (a file depends
#    on another when it uses a symbol the other defines);
#  - only host.cpp calls GLUT, only draw.cpp calls OpenGL;
#  - nothing uses dynamic_cast.
# Prints the dependencies, one "file: what it uses" line each.
set -eu
lib=$1
symbols=$(mktemp)
edges=$(mktemp)
trap 'rm -f "$symbols" "$edges"' EXIT
# member symbol-type symbol, e.g. "button.cpp.o U glui_draw..."
nm -A -g "$lib" | awk '{ n = split($1, p, ":"); print p[n - 1], $(NF - 1), $NF }' > "$symbols"

awk '
$2 == "U" { use[$1] = use[$1] " " $3; next }
$2 ~ /^[TDBRC]$/ { def[$3] = $1 }
END {
    for (m in use) {
        k = split(use[m], s, " ")
        for (i = 1; i <= k; i++)
            if ((s[i] in def) && def[s[i]] != m) print m, def[s[i]]
    }
}' "$symbols" | sed 's/\.cpp\.o//g' | sort -u > "$edges"

status=0
awk '{ deps[$1] = deps[$1] " " $2 } END { for (m in deps) print m ":" deps[m] }' "$edges" | sort
if ! tsort "$edges" > /dev/null; then
    echo "FAIL: the files above depend on each other in a circle"
    status=1
fi
bad=$(awk '$2 == "U" && $3 ~ /^glut[A-Z]/ && $1 != "host.cpp.o" { print $1 ": " $3 }' "$symbols")
if [ -n "$bad" ]; then
    echo "FAIL: GLUT called outside host.cpp:"; echo "$bad"; status=1
fi
bad=$(awk '$2 == "U" && $3 ~ /^gl[A-Z]/ && $1 != "draw.cpp.o" { print $1 ": " $3 }' "$symbols")
if [ -n "$bad" ]; then
    echo "FAIL: OpenGL called outside draw.cpp:"; echo "$bad"; status=1
fi
bad=$(awk '$2 == "U" && $3 == "__dynamic_cast" { print $1 }' "$symbols")
if [ -n "$bad" ]; then
    echo "FAIL: dynamic_cast in:"; echo "$bad"; status=1
fi
exit $status
