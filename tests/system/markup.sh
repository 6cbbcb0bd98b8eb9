#!/usr/bin/env bash
# A document name that holds markup, as anyone who reaches port 900 could send it: the prompt shows
# the text as it stands, draws no picture and never opens the file that the text names.
source "$(dirname "$0")/lib.sh"

seed_installation
start_hidden "$ODBCSYSINI"

picture=$work/bait.png
/usr/bin/convert -size 40x12 xc:'#ff0000' "$picture"
inotifywait -m -e open,access --format '%e' "$picture" >"$work/opened" 2>"$work/watching" &
cleanup_steps+=("kill $! 2>/dev/null")
wait_for 10 grep -q 'Watches established' "$work/watching" || fail "inotifywait did not start"

message="1;815;3;<b>Relat</b><img src=$picture>.doc"
send "$message"
main=$(wait_visible 'CorvelLane 1.27') || fail "the prompt did not come up"
wait_for 10 size_is "$main" 254 192 || fail "the prompt did not slide in"
screenshot markup-prompt
grep -qF "Mensagem recebida: $message" "$work/agent/Log.txt" || fail "not logged as received"
[ ! -s "$work/opened" ] || fail "the agent opened the file the message names: $(tr '\n' ' ' <"$work/opened")"
import -window "$main" "$work/prompt.png"
if /usr/bin/convert "$work/prompt.png" -format %c histogram:info:- | grep -qi '#FF0000'; then
  fail "the prompt drew the picture the message names"
fi
pass "markup in a document name is neither drawn nor followed"

# The message is a real prompt all the same: answering it writes the job's row.
answer_prompt 7
wait_hidden 'CorvelLane 1.27' || fail "the window stayed after Yes"
[ "$(db_value 'select cod_centro_custo from impressoes where cod_impressoes = 815')" = 7 ] || fail "job 815 not written"
[ ! -s "$work/opened" ] || fail "the confirmation opened the file"
pass "the prompt is answered as any other"

stop_agent TERM
pass "SIGTERM ends the agent with 0"
