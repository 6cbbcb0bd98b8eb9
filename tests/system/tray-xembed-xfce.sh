#!/usr/bin/env bash
# The agent started before a real XFCE panel, as an autostart entry may be at log-in: no tray and no
# StatusNotifier watcher yet. The icon docks by XEmbed once the panel comes and stays so when the
# watcher follows; the pointer's moves reach it, so the tooltip shows on hover only.
# Accessibility bridges would outlive the bus and hold the test's output open.
export NO_AT_BRIDGE=1 GTK_A11Y=none
[ -n "${CORVELLANE_OWN_BUS:-}" ] || CORVELLANE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/xfce.sh"

seed_installation
start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27' 30) || fail "no main window"
start_panel
wait_for 60 agent_tray_window >/dev/null || fail "the icon never docked in the panel"
icon=$(agent_tray_window)
xwininfo -id "$icon" -children | grep -q 'Parent window id:.*(the root window)' && fail "the icon is not embedded"
read -r x y w h <<<"$(geometry "$icon")"
[ "$y" -lt 27 ] || fail "the icon is at $x,$y, not in the top panel"
pass "started before the panel, the icon docks in its notification area by XEmbed"

wait_for 60 watcher_up || fail "the panel's StatusNotifier watcher never came"
sleep 1
item_of "$agent_pid" >/dev/null && fail "the agent added a StatusNotifier item beside its XEmbed icon"
pass "the watcher that follows gets no second icon"

# The hover path: no tooltip until the pointer rests on the icon, then the user and the pages left.
[ -z "$(agent_popups)" ] || fail "a window besides the panel shows before any hover"
xdotool mousemove $((x + w / 2)) $((y + h / 2))
sleep 0.2
xdotool mousemove $((x + w / 2 + 1)) $((y + h / 2))
wait_for 10 eval '[ -n "$(agent_popups)" ]' || fail "no tooltip on hover"
tip=$(agent_popups | head -n 1)
remaining=$(db_value 'SELECT quota FROM modp WHERE cod_usuario = 1')
tip_reads() { window_text "$tip" | tr '\n' ' ' | grep -Eq "Usu.rio: $(id -un) +Cota dispon.vel: $remaining\b"; }
wait_for 10 tip_reads || fail "the tooltip reads: $(window_text "$tip")"
screenshot xembed-tooltip
pass "hovering shows the tooltip with the user and the pages left ($remaining)"

# A click (here a double click) on the icon brings the hidden window back.
xdotool mousemove 600 400
click_at "$main" 239 10 # the header's "X"
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat 2 --delay 80 1
wait_visible 'CorvelLane 1.27' >/dev/null || fail "a double click on the icon did not bring the window up"
pass "a double click on the icon brings the window up"

stop_agent TERM
pass "SIGTERM ends the agent with 0"
