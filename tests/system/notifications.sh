#!/usr/bin/env bash
# A notification's road through the real program, driven as the server and a person would: the tray
# host runs, the server sends on port 900, the user answers the prompt with the keyboard.
source "$(dirname "$0")/lib.sh"

seed_installation
start_tray_host

start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27') || fail "no main window"
wait_for 10 size_is "$main" 254 185 || fail "main window is $(geometry "$main")"
read -r x y w h <<<"$(geometry "$main")"
[ $((x + w)) = $((1280 - 2)) ] || fail "right edge at $((x + w))"
screenshot notifications-start
pass "the panel slides in to 254x185 at the right edge"

click_at "$main" 239 10 # the header's "X"
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
pass "X hides the window; the program goes on"

send '1;815;3;Contrato de prestação.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "the prompt did not come up"
wait_for 10 size_is "$main" 254 192 || fail "the cost-centre prompt is $(geometry "$main")"
screenshot notifications-prompt
grep -q 'Mensagem recebida: 1;815;3;Contrato de prestação.doc' "$work/agent/Log.txt" || fail "not logged: $(cat "$work/agent/Log.txt")"
[ -f "$work/agent/logfila0.txt" ] || fail "no snapshot file"
pass "a kind-1 message is logged, saved and opens the cost-centre prompt"

# The code field is at 6,84 of the prompt, under the 53-pixel header and the 2-pixel frame.
click_at "$main" 30 $((2 + 53 + 84 + 10))
xdotool key ctrl+a type '007'
xdotool key Return
confirm=$(wait_visible Confirm) || fail "no confirmation"
screenshot notifications-confirm
xdotool windowfocus --sync "$confirm" key Return
wait_hidden 'CorvelLane 1.27' || fail "the window stayed after Yes"
[ "$(db_value 'select cod_centro_custo from impressoes where cod_impressoes = 815')" = 7 ] ||
  fail "job 815 holds $(db_value 'select cod_centro_custo from impressoes where cod_impressoes = 815')"
[ "$(db_value 'select count(*) from impressoes where cod_centro_custo is not null')" = 1 ] || fail "other rows changed"
pass "typed code, Enter and Yes write job 815 only and hide the window"

send '10;Sua cota mensal está acabando'
sleep 0.5
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "a notice opened the window"
screenshot notifications-balloon
pass "a notice leaves the window hidden"

# The session can end while a prompt waits for its answer: the prompt must not hold the program up.
send '4;816;2;Memorando.doc'
wait_visible 'CorvelLane 1.27' >/dev/null || fail "the observation prompt did not come up"
stop_agent TERM "a prompt on screen"
port900_free || fail "port 900 is still taken"
pass "SIGTERM ends the program with 0 and frees port 900, also with a prompt on screen"
