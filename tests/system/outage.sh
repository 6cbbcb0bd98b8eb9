#!/usr/bin/env bash
# The database server goes away while the agent runs and comes back: every action in between reports
# an error, nothing the server sent or the user typed is lost, and once the server is back the next
# action works without restarting the agent.
source "$(dirname "$0")/lib.sh"

seed_installation
cleanup_steps+=('"$CORVELLANE_TESTDB_SCRIPT" resume')
start_hidden "$ODBCSYSINI"

"$CORVELLANE_TESTDB_SCRIPT" stop >/dev/null
send '1;816;4;Planilha.xls'
sleep 0.5
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "a prompt opened without its cost-centre list"
grep -q 'Mensagem inválida: Exception' "$work/agent/Log.txt" || fail "the failed dispatch was not logged"
grep -q '^1;816;4;Planilha.xls' "$work/agent/logfila0.txt" || fail "the message is not in the snapshot"
pass "server away: the notification is logged and kept in the queue"

"$CORVELLANE_TESTDB_SCRIPT" resume >/dev/null
send '1;817;5;Outro.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt once the server was back"
wait_for 10 size_is "$main" 254 192 || fail "the prompt did not slide in"
answer_prompt 12
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 816' 12 ||
  fail "the kept message was not the one served first"
main=$(wait_visible 'CorvelLane 1.27') || fail "the next pending prompt did not follow"
pass "server back: the kept message is served first and its answer written; the next one follows"

"$CORVELLANE_TESTDB_SCRIPT" stop >/dev/null
answer_prompt 7
box=$(wait_visible CorvelLane) || fail "no failure message"
screenshot outage-failure
xdotool windowfocus --sync "$box" key Return
sleep 0.3
[ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "the prompt went away with the failure"
pass "server away while answering: the failure is reported and the prompt stays"

"$CORVELLANE_TESTDB_SCRIPT" resume >/dev/null
answer_again 817 7
pass "server back: the same answer, as typed, is written without restarting the agent"

stop_agent TERM
[ "$rc" = 0 ] || fail "SIGTERM gave exit code $rc"
