#!/usr/bin/env bash
# scripts/with-xvfb.sh: the command starts only once the private server
# accepts clients, its exit status is passed on, and the server is gone when
# the command has ended, also when it was ended by Ctrl+C and when the script
# itself was killed; a server that gives up at start is started again.
#   with_xvfb_test.sh PATH_TO_WITH_XVFB_SH
set -euo pipefail
script=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*"
  exit 1
}

# Waits up to 15 s for the command to write FILE.
wait_for_command() {
  for _ in $(seq 300); do
    [ -s "$1" ] && return
    sleep 0.05
  done
  fail "the command did not start within 15 s: $(cat "$tmp/out")"
}

# The server's process id, from the line announcing it.
server_pid() {
  sed -n 's/^Virtual display :[0-9]* (Xvfb, process \([0-9]*\))$/\1/p' "$tmp/out"
}

# The command connects at once, notes its display and ends with status 7.
probe='xdpyinfo >/dev/null || exit 99; echo "$DISPLAY" > "$1"'
status=0
"$script" sh -c "$probe; exit 7" sh "$tmp/display" >"$tmp/out" 2>&1 || status=$?
[ "$status" != 99 ] || fail "the command could not connect to the server it was given"
[ "$status" = 7 ] || fail "exit status $status, not the command's 7; output: $(cat "$tmp/out")"
grep -q "^Virtual display $(cat "$tmp/display") " "$tmp/out" || fail "the display was not announced: $(cat "$tmp/out")"
pid=$(server_pid)
[ -n "$pid" ] || fail "no server process announced: $(cat "$tmp/out")"
if kill -0 "$pid" 2>/dev/null; then fail "the server (process $pid) still runs after the command ended"; fi

# Ctrl+C while the command runs: the whole process group gets SIGINT. (With
# job control on, the job has a group of its own and does not ignore SIGINT.)
rm -f "$tmp/display"
set -m
"$script" sh -c "$probe; exec sleep 60" sh "$tmp/display" >"$tmp/out" 2>&1 &
group=$!
set +m
wait_for_command "$tmp/display"
pid=$(server_pid)
kill -INT -- "-$group"
status=0
wait "$group" || status=$?
[ "$status" = 130 ] || fail "exit status $status after Ctrl+C, not 130"
if kill -0 "$pid" 2>/dev/null; then fail "the server (process $pid) still runs after Ctrl+C"; fi

# The script killed outright (no trap of its own runs): its server ends too.
rm -f "$tmp/display"
"$script" sh -c "$probe; echo \$\$ > '$tmp/command'; exec sleep 60" sh "$tmp/display" >"$tmp/out" 2>&1 &
script_pid=$!
wait_for_command "$tmp/command"
pid=$(server_pid)
kill -KILL "$script_pid"
wait "$script_pid" 2>/dev/null || true
kill "$(cat "$tmp/command")" 2>/dev/null || true
# (An ended server that nobody has reaped yet does not count.)
running() { [ -e "/proc/$1" ] && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }
for _ in $(seq 100); do
  running "$pid" || break
  sleep 0.05
done
if running "$pid"; then fail "the server (process $pid) still runs after the script was killed"; fi

# A server that gives up at once, as Xvfb does when it picks the display of a
# server that is just ending: the script starts another.
mkdir "$tmp/bin"
cat >"$tmp/bin/Xvfb" <<EOF
#!/bin/sh
if [ ! -e "$tmp/gave-up" ]; then
  touch "$tmp/gave-up"
  echo "Fatal server error: Server is already active for display 0" >&2
  exit 1
fi
exec $(command -v Xvfb) "\$@"
EOF
chmod +x "$tmp/bin/Xvfb"
rm -f "$tmp/display"
status=0
PATH="$tmp/bin:$PATH" "$script" sh -c "$probe; exit 0" sh "$tmp/display" >"$tmp/out" 2>&1 || status=$?
[ -e "$tmp/gave-up" ] || fail "the stand-in for Xvfb was not started"
[ "$status" = 0 ] || fail "exit status $status after a server gave up at start; output: $(cat "$tmp/out")"
[ -s "$tmp/display" ] || fail "the command did not run after a server gave up at start"
echo "passed"
