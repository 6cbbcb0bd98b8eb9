#!/usr/bin/env bash
# The database server stalls: paused with SIGSTOP, which is what a stuck host, a full disk on the server or
# a firewall that silently drops the packets look like from a workstation. The kernel still completes
# connections to it, and nothing ever answers. At start-up, while the agent idles before a notification,
# and between the confirmation of an answer and its write, the agent must come back within its time
# limits (5 s to connect, 10 s a read), read port 900 again, lose nothing, and work once the server resumes (SIGCONT).
source "$(dirname "$0")/lib.sh"

server=$(cat "$CORVELLANE_TESTDB_DIR/mysqld.pid")
kill -0 "$server" || fail "the test server is not running"
# A server left paused would hang every later test: it is resumed whatever ends this one.
cleanup_steps+=("kill -CONT $server")
trap 'exit 1' TERM INT HUP
pause_server() { kill -STOP "$server"; }
resume_server() { kill -CONT "$server"; }

# The agent's longest wait on the stalled server, as a user or port 900 sees it; each within LIMIT s.
longest=0
frozen() {
  local label=$1 ms=$2 limit=$3
  echo "frozen: $label: $ms ms"
  [ "$ms" -le $((limit * 1000)) ] || fail "$label: the agent did not answer for $ms ms, past $limit s"
  [ "$ms" -le "$longest" ] || longest=$ms
}

log=$work/agent/Log.txt
received() { grep -ao 'Mensagem recebida: 1;[0-9]*' "$log" | cut -d';' -f2 | tr '\n' ' '; }

# answer_next JOB: the prompt on screen is JOB's: answered with code 7, its row (and only it) is written.
answer_next() {
  main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt for job $1"
  wait_for 10 size_is "$main" 254 192 || fail "the prompt for job $1 did not slide in"
  answer_prompt 7
  wait_for 10 db_is "select cod_centro_custo from impressoes where cod_impressoes = $1" 7 ||
    fail "the prompt answered was not job $1's"
}

seed_installation
root_sql "INSERT INTO CORVELLANE.impressoes (cod_impressoes, cod_usuario, cod_impressora, cod_status_impressao,
            data_impressao, paginas) VALUES (818, 1, 1, 1, CURRENT_DATE, 6), (819, 1, 1, 1, CURRENT_DATE, 7),
            (820, 1, 1, 1, CURRENT_DATE, 8);"

# 1. Paused before the agent starts: the standard connection failure, within the connection limit.
pause_server
expect_connection_failure "start-up" "$ODBCSYSINI"
frozen "start-up, to the failure box" "$box_after_ms" 10
resume_server
pass "server paused at start-up: one box, one log line, exit code 0, after $box_after_ms ms"

# 2. Paused while the agent idles: a notification's dispatch waits one limit and fails; the messages that
#    arrived meanwhile are read right after, in order, and all are served once the server is back.
start_hidden "$ODBCSYSINI"
pause_server
started=$(now_ms)
send '1;815;3;Contrato.doc'
sleep 0.5
send '1;816;4;Planilha.xls'
send '1;817;5;Outro.doc'
wait_for 25 eval '[ "$(received)" = "815 816 817 " ]' || fail "idle: read from port 900: $(received)"
frozen "idle, a notification's dispatch, to port 900 read again" $(($(now_ms) - started)) 13
grep -q 'Mensagem inválida: Exception' "$log" || fail "idle: the failed dispatch was not logged"
[ "$(cat "$work/agent/logfila2.txt")" = $'1;815;3;Contrato.doc\r\n1;816;4;Planilha.xls\r\n1;817;5;Outro.doc\r' ] ||
  fail "idle: the queue's snapshot is $(cat -A "$work/agent/logfila2.txt")"
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "idle: a prompt opened without its cost-centre list"
kill -0 "$agent_pid" || fail "idle: the agent ended"
pass "server paused while idle: the dispatch gave up in time, the three messages were read in order and kept"

resume_server
sleep 1 # after a wait that ran out, the agent gives the server 1 s before it waits on it again
send '1;818;3;Depois.doc'
for job in 815 816 817 818; do answer_next "$job"; done
wait_hidden 'CorvelLane 1.27' || fail "idle: the window stayed after the last answer"
pass "server resumed: the kept messages and the new one were served in the order they came, each written once"

# 3. Paused between the confirmation and the write: the write is not sent, the user is told, the prompt and
#    the code typed stay, a message that arrives meanwhile is read after the wait; the same answer goes
#    through once the server is back.
send '1;819;3;Final.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt for job 819"
wait_for 10 size_is "$main" 254 192 || fail "the prompt for job 819 did not slide in"
click_at "$main" 30 $((2 + 53 + 84 + 10))
xdotool key ctrl+a type 12
xdotool key Return
confirm=$(wait_visible Confirm) || fail "write: no confirmation"
pause_server
started=$(now_ms)
xdotool windowfocus --sync "$confirm" key Return
sleep 0.5
send '1;820;3;Durante.doc'
box=$(wait_visible CorvelLane 20) || fail "write: no failure message"
frozen "the write's liveness check, to the failure message" $(($(now_ms) - started)) 13
wait_for 5 eval '[ "$(received)" = "815 816 817 818 819 820 " ]' || fail "write: read from port 900: $(received)"
screenshot stall-write
xdotool windowfocus --sync "$box" key Return
wait_hidden CorvelLane || fail "write: the message stayed"
[ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "write: the prompt went away with the failure"
resume_server
sleep 1
db_is 'select cod_centro_custo from impressoes where cod_impressoes = 819' NULL || fail "write: job 819 was written"
click_at "$main" 30 $((2 + 53 + 84 + 10))
xdotool key Return # the code typed before the failure, as it stayed
confirm=$(wait_visible Confirm) || fail "write: no confirmation for the second try"
xdotool windowfocus --sync "$confirm" key Return
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 819' 12 ||
  fail "write: job 819 was not written on the second try"
answer_next 820
pass "server paused before the write: reported, nothing written, the prompt kept; written once the server was back"

stop_agent TERM

# 4. A time limit that the data source sets itself wins over the agent's 10 s.
short=$(odbc_config short READ_TIMEOUT=2)
start_hidden "$short"
pause_server
started=$(now_ms)
send '1;815;3;Contrato.doc'
wait_for 10 eval '[ "$(grep -c "Mensagem inválida: Exception" "$log")" = 1 ]' || fail "short limit: no failed dispatch"
waited=$(($(now_ms) - started))
[ "$waited" -lt 4000 ] || fail "short limit: the dispatch waited $waited ms, not the data source's 2 s"
resume_server
stop_agent TERM
pass "the data source's READ_TIMEOUT=2 ended the wait after $waited ms"
echo "longest freeze: $longest ms"
