#!/usr/bin/env bash
# The demo on a machine without a display: the agent runs on a virtual one, the screenshot is
# written, the run ends with status 0 and leaves nothing running.
set -euo pipefail
headless=$1
binary=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$work/agent"
cp "$binary" "$work/agent/corvellane"
cp -r "$(dirname "$binary")/Imagens" "$work/agent/"
# In a session of its own, so that whatever it leaves behind can be found.
setsid "$headless" "$work/agent" "$work/demo.png" >"$work/output" 2>&1 &
session=$!
rc=0
wait "$session" || rc=$?
left=$(pgrep -s "$session" -a || true)
for _ in $(seq 1 30); do # a process that just ended may wait a moment to be reaped
  [ -n "$left" ] || break
  sleep 0.1
  left=$(pgrep -s "$session" -a || true)
done
[ -z "$left" ] || { pkill -KILL -s "$session" || true; fail "left running: $left"; }
[ "$rc" = 0 ] || fail "exit status $rc: $(cat "$work/output")"
grep -q 'X11 connection broke' "$work/output" && fail "the display went away under the agent"
[ -s "$work/demo.png" ] || fail "no screenshot"
identify "$work/demo.png" | grep -q ' 1280x800 ' || fail "screenshot: $(identify "$work/demo.png")"
echo "PASS: the demo without a display ends with 0, a screenshot and nothing left running"
