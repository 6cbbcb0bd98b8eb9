#!/usr/bin/env bash
# Start-up of the real program: the gate that lets it run only with an open database connection.
source "$(dirname "$0")/lib.sh"

# 1. Data source present, server up, the account known: the window comes, no box, the log says only who may
#    send; SIGTERM ends it with 0.
root_sql "DELETE FROM CORVELLANE.usuario; INSERT INTO CORVELLANE.usuario VALUES (1, '$(id -un)', '', 1);"
start_agent "$ODBCSYSINI"
wait_window 'CorvelLane 1.27' >/dev/null || fail "server up: no main window"
has_window Error && fail "server up: an error box was shown"
wait_for 10 grep -q " - Remetentes permitidos: qualquer endereço (nenhuma lista em $work/agent/corvellane.conf)"$'\r$' \
  "$work/agent/Log.txt" || fail "server up: the log does not say who may send: $(cat "$work/agent/Log.txt")"
[ "$(log_lines)" = 0 ] || fail "server up: the log was written: $(cat "$work/agent/Log.txt")"
stop_agent TERM "server up"
pass "server up: quiet start (one line: anyone may send), SIGTERM ends with exit code 0"

# 2. Server unreachable: one error box, one log line, no main window; OK ends the program with 0.
down=$(odbc_config down Server=127.0.0.1 Port=1)
expect_connection_failure "server down" "$down"
pass "server down: one box, one log line, no window, exit code 0"

# 3. "USE CORVELLANE" refused: the data source's own database serves; one log line with the server's text.
root_sql "CREATE DATABASE IF NOT EXISTS OUTRA; REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'corvellane'@'127.0.0.1';
          GRANT ALL ON OUTRA.* TO 'corvellane'@'127.0.0.1';"
cleanup_steps+=("root_sql 'DROP DATABASE IF EXISTS OUTRA;'" '"$CORVELLANE_TESTDB_SCRIPT" grants')
"$CORVELLANE_TESTDB_SCRIPT" sql OUTRA <"$(dirname "$0")/../../db/schema.sql" 2>/dev/null || true
root_sql "INSERT INTO OUTRA.usuario VALUES (1, '$(id -un)', '', 1);"
other=$(odbc_config other Database=OUTRA)
start_agent "$other"
wait_window 'CorvelLane 1.27' >/dev/null || fail "USE refused: no main window"
[ "$(log_lines)" = 1 ] || fail "USE refused: expected one log line, got $(log_lines)"
grep -q "Access denied.*CORVELLANE" "$work/agent/Log.txt" || fail "USE refused: log is $(cat "$work/agent/Log.txt")"
stop_agent HUP "USE refused"
pass "USE refused: logged with the server's text, start-up goes on, SIGHUP ends with 0"
