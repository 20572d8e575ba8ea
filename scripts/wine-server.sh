#!/usr/bin/env bash
# Starts or stops the Wine server of a Wine prefix, so that programs of the
# Windows build can run one after the other without each paying Wine's start:
#
#   scripts/wine-server.sh start PREFIX   creates PREFIX on first use, starts its
#                                         server (kept until 60 s after the last
#                                         program ends) and Windows' system programs
#   scripts/wine-server.sh stop PREFIX    ends the server and every program in PREFIX
#   scripts/wine-server.sh restart PREFIX both
#
# The server keeps the screen that Windows' system programs found at the start
# for as long as it runs: with DISPLAY unset, Wine's null display, smaller
# than 1280x1024, so that the programs started later, whatever X server they
# run on, no longer take clicks on a window moved far right or low. Programs
# with windows on an X server need a server started on one of that size
# (scripts/with-xvfb.sh scripts/wine-server.sh restart PREFIX, for 1280x1024).
#
# Everything is started detached from this script's output: a caller that reads
# that output to its end (CTest, a pipe) is not kept waiting by the server or
# by the system programs, which outlive the script.
set -euo pipefail
case "${1:-}:${2:-}" in
  start:?* | stop:?* | restart:?*) ;;
  *) echo "usage: $0 start|stop|restart PREFIX" >&2; exit 2 ;;
esac
export WINEPREFIX=$2
# Quietly, and without the offers to install Wine's .NET and HTML engines.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_loader=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

if [ "$1" != start ]; then
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true  # until it has gone
  [ "$1" = stop ] && exit 0
fi

# The very first start fills the prefix (a Windows folder tree, 10-20 s).
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Creating the Wine prefix $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  # (It says that it cannot start 32-bit programs: there are none here.)
  "$wine_loader" wineboot --init >"$WINEPREFIX.log" 2>&1
  "$wineserver" --wait
fi
# The server says nothing and ends at once when one is running already.
setsid "$wineserver" -p60 </dev/null >/dev/null 2>&1 &
# Windows' system programs; otherwise the first program started would start
# them and hold its caller until they end.
setsid "$wine_loader" wineboot </dev/null >/dev/null 2>&1

# wineboot's desktop process (explorer.exe) ends about a second after
# wineboot. A program that starts before then joins that desktop, on an X
# server that may be gone (or none at all) and cannot open a window ("Failed
# to create a window"), so the script returns once it has gone.
desktop_running() {
  local d
  for d in /proc/[0-9]*; do
    tr '\0' '\n' 2>/dev/null <"$d/cmdline" | grep -qi '^c:\\windows\\system32\\explorer\.exe$' || continue
    tr '\0' '\n' 2>/dev/null <"$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
for _ in $(seq 100); do
  desktop_running || exit 0
  sleep 0.1
done
echo "Wine's desktop process of $WINEPREFIX is still running after 10 s" >&2
exit 1
