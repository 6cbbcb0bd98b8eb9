#!/usr/bin/env bash
# Who may send: with a list in the settings file, a sender on it is served, and one from elsewhere is
# closed unread and logged once a minute. Both senders are on this machine: the second speaks from
# another loopback address (and from the test network's address where the machine has it).
source "$(dirname "$0")/lib.sh"

# send_from SOURCE MESSAGE: sends from that local address and prints "closed" when the agent closed the
# connection without reading, "open" when it kept it.
send_from() {
  python3 - "$1" "$2" <<'PY'
import socket, sys
source, message = sys.argv[1], sys.argv[2]
with socket.socket() as s:
    s.bind((source, 0))
    s.settimeout(3)
    s.connect(("127.0.0.1", 900))
    s.sendall(message.encode("cp1252"))
    try:
        print("closed" if s.recv(1) == b"" else "answered")
    except ConnectionResetError:
        print("closed")
    except socket.timeout:
        print("open")
PY
}
refusals() { grep -c "Conexão de $1 recusada: o endereço não está na lista de remetentes permitidos" "$work/agent/Log.txt" || true; }

seed_installation
printf '# the print-accounting server\nallowed-senders = 127.0.0.1\n' >"$work/settings"
start_agent "$ODBCSYSINI" "$work/settings"
main=$(wait_visible 'CorvelLane 1.27') || fail "no main window"
sleep 0.3
click_at "$main" 239 10
wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"

others=(127.0.0.2)
ip -4 -o addr show | grep -q ' 192\.0\.2\.50/' && others+=(192.0.2.50)
for other in "${others[@]}"; do
  for _ in 1 2; do
    [ "$(send_from "$other" '1;815;3;Intruso.doc')" = closed ] || fail "a sender from $other was not closed"
  done
  [ "$(refusals "$other")" = 1 ] || fail "refusals of $other logged $(refusals "$other") times"
done
grep -q 'Intruso' "$work/agent/Log.txt" && fail "a refused sender's message was read"
sleep 0.5
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "a refused sender's message was shown"
pass "senders from ${others[*]}: closed unread, one log line each"

[ "$(send_from 127.0.0.1 '1;815;3;Contrato.doc')" = open ] || fail "the allowed sender's connection was closed"
wait_visible 'CorvelLane 1.27' >/dev/null || fail "the allowed sender got no prompt"
grep -q 'Mensagem recebida: 1;815;3;Contrato.doc' "$work/agent/Log.txt" || fail "the allowed message was not logged"
pass "the allowed sender is served"

stop_agent TERM
[ "$rc" = 0 ] || fail "SIGTERM gave exit code $rc"
