#!/usr/bin/env bash
# The agent at the database server's limits: a server with every connection taken, at start-up and
# during the day, and a connection the server closed because it stayed idle past its wait_timeout.
source "$(dirname "$0")/lib.sh"

startup_failure='Atenção. O sistema não conseguiu conectar ao servidor do CorvelLane. Verifique com o administrador do sistema.'
max_connections=$(db_value 'SELECT @@GLOBAL.max_connections')
wait_timeout=$(db_value 'SELECT @@GLOBAL.wait_timeout')
cleanup_steps+=("release_server" "root_sql 'SET GLOBAL wait_timeout = $wait_timeout, GLOBAL interactive_timeout = $wait_timeout'")

agent_account() {
  mariadb --no-defaults -h "${CORVELLANE_TESTDB_HOST:-127.0.0.1}" -P "$CORVELLANE_TESTDB_PORT" -ucorvellane -pmabel7 "$@"
}
agent_connections() { db_value "SELECT count(*) FROM information_schema.processlist WHERE user = 'corvellane'"; }

# wait_connections N: until the agent's account holds N connections on the server.
wait_connections() {
  local waited=0
  while [ "$(agent_connections)" != "$1" ]; do
    [ "$waited" -lt 100 ] || return 1
    sleep 0.1
    waited=$((waited + 1))
  done
}

# fill_server: max_connections at the least the server takes, every place held by the agent's account.
# The server keeps one more place for root, through which this script still looks.
holders=()
fill_server() {
  root_sql 'SET GLOBAL max_connections = 10'
  local i
  for i in $(seq 1 10); do
    agent_account -e 'SELECT SLEEP(300)' >/dev/null 2>&1 &
    holders+=($!)
  done
  wait_connections 10 || fail "the server was not filled: $(agent_connections) connections"
  local refused
  refused=$(agent_account -e 'SELECT 1' 2>&1 || true)
  [[ $refused == *'Too many connections'* ]] || fail "the full server took one more: $refused"
}

release_server() {
  root_sql "SET GLOBAL max_connections = $max_connections"
  local id
  for id in $(db_value "SELECT id FROM information_schema.processlist WHERE user = 'corvellane' AND info LIKE 'SELECT SLEEP%'"); do
    root_sql "KILL $id" 2>/dev/null || true
  done
  [ ${#holders[@]} -eq 0 ] || wait "${holders[@]}" 2>/dev/null || true
  holders=()
}

# 1. Start-up meets a full server: the standard failure.
seed_installation
fill_server
start_agent "$ODBCSYSINI"
box=$(wait_window Error) || fail "full at start-up: no error box"
has_window 'CorvelLane 1.27' && fail "full at start-up: the main window exists"
xdotool windowfocus --sync "$box" key Return
wait_exit
[ "$rc" = 0 ] || fail "full at start-up: exit code $rc"
[ "$(log_lines)" = 1 ] || fail "full at start-up: expected one log line, got $(log_lines)"
grep -q " - $startup_failure"$'\r$' "$work/agent/Log.txt" || fail "full at start-up: log is $(cat "$work/agent/Log.txt")"
pass "full server at start-up: one box, one log line, no window, exit code 0"
release_server

# 2. Every session the server opens from now on is closed after two idle seconds.
root_sql 'SET GLOBAL wait_timeout = 2, GLOBAL interactive_timeout = 2'
start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27') || fail "no main window"
sleep 0.3
click_at "$main" 239 10
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
wait_connections 0 || fail "the server did not close the idle connection"
send '1;815;3;Manha.doc'
main=$(wait_visible 'CorvelLane 1.27' 30) || fail "the first message after an idle drop was not served at once"
grep -q 'Mensagem inválida' "$work/agent/Log.txt" 2>/dev/null && fail "idle drop: $(cat "$work/agent/Log.txt")"
pass "idle drop: the first message after it is served at once"

wait_connections 0 || fail "the server did not close the idle connection"
answer_prompt 7
wait_hidden 'CorvelLane 1.27' || fail "idle drop: the prompt stayed after Yes"
[ -z "$(visible_window CorvelLane)" ] || fail "idle drop: a message box came with the answer"
[ "$(db_value 'SELECT cod_centro_custo FROM impressoes WHERE cod_impressoes = 815')" = 7 ] ||
  fail "idle drop: the answer was not written"
pass "idle drop while a prompt waits: the answer is written at once"

# 3. The connection dropped again, and the server is full when the user answers the next prompt: a
#    message, the prompt stays with what was typed, and the same answer goes through once there is room.
send '1;816;4;Tarde.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt for job 816"
wait_connections 0 || fail "the server did not close the idle connection"
fill_server
answer_prompt 12
box=$(wait_visible CorvelLane) || fail "full server: no message"
screenshot reconnect-server-full
xdotool windowfocus --sync "$box" key Return
sleep 0.3
[ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "full server: the prompt went away with the message"
[ "$(db_value 'SELECT cod_centro_custo FROM impressoes WHERE cod_impressoes = 816')" = NULL ] ||
  fail "full server: job 816 was written"
pass "full server during the day: the failure is reported and the prompt stays"

release_server
wait_connections 0 || fail "the server kept the connections that filled it"
answer_again 816 12
pass "room again: the same answer, as typed, is written without restarting the agent"

stop_agent TERM
[ "$rc" = 0 ] || fail "SIGTERM gave exit code $rc"
