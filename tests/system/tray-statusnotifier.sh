#!/usr/bin/env bash
# The agent under a real XFCE panel that already has its StatusNotifier watcher: the icon is an item
# over D-Bus, drawn by the panel, which never passes the pointer's moves on. Checked through the
# panel's own interfaces: the item's properties, its Activate call and the dbusmenu of its menu.
# Accessibility bridges would outlive the bus and hold the test's output open.
export NO_AT_BRIDGE=1 GTK_A11Y=none
[ -n "${CORVELLANE_OWN_BUS:-}" ] || CORVELLANE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/xfce.sh"

seed_installation
start_panel
# The watcher comes some seconds after the panel, later on a loaded machine.
wait_for 60 watcher_up || fail "the panel's StatusNotifier watcher never came"

start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27' 30) || fail "no main window"
wait_for 20 item_of "$agent_pid" >/dev/null || fail "the agent registered no item: $(registered_items)"
item=$(item_of "$agent_pid")
service=${item%%/*}
item_get() {
  gdbus call --session -d "$service" -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem "$1"
}
item_call() { gdbus call --session -d "$service" -o /StatusNotifierItem -m "org.kde.StatusNotifierItem.$1" 0 0; }
pass "the agent registers an item with the panel's watcher"

# 1. The tooltip holds the user and the pages left from the start, with no mouse move.
remaining() { item_get ToolTip | grep -o 'Cota disponível: [-0-9]*' | grep -o '[-0-9]*$'; }
tip=$(item_get ToolTip)
echo "$tip" | grep -q "Usuário: $(id -un)" || fail "the item's tooltip is $tip"
before=$(remaining) || fail "no pages left in the tooltip: $tip"
pass "the item's tooltip names the user and the pages left ($before)"

# 2. Activation (the panel's left click) brings the hidden window up with fresh figures, tooltip included.
click_at "$main" 239 10 # the header's "X"
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
root_sql "UPDATE CORVELLANE.modp SET quota = quota - 7 WHERE cod_usuario = 1;"
item_call Activate >/dev/null
wait_visible 'CorvelLane 1.27' >/dev/null || fail "Activate did not bring the window up"
wait_for 5 eval '[ "$(remaining)" = $((before - 7)) ]' || fail "after Activate the tooltip shows $(remaining), not $((before - 7))"
pass "Activate shows the window and the tooltip follows the new figures"

# 3. A double click on the panel's button for the item: the panel calls Activate on each release, and
#    the agent brings the window up once.
# The item is the one green picture on the panel's grey top row.
import -window root -crop 280x1+1000+13 txt:"$work/row.txt"
icon_x=$(awk -F'[:,() ]+' '/^[0-9]/ && $4 > $3 + 20 && $4 > 100 { print 1000 + $1; exit }' "$work/row.txt")
[ -n "$icon_x" ] || fail "no item to be seen in the top panel"
click_at "$main" 239 10
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
dbus-monitor --session "type='method_call',interface='org.kde.StatusNotifierItem',member='Activate'" \
  >"$work/activations" 2>/dev/null &
monitor=$!
cleanup_steps+=("kill $monitor")
sleep 0.5
xdotool mousemove $((icon_x + 4)) 13 click --repeat 2 --delay 80 1
wait_visible 'CorvelLane 1.27' >/dev/null || fail "a double click on the item did not bring the window up"
sleep 0.5
kill "$monitor"
[ "$(grep -c 'member=Activate' "$work/activations")" = 2 ] ||
  fail "the panel made $(grep -c 'member=Activate' "$work/activations") Activate calls for a double click"
pass "a double click is two Activate calls from the panel; the window comes up"

# 4. The menu's three entries, through the host's menu protocol.
menu=$(item_get Menu | grep -o "'/[^']*'" | tr -d "'")
layout=$(gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.GetLayout 0 -- -1 '@as []')
entry_id() { echo "$layout" | grep -o "([0-9]*, {[^}]*'label': <'$1'>" | grep -o '^([0-9]*' | tr -d '('; }
for label in 'Consultar Cota' 'Relatório' 'Trocar usuário'; do
  [ -n "$(entry_id "$label")" ] || fail "the menu has no entry '$label': $layout"
done
click_menu() {
  gdbus call --session -d "$service" -o "$menu" -m com.canonical.dbusmenu.Event "$(entry_id "$1")" clicked \
    '<int32 0>' 0 >/dev/null
}

click_menu 'Consultar Cota'
wait_visible 'Consulta Cota' >/dev/null || fail "'Consultar Cota' opened no quota window"
wait_hidden 'CorvelLane 1.27' || fail "the quota window did not take the main window's place"
pass "'Consultar Cota' opens the quota window"

click_menu 'Relatório'
main=$(wait_visible 'CorvelLane 1.27') || fail "'Relatório' did not bring the window up"
shows_report() { window_text "$main" | tr '\n' ' ' | grep -Eq 'intervalo de datas.*Visualizar'; }
wait_for 10 shows_report || fail "after 'Relatório' the window reads: $(window_text "$main")"
screenshot statusnotifier-relatorio
pass "'Relatório' brings the window up on the report panel"

click_menu 'Trocar usuário'
main=$(wait_visible 'CorvelLane 1.27') || fail "'Trocar usuário' did not bring the window up"
sleep 0.3
xdotool type --delay 20 'ninguem'
xdotool key Tab type --delay 20 'errada'
xdotool key Return
wait_visible CorvelLane >/dev/null || fail "the login panel did not take the typed login"
screenshot statusnotifier-login
pass "'Trocar usuário' shows the login panel, which answers a wrong password"

stop_agent TERM
pass "SIGTERM ends the agent with 0"
