#!/usr/bin/env bash
# First start on a workstation without the data source: the connection settings dialog comes first,
# creates the data source through the driver manager and the start goes on; "Cancelar" ends it.
# The test server listens on 127.0.0.2 at MariaDB's own port, as an address typed without a port needs.
source "$(dirname "$0")/lib.sh"

message='Atenção. O sistema não conseguiu conectar ao servidor do CorvelLane. Verifique com o administrador do sistema.'
dialog_title='Dados da Conexão'

config=$work/odbc-first
mkdir -p "$config"
cp "$ODBCSYSINI/odbcinst.ini" "$config/"
grep -q '^Setup=' "$config/odbcinst.ini" || fail "the fixture registered no driver setup library"
: >"$config/odbc.ini"

# The account is known, so the main window opens on its main panel and logs nothing of its own.
root_sql "DELETE FROM CORVELLANE.usuario; INSERT INTO CORVELLANE.usuario VALUES (1, '$(id -un)', '', 1);"

has_data_source() { grep -q '^\[CorvelLane\]' "$config/odbc.ini"; }

# 1. No data source: the dialog is the first window. A wrong address shows the connection error and
#    leaves no data source behind; the right one creates it and the main window follows.
start_agent "$config"
dialog=$(wait_window "$dialog_title") || fail "no data source: the dialog did not come"
has_window 'CorvelLane 1.27' && fail "no data source: the main window came before the dialog"
xdotool windowfocus --sync "$dialog" type --delay 10 '127.0.0.9'
xdotool key --clearmodifiers alt+c
box=$(wait_window Error) || fail "wrong address: no error box"
xdotool windowfocus --sync "$box" key Return
wait_gone Error || fail "wrong address: the error box stayed"
has_window "$dialog_title" || fail "wrong address: the dialog closed"
has_data_source && fail "wrong address: the data source was kept: $(cat "$config/odbc.ini")"
[ "$(log_lines)" = 1 ] || fail "wrong address: expected one log line, got $(log_lines)"
pass "wrong address: error box and log line, data source removed, dialog still open"

xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 10 '127.0.0.2'
xdotool key --clearmodifiers alt+c
wait_window 'CorvelLane 1.27' >/dev/null || fail "right address: no main window"
has_window "$dialog_title" && fail "right address: the dialog stayed"
grep -qx 'Server=127.0.0.2' "$config/odbc.ini" || fail "right address: odbc.ini is $(cat "$config/odbc.ini")"
[ "$(log_lines)" = 1 ] || fail "right address: the log grew to: $(cat "$work/agent/Log.txt")"
stop_agent TERM "right address"
pass "right address: data source created, main window, exit code 0"

# 2. The next start finds the data source and asks nothing.
start_agent "$config"
wait_window 'CorvelLane 1.27' >/dev/null || fail "second start: no main window"
has_window "$dialog_title" && fail "second start: the dialog came again"
stop_agent TERM
pass "second start: straight to the main window"

# 3. "Cancelar" ends the program: no box stays up, nothing is written to the configuration, and the
#    failed connection attempt that follows is logged once.
: >"$config/odbc.ini"
start_agent "$config"
dialog=$(wait_window "$dialog_title") || fail "cancel: the dialog did not come"
xdotool windowfocus --sync "$dialog" key --clearmodifiers alt+a
saw_box=no
for _ in $(seq 1 100); do
  kill -0 "$agent_pid" 2>/dev/null || break
  has_window Error && saw_box=yes
  sleep 0.1
done
wait_exit 10
[ "$rc" = 0 ] || fail "cancel: exit code $rc"
[ "$saw_box" = no ] || fail "cancel: an error box was shown"
[ -s "$config/odbc.ini" ] && fail "cancel: odbc.ini was written: $(cat "$config/odbc.ini")"
[ "$(log_lines)" = 1 ] || fail "cancel: expected one log line, got $(log_lines)"
grep -q " - $message"$'\r$' "$work/agent/Log.txt" || fail "cancel: log is $(cat "$work/agent/Log.txt")"
pass "cancel: the program ends with exit code 0, no box, nothing written, one log line"
