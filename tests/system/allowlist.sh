#!/usr/bin/env bash
# Who may send: with a list in the settings file, a sender on it is served, and one from elsewhere is
# closed unread and logged once a minute. The senders speak from a network namespace of the test's own,
# joined to this machine by a veth pair, so that they have addresses of their own over IPv4 and IPv6;
# one more speaks from another loopback address of this machine.
source "$(dirname "$0")/lib.sh"

[ "$(id -u)" = 0 ] || skip "the senders' network namespace needs root"
# Documentation ranges, which must not be this machine's own already.
agent_v4=198.51.100.1 agent_v6=2001:db8:c0de::1
listed=198.51.100.50
unlisted_v4=198.51.100.51 unlisted_v6=2001:db8:c0de::51 unlisted_mapped=198.51.100.52
if ip -o addr show | grep -Eq ' (198\.51\.100\.|2001:db8:c0de:)'; then
  fail "this machine already has an address of 198.51.100.0/24 or 2001:db8:c0de::/64"
fi

unshare -n sleep infinity &
senders_ns=$!
host_end=cvl$$h
cleanup_steps+=("kill $senders_ns" "ip link del $host_end 2>/dev/null")
wait_for 5 eval '[ "$(readlink /proc/$senders_ns/ns/net)" != "$(readlink /proc/self/ns/net)" ]' ||
  fail "no network namespace for the senders"
ip link add "$host_end" type veth peer name cvl$$n netns "$senders_ns"
ip addr add "$agent_v4/24" dev "$host_end"
ip addr add "$agent_v6/64" dev "$host_end" nodad
ip link set "$host_end" up
nsenter -t "$senders_ns" -n sh -ec "
  ip link set lo up
  for a in $listed $unlisted_v4 $unlisted_mapped; do ip addr add \$a/24 dev cvl$$n; done
  ip addr add $unlisted_v6/64 dev cvl$$n nodad
  ip link set cvl$$n up"

# send_from SOURCE MESSAGE: sends from that address and prints "closed" when the agent closed the
# connection without reading, "open" when it kept it. A source of the form ::ffff:a.b.c.d is an IPv6
# socket speaking IPv4; loopback sources speak from this machine's own namespace.
send_from() {
  local in_namespace=(nsenter -t "$senders_ns" -n)
  [[ $1 == 127.* ]] && in_namespace=()
  "${in_namespace[@]}" python3 - "$1" "$2" "$agent_v4" "$agent_v6" <<'PY'
import socket, sys
source, message, agent_v4, agent_v6 = sys.argv[1:]
if source.startswith("::ffff:"):
    family, agent = socket.AF_INET6, "::ffff:" + agent_v4
elif ":" in source:
    family, agent = socket.AF_INET6, agent_v6
else:
    family, agent = socket.AF_INET, "127.0.0.1" if source.startswith("127.") else agent_v4
with socket.socket(family) as s:
    s.bind((source, 0))
    s.settimeout(3)
    s.connect((agent, 900))
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
printf '# the print-accounting server\nallowed-senders = %s\n' "$listed" >"$work/settings"
start_hidden "$ODBCSYSINI" "$work/settings"

for other in 127.0.0.2 "$unlisted_v4" "$unlisted_v6" "::ffff:$unlisted_mapped"; do
  for _ in 1 2; do
    [ "$(send_from "$other" '1;815;3;Intruso.doc')" = closed ] || fail "a sender from $other was not closed"
  done
  logged=${other#::ffff:}
  [ "$(refusals "$logged")" = 1 ] || fail "refusals of $other logged $(refusals "$logged") times"
done
grep -q 'Intruso' "$work/agent/Log.txt" && fail "a refused sender's message was read"
sleep 0.5
[ -z "$(visible_window 'CorvelLane 1.27')" ] || fail "a refused sender's message was shown"
pass "senders from loopback, IPv4, IPv6 and IPv4-mapped IPv6 addresses not listed: closed unread, one log line each"

[ "$(send_from "$listed" '1;815;3;Contrato.doc')" = open ] || fail "the listed sender's connection was closed"
wait_visible 'CorvelLane 1.27' >/dev/null || fail "the listed sender got no prompt"
grep -q 'Mensagem recebida: 1;815;3;Contrato.doc' "$work/agent/Log.txt" || fail "the listed sender's message was not logged"
pass "the listed sender, from an address of its own, gets its prompt"

stop_agent TERM
