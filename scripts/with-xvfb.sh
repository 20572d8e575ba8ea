#!/usr/bin/env bash
# Runs a command on a private virtual X server (Xvfb, 1280x1024, 24 bits):
# starts the server on a free display number, waits until it accepts
# clients, runs the command with DISPLAY set to it, and stops the server
# when the command ends (also on Ctrl+C). Exits with the command's status.
#
#   scripts/with-xvfb.sh COMMAND [ARGUMENTS...]
#
# The display is printed first, so that you can look at it from another
# terminal, e.g. DISPLAY=:5 import -window root screen.png (imagemagick).
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGUMENTS...]" >&2
  exit 2
fi
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed (Debian: apt-get install xvfb)" >&2
  exit 1
fi

tmp=$(mktemp -d)
xvfb_pid=
stop_server() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display itself and writes its number to the -displayfd
# descriptor once it accepts clients. It can pick the number of a server that
# is just ending (another program's) and give up with "server already
# running": a second try picks another. It keeps its state when its last
# client leaves (-noreset), and ends when this script does, even when the
# script is killed (setpriv --pdeathsig, where util-linux has it).
pdeathsig=()
if command -v setpriv >/dev/null; then
  pdeathsig=(setpriv --pdeathsig TERM)
fi
start_server() {
  : >"$tmp/display"
  "${pdeathsig[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" \
    >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 300); do
    [ -s "$tmp/display" ] && [ "$(tail -c 1 "$tmp/display")" = "" ] && return 0
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      wait "$xvfb_pid" 2>/dev/null || true
      xvfb_pid=
      return 1
    fi
    sleep 0.05
  done
  echo "Xvfb did not accept clients within 15 s" >&2
  exit 1
}
for attempt in 1 2 3; do
  start_server && break
  if [ "$attempt" = 3 ]; then
    echo "Xvfb did not start:" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
done
display=":$(head -n 1 "$tmp/display")"
echo "Virtual display $display (Xvfb, process $xvfb_pid)"

status=0
DISPLAY=$display "$@" || status=$?
exit "$status"
