#!/usr/bin/env bash
# Takes the README's screenshots from a real run: starts the editor on its own
# Xvfb server, loads a small point set, switches to the triangle fan with real
# key presses, and captures both windows into docs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
editor=${1:-$root/build/point-editor}
out=$root/docs
[ -x "$editor" ] || { echo "No editor at $editor: build it first (scripts/run-editor.sh or scripts/run-tests.sh)"; exit 1; }
# Runs itself again on a private Xvfb that accepts clients before the editor starts.
if [ -z "${SCREENSHOTS_XVFB:-}" ]; then
  "$root/scripts/install-deps.sh" screenshots
  SCREENSHOTS_XVFB=1 exec "$root/scripts/with-xvfb.sh" "$0" "$editor"
fi

work=$(mktemp -d)
editor_pid=
trap 'kill $editor_pid 2>/dev/null || true; rm -rf "$work"' EXIT

cat >"$work/points.txt" <<'POINTS'
5
-200.000000 150.000000 12.000000
60.000000 190.000000 10.000000
210.000000 40.000000 10.000000
120.000000 -160.000000 10.000000
-150.000000 -120.000000 12.000000
POINTS

(cd "$work" && exec "$editor" >"$work/stdout") &
editor_pid=$!
wait_window() {
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.05
  done
  echo "window '$1' did not appear" >&2; exit 1
}
drawing=$(wait_window 'Quenbry - Mivolt Prototype - Zarnik')
panel=$(wait_window 'Controls')

# Focus follows the pointer: keys go to the window under it.
xdotool mousemove 420 340 key L key 2
sleep 0.5
mkdir -p "$out"
import -window "$drawing" "$out/drawing-window.png"
import -window "$panel" "$out/control-panel.png"
echo "Wrote $out/drawing-window.png and $out/control-panel.png"
