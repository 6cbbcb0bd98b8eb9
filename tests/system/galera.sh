#!/usr/bin/env bash
# The building's database as a three-node MariaDB Galera cluster behind HAProxy, on loopback addresses
# of its own (the proxy on 127.0.0.10, the nodes on 127.0.0.11 to .13). The agent registers through
# the proxy; the node its connection is on is killed while it idles, and again while a prompt waits;
# each time the next answer is written exactly once on the surviving nodes, never reported as failed.
# Prints how long the agent's window waited on each answer while the cluster re-formed.
source "$(dirname "$0")/lib.sh"

for tool in haproxy rsync /usr/bin/wsrep_sst_rsync /usr/lib/galera/libgalera_smm.so; do
  command -v "$tool" >/dev/null || [ -e "$tool" ] || skip "$tool is missing (scripts/install-deps installs it)"
done
[ "$(id -u)" -eq 0 ] || skip "the joiners' state transfer runs its rsync daemon as nobody: start the nodes as root"

repo=$(cd "$(dirname "$0")/../.." && pwd)
proxy=127.0.0.10
nodes=(127.0.0.11 127.0.0.12 127.0.0.13)
node_pids=()
cleanup_steps+=('for pid in "${node_pids[@]}" $(cat "$work/haproxy.pid" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done')

node_sql() { mariadb --no-defaults --socket="$work/node$1/sock" -uroot -N -B "${@:2}"; }
node_state() { node_sql "$1" -e "SHOW STATUS LIKE 'wsrep_local_state_comment'" 2>/dev/null | cut -f2; }
cluster_size() { node_sql "$1" -e "SHOW STATUS LIKE 'wsrep_cluster_size'" 2>/dev/null | cut -f2; }

# start_node N [--wsrep-new-cluster]: node N (1 to 3) on its own address, waiting until it is Synced.
start_node() {
  local n=$1 address=${nodes[$1 - 1]} dir=$work/node$1
  shift
  mkdir -p "$dir/data"
  # A joiner's rsync daemon runs as nobody and writes the state it receives into the data folder.
  [ $# -gt 0 ] || chown -R nobody "$dir/data"
  mariadbd --no-defaults --user=root --datadir="$dir/data" --socket="$dir/sock" --pid-file="$dir/pid" \
    --bind-address="$address" --port=3306 --skip-name-resolve --log-error="$dir/err.log" \
    --innodb-buffer-pool-size=32M --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
    --binlog-format=ROW --default-storage-engine=InnoDB --innodb-autoinc-lock-mode=2 \
    --wsrep-on=ON --wsrep-provider=/usr/lib/galera/libgalera_smm.so --wsrep-cluster-name=corvellane \
    --wsrep-cluster-address="gcomm://${nodes[0]},${nodes[1]},${nodes[2]}" --wsrep-node-address="$address" \
    --wsrep-provider-options="gmcast.listen_addr=tcp://$address:4567;ist.recv_addr=$address:4568;gcache.size=32M" \
    --wsrep-sst-method=rsync --wsrep-sst-receive-address="$address:4444" \
    --wsrep-retry-autocommit=1 --wsrep-sync-wait=3 "$@" </dev/null >/dev/null 2>&1 &
  node_pids[$n]=$!
  disown "$!" # killed on purpose: no job report

  wait_for 90 eval '[ "$(node_state '"$n"')" = Synced ]' || fail "node $n did not join: $(tail -n 20 "$dir/err.log")"
}

# A node's own view of a query; every node must agree.
on_every_node() {
  local n
  for n in "$@"; do echo "node $n: $(node_sql "$n" CORVELLANE -e "$query")"; done
}

mkdir -p "$work/node1/data"
mariadb-install-db --no-defaults --datadir="$work/node1/data" --user=root --auth-root-authentication-method=normal \
  --skip-test-db --skip-name-resolve >"$work/install.log" 2>&1 || fail "install-db: $(cat "$work/install.log")"
started=$SECONDS
start_node 1 --wsrep-new-cluster
node_sql 1 -e "CREATE DATABASE CORVELLANE CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
  CREATE USER 'corvellane'@'%' IDENTIFIED BY 'mabel7';
  CREATE USER 'haproxy_check'@'%';"
node_sql 1 CORVELLANE <"$repo/db/schema.sql"
node_sql 1 CORVELLANE <"$repo/db/grants.sql"
# Every execution of an update of a job is counted, so that "written once" is seen, not supposed.
node_sql 1 CORVELLANE -e "CREATE TABLE escritas (id INT AUTO_INCREMENT PRIMARY KEY, cod_impressoes INT, cod_centro_custo INT);
  CREATE TRIGGER conta_escritas AFTER UPDATE ON impressoes FOR EACH ROW
    INSERT INTO escritas (cod_impressoes, cod_centro_custo) VALUES (NEW.cod_impressoes, NEW.cod_centro_custo);"
start_node 2
start_node 3
[ "$(cluster_size 3)" = 3 ] || fail "the cluster has $(cluster_size 3) nodes"

cat >"$work/haproxy.cfg" <<CFG
global
  maxconn 256
defaults
  mode tcp
  timeout connect 1s
  timeout client 8h
  timeout server 8h
  retries 2
  option redispatch 1
listen corvellane
  bind $proxy:3306
  balance first
  option mysql-check user haproxy_check
  default-server inter 500ms fall 2 rise 2
  server node1 ${nodes[0]}:3306 check
  server node2 ${nodes[1]}:3306 check
  server node3 ${nodes[2]}:3306 check
CFG
haproxy -D -f "$work/haproxy.cfg" -p "$work/haproxy.pid" || fail "haproxy did not start"
echo "cluster of 3 and proxy up in $((SECONDS - started)) s"

# The agent's data source names the proxy alone.
export CORVELLANE_TESTDB_SCRIPT=$work/cluster-sql
printf '#!/bin/sh\n[ "$1" = sql ] && shift\nexec mariadb --no-defaults --socket="%s" -uroot "$@"\n' "$work/node3/sock" \
  >"$CORVELLANE_TESTDB_SCRIPT"
chmod +x "$CORVELLANE_TESTDB_SCRIPT"
seed_installation
odbc=$(odbc_config galera Server=$proxy Port=3306)
start_hidden "$odbc"
query="SELECT count(*) FROM instancia WHERE cod_usuario = 1"
[ "$(on_every_node 1 2 3 | grep -c ': 1$')" = 3 ] || fail "registration: $(on_every_node 1 2 3)"
pass "the agent registered through the proxy; every node holds its row"

# node_in_use: the node that holds the agent's connection.
node_in_use() {
  local n
  for n in 1 2 3; do
    [ "$(node_sql "$n" -e "SELECT count(*) FROM information_schema.processlist WHERE user = 'corvellane'" 2>/dev/null)" = 1 ] &&
      echo "$n" && return
  done
  return 0
}

# answer_timed JOB CODE: answers the open prompt and prints how long, in ms, the window stayed after
# Yes; no message box may come with it, and the job's update must have run exactly once on each of the
# nodes given in $alive.
answer_timed() {
  click_at "$main" 30 $((2 + 53 + 84 + 10))
  xdotool key ctrl+a type "$2"
  xdotool key Return
  local confirm since
  confirm=$(wait_visible Confirm) || fail "job $1: no confirmation"
  since=$(now_ms)
  xdotool windowfocus --sync "$confirm" key Return
  wait_hidden 'CorvelLane 1.27' 30 || fail "job $1: the prompt stayed after Yes"
  waited=$(($(now_ms) - since))
  [ -z "$(visible_window CorvelLane)" ] || fail "job $1: a message box came with the answer"
  query="SELECT concat(count(*), ' ', coalesce(max(cod_centro_custo), '-')) FROM escritas WHERE cod_impressoes = $1"
  local n expected="1 $2"
  for n in $alive; do
    wait_for 10 eval '[ "$(node_sql '"$n"' CORVELLANE -e "$query")" = "$expected" ]' ||
      fail "job $1 on node $n (count, code): $(on_every_node $alive)"
  done
}

# 1. A baseline answer on the whole cluster.
send '1;815;3;Antes.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt for job 815"
alive="1 2 3"
answer_timed 815 7
baseline=$waited
pass "an answer reaches every node once (window waited $baseline ms after Yes)"

# 2. The node in use crashes while the agent idles; the next message and its answer come at once.
victim=$(node_in_use)
[ -n "$victim" ] || fail "no node holds the agent's connection"
kill -KILL "${node_pids[$victim]}"
alive=$(for n in 1 2 3; do [ "$n" = "$victim" ] || printf '%s ' "$n"; done)
since=$(now_ms)
send '1;816;4;Idle.doc'
main=$(wait_visible 'CorvelLane 1.27' 20) || fail "no prompt after node $victim crashed"
opened=$(($(now_ms) - since))
answer_timed 816 12
idle_wait=$waited
pass "node $victim killed while idle: the next prompt opened after $opened ms, its answer written once on nodes $alive (window waited $idle_wait ms)"

# The crashed node comes back (its data folder handed to the state transfer), so that the cluster can
# lose one more.
start_node "$victim"
[ "$(cluster_size "$victim")" = 3 ] || fail "node $victim rejoined a cluster of $(cluster_size "$victim")"

# 3. The node in use crashes while a prompt waits; the user answers at once.
send '1;817;5;Prompt.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt for job 817"
victim=$(node_in_use)
[ -n "$victim" ] || fail "no node holds the agent's connection"
kill -KILL "${node_pids[$victim]}"
alive=$(for n in 1 2 3; do [ "$n" = "$victim" ] || printf '%s ' "$n"; done)
answer_timed 817 7
prompt_wait=$waited
pass "node $victim killed while a prompt waited: its answer written once on nodes $alive (window waited $prompt_wait ms)"

query="SELECT count(*) FROM escritas"
[ "$(on_every_node $alive | grep -c ': 3$')" = 2 ] || fail "writes on the surviving nodes: $(on_every_node $alive)"
# The log holds the messages received and nothing else: no answer without effect, no database error.
unexpected=$(tr -d '\r' <"$work/agent/Log.txt" | grep -v -e ' - Mensagem recebida: ' -e ' - Remetentes permitidos: ' || true)
[ -z "$unexpected" ] || fail "logged: $unexpected"
echo "window wait after Yes: whole cluster $baseline ms; node killed while idle $idle_wait ms (prompt opened after $opened ms); while a prompt waited $prompt_wait ms"
# Each wait ends within the agent's read limit (10 s): a longer one would have been cut off as a failure.
for ms in "$baseline" "$opened" "$idle_wait" "$prompt_wait"; do
  [ "$ms" -le 10000 ] || fail "the window waited $ms ms, past the 10 s read limit"
done
stop_agent TERM
