#!/usr/bin/env bash
# Builds the editor into build/ and starts it in the current directory, where
# it keeps its points.txt. Arguments are passed on to the editor (GLUT takes them).
#
#   scripts/run-editor.sh            on your display ($DISPLAY)
#   scripts/run-editor.sh --xvfb     on a private virtual X server, started
#                                    and stopped with the editor (no display needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

on_xvfb=
if [ "${1:-}" = --xvfb ]; then
  on_xvfb=1
  shift
fi

"$root/scripts/install-deps.sh" "$([ -n "$on_xvfb" ] && echo xvfb || echo editor)"
# Only the editor is built; the options build/ was configured with (by
# scripts/run-tests.sh, say: its tests) are left as they are.
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" --target point-editor -j "$(nproc)"

if [ -n "$on_xvfb" ]; then
  echo "The editor runs on a virtual display that nobody sees; press Ctrl+C here to end it."
  exec "$root/scripts/with-xvfb.sh" "$root/build/point-editor" "$@"
fi
if [ -z "${DISPLAY:-}" ]; then
  cat <<MSG
The editor is built ($root/build/point-editor) but there is no display to show it on
(DISPLAY is not set). To run it on a private virtual X server (Xvfb) that is
started before the editor and stopped after it:
  $root/scripts/run-editor.sh --xvfb
MSG
  exit 1
fi
exec "$root/build/point-editor" "$@"
