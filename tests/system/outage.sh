#!/usr/bin/env bash
# The database server goes away while the agent runs and comes back: every action in between reports
# an error, nothing the server sent or the user typed is lost, and once the server is back the next
# action works without restarting the agent.
source "$(dirname "$0")/lib.sh"

seed_installation
stop_server() { "$CORVELLANE_TESTDB_SCRIPT" stop >/dev/null; }
resume_server() { "$CORVELLANE_TESTDB_SCRIPT" resume >/dev/null; }
cleanup_steps+=('"$CORVELLANE_TESTDB_SCRIPT" resume')
start_hidden "$ODBCSYSINI"

stop_server
send '1;816;4;Planilha.xls'
wait_for 10 grep -q 'Mensagem inválida: Exception' "$work/agent/Log.txt" || fail "the failed dispatch was not logged"
wait_for 10 grep -q '^1;816;4;Planilha.xls' "$work/agent/logfila0.txt" || fail "the message is not in the snapshot"
sleep 0.5
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "a prompt opened without its cost-centre list"
pass "server away: the notification is logged and kept in the queue"

resume_server
send '1;817;5;Outro.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt once the server was back"
wait_for 10 size_is "$main" 254 192 || fail "the prompt did not slide in"
answer_prompt 12
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 816' 12 ||
  fail "the kept message was not the one served first"
main=$(wait_visible 'CorvelLane 1.27') || fail "the next pending prompt did not follow"
pass "server back: the kept message is served first and its answer written; the next one follows"

answer_through_outage outage-failure 817 7 stop_server resume_server

stop_agent TERM
