#!/usr/bin/env bash
# The agent at the database server's limits: a server with every connection taken, at start-up and
# during the day, and a connection the server closed because it stayed idle past its wait_timeout.
source "$(dirname "$0")/lib.sh"

max_connections=$(db_value 'SELECT @@GLOBAL.max_connections')
wait_timeout=$(db_value 'SELECT @@GLOBAL.wait_timeout')
cleanup_steps+=("release_server" "root_sql 'SET GLOBAL wait_timeout = $wait_timeout, GLOBAL interactive_timeout = $wait_timeout'")

agent_account() {
  mariadb --no-defaults -h "${CORVELLANE_TESTDB_HOST:-127.0.0.1}" -P "$CORVELLANE_TESTDB_PORT" -ucorvellane -pmabel7 "$@"
}
agent_connections() { db_value "SELECT count(*) FROM information_schema.processlist WHERE user = 'corvellane'"; }

# wait_connections N: until the agent's account holds N connections on the server.
wait_connections() {
  local count=$1
  wait_for 10 eval '[ "$(agent_connections)" = "$count" ]'
}

# fill_server: max_connections at the least the server takes, every place held by the agent's account.
# The server keeps one more place for root, through which this script still looks; but while it looks it
# may hold an ordinary place, and a holder that comes in at that moment is refused. So holders are
# started until ten are in (one too many is refused and ends), then a last one must meet a full server.
holders=()
fill_server() {
  root_sql 'SET GLOBAL max_connections = 10'
  local deadline=$((SECONDS + 20)) held i
  while held=$(agent_connections); [ "${held:-0}" -lt 10 ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the server was not filled: $held connections"
    for ((i = ${held:-0}; i < 10; i++)); do
      agent_account -e 'SELECT SLEEP(300)' >/dev/null 2>&1 &
      holders+=($!)
    done
    sleep 0.5
  done
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
expect_connection_failure "full at start-up" "$ODBCSYSINI"
pass "full server at start-up: one box, one log line, no window, exit code 0"
release_server

# 2. Every session the server opens from now on is closed after two idle seconds.
root_sql 'SET GLOBAL wait_timeout = 2, GLOBAL interactive_timeout = 2'
start_hidden "$ODBCSYSINI"
wait_connections 0 || fail "the server did not close the idle connection"
send '1;815;3;Manha.doc'
main=$(wait_visible 'CorvelLane 1.27' 3) || fail "the first message after an idle drop was not served at once"
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
room_again() {
  release_server
  wait_connections 0 || fail "the server kept the connections that filled it"
}
answer_through_outage reconnect-server-full 816 12 fill_server room_again

stop_agent TERM
