#!/usr/bin/env bash
# Builds the editor into build/ and starts it in the current directory, where
# it keeps its points.txt. Arguments are passed on to the editor (GLUT takes them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" editor
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target point-editor -j "$(nproc)"

if [ -z "${DISPLAY:-}" ]; then
  cat <<MSG
The editor is built ($root/build/point-editor) but there is no display to show it on
(DISPLAY is not set). On a machine without a desktop, run it on a virtual X server:
  apt-get install -y xvfb
  Xvfb :99 -screen 0 1280x1024x24 & DISPLAY=:99 $root/build/point-editor
MSG
  exit 1
fi
exec "$root/build/point-editor" "$@"
