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

# The panel on the screenshot, docked: 254x185 at the bottom right corner, 2 pixels in from the screen's
# edges (the tray sits at the top), its dark blue frame at its four corners and nothing of it beyond
# them, and the logo's blue in its header.
# pixel_near X Y R G B: whether the screenshot's pixel there is that colour, give or take 8 per channel.
pixel_near() {
  local rgb r g b
  rgb=$(convert "$work/demo.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:)
  read -r r g b <<<"$rgb"
  (( r - $3 <= 8 && $3 - r <= 8 && g - $4 <= 8 && $4 - g <= 8 && b - $5 <= 8 && $5 - b <= 8 ))
}
left=$((1280 - 2 - 254)) top=$((800 - 2 - 185)) right=$((1280 - 3)) bottom=$((800 - 3))
for corner in "$left $top" "$right $top" "$left $bottom" "$right $bottom"; do
  pixel_near $corner 19 65 158 || fail "no panel frame at $corner of the screenshot"
done
for outside in "$((left - 1)) $top" "$left $((top - 1))" "$((right + 1)) $bottom" "$right $((bottom + 1))"; do
  pixel_near $outside 19 65 158 && fail "the panel reaches past its docked place at $outside"
done
pixel_near $((left + 2 + 20)) $((top + 2 + 25)) 16 67 158 || fail "the panel's header shows no logo"
echo "PASS: the demo without a display ends with 0, a screenshot of the docked panel and nothing left running"
