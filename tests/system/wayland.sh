#!/usr/bin/env bash
# The agent in a Wayland session of a real compositor (weston, headless) that offers an X display
# through XWayland: nobody chose a platform, so the agent runs on X11 and its panel docks at the
# corner. Without an X display it runs on Wayland and says in the log that the panel cannot dock.
source "$(dirname "$0")/lib.sh"

runtime=$work/runtime
mkdir -p "$runtime"
chmod 700 "$runtime"
unset DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$runtime XDG_SESSION_TYPE=wayland
weston --backend=headless-backend.so --xwayland --socket=corvellane-test --width=1280 --height=800 \
  --idle-time=0 --log="$work/weston.log" &
weston_pid=$!
cleanup_steps+=("kill $weston_pid; wait $weston_pid")
wait_for 30 grep -q 'xserver listening on display' "$work/weston.log" ||
  fail "weston offered no X display: $(cat "$work/weston.log")"
xdisplay=$(grep -o 'xserver listening on display :[0-9]*' "$work/weston.log" | grep -o ':[0-9]*$')
export WAYLAND_DISPLAY=corvellane-test
seed_installation

# 1. XWayland offered: an X11 window of the panel's size. Weston's own shell places X11 windows where
#    it likes (64,64 here), so its corner is not checked here; the X11 session tests check that.
DISPLAY=$xdisplay
export DISPLAY
start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27' 30) || fail "no X11 window on XWayland's display"
wait_for 10 size_is "$main" 254 185 || fail "the panel is $(geometry "$main")"
read -r x y w h <<<"$(geometry "$main")"
stop_agent TERM
grep -q 'Wayland' "$work/agent/Log.txt" 2>/dev/null && fail "on X11 the log says: $(cat "$work/agent/Log.txt")"
pass "with XWayland offered the agent runs on X11 (its ${w}x$h panel at $x,$y, placed by weston)"

# 2. No X display: the agent runs on Wayland, and one log line says why the panel floats.
unset DISPLAY
start_agent "$ODBCSYSINI"
wait_for 30 eval '[ "$(log_lines)" -ge 1 ] || ! kill -0 "$agent_pid"' || fail "nothing logged on Wayland"
kill -0 "$agent_pid" 2>/dev/null || { wait_exit; fail "the agent ended on Wayland with $rc"; }
sleep 1
kill -0 "$agent_pid" 2>/dev/null || fail "the agent did not keep running on Wayland"
[ "$(log_lines)" = 1 ] || fail "expected one log line, got: $(cat "$work/agent/Log.txt")"
grep -q 'Sessão Wayland sem servidor X: o painel não pode ser fixado no canto da tela.' "$work/agent/Log.txt" ||
  fail "the log says: $(cat "$work/agent/Log.txt")"
stop_agent TERM "on Wayland"
pass "without an X display the agent runs on Wayland, logs that the panel cannot dock, and SIGTERM ends it with 0"
