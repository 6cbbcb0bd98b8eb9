#!/usr/bin/env bash
# Log-out through a real XSMP session manager (xfce4-session): the agent, a client of the session,
# gets the manager's save-yourself and die, ends through the same ordered teardown as on SIGTERM with
# exit code 0, and does not hold the log-out up. The agent docks by XEmbed here, whose icon is a
# window of its own that Qt would have to close before it agrees to quit.
export NO_AT_BRIDGE=1 GTK_A11Y=none
[ -n "${CORVELLANE_OWN_BUS:-}" ] || CORVELLANE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/xfce.sh"

# The session's clients learn the manager's address from their environment: an autostart entry
# reports it to the test, which starts the agent with it as the session would.
mkdir -p "$XDG_CONFIG_HOME/autostart"
cat >"$XDG_CONFIG_HOME/autostart/report-session.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=report-session
Exec=sh -c 'echo "\$SESSION_MANAGER" >$work/session-manager'
DESKTOP
xfce4-session >"$work/session.log" 2>&1 &
session_pid=$!
cleanup_steps+=("kill $session_pid; wait $session_pid")
wait_for 60 test -s "$work/session-manager" || fail "xfce4-session ran no autostart entry: $(cat "$work/session.log")"
export SESSION_MANAGER=$(cat "$work/session-manager")

seed_installation
# The session's panel goes, to come back after the agent, as at a log-in where autostart wins the race.
wait_for 60 watcher_up || fail "the session's panel never came"
xfce4-panel --quit
wait_for 30 eval '! watcher_up' || fail "the session's panel did not quit"
start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27' 30) || fail "no main window"
start_panel
wait_for 60 agent_tray_window >/dev/null || fail "the icon never docked in the panel"
# Hidden, the window leaves the icon as the agent's only window, as most of a working day.
click_at "$main" 239 10 # the header's "X"
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
xfce4-session-logout --logout --fast &
cleanup_steps+=("kill $! 2>/dev/null")
wait_exit 300
[ "$rc" = 0 ] || fail "the log-out ended the agent with exit code $rc"
[ "$(log_lines)" = 0 ] || fail "the log-out was logged: $(cat "$work/agent/Log.txt")"
wait_for 30 eval '! kill -0 $session_pid 2>/dev/null' || fail "the session did not end after the agent"
pass "xfce4-session's log-out ends the agent with 0 and the session ends"
