#!/usr/bin/env bash
# Hostile traffic on port 900 from loopback while a prompt waits for its answer: a flood of valid
# messages, connections held open, a trickling sender, 1 MiB in one read, binary zeros and bytes
# that are not Windows-1252. The agent must stay up and responsive with bounded memory and disk.
source "$(dirname "$0")/lib.sh"
flood() { python3 "$(dirname "$0")/flood.py" 900 "$@"; }
peak_memory_kib() { awk '/VmHWM/ {print $2}' "/proc/$agent_pid/status"; }

seed_installation
start_hidden "$ODBCSYSINI"
send '1;815;3;Contrato.doc'
main=$(wait_visible 'CorvelLane 1.27') || fail "no prompt"
start_memory=$(peak_memory_kib)

count=${CORVELLANE_FLOOD_COUNT:-100000}
started=$(date +%s)
flood many "$count"
flood_seconds=$(( $(date +%s) - started ))
flood hold 1000 3 &
holder=$!
held() { [ "$(ss -Htn state established '( sport = :900 )' | wc -l)" -ge 1000 ]; }
wait_for 10 held || fail "the agent did not take 1000 connections"
send '3;ainda atende?' || fail "no connection accepted while 1000 were held"
wait "$holder"
flood trickle 2
head -c 1048576 /dev/urandom >"$work/mebibyte"
flood bytes "$work/mebibyte"
printf '1;815;3;nul\0\0\0bytes\x81\x8d\x8f\x90\x9d\xff' >"$work/binary"
flood bytes "$work/binary"
printf '\0\0\0\0\0\0\0\0' >"$work/zeros"
flood bytes "$work/zeros"
# The agent works through what the kernel queued for it; the last read is the zeros.
for _ in $(seq 1 600); do
  [ "$(grep -c 'Mensagem recebida: ' "$work/agent/Log.txt")" -ge $((count + 5)) ] && break
  kill -0 "$agent_pid" 2>/dev/null || break
  sleep 0.1
done

kill -0 "$agent_pid" 2>/dev/null || fail "the agent died"
[ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "the waiting prompt went away"
received=$(grep -c 'Mensagem recebida: ' "$work/agent/Log.txt" || true)
dropped=$(grep -c 'Mensagem descartada' "$work/agent/Log.txt" || true)
snapshots=$(find "$work/agent" -name 'logfila*.txt' | wc -l)
snapshot_kib=$(du -sk --apparent-size -c "$work"/agent/logfila*.txt | tail -n 1 | cut -f1)
peak=$(peak_memory_kib)
grep -q 'Mensagem recebida: 3;ainda atende?' "$work/agent/Log.txt" || fail "the message sent during the hold was not read"
[ "$snapshots" -le 101 ] || fail "$snapshots snapshot files kept"
[ "$peak" -lt $((start_memory + 200 * 1024)) ] || fail "peak memory grew from $start_memory to $peak KiB"

# Still responsive: the prompt takes its answer and the row is written.
click_at "$main" 30 $((2 + 53 + 84 + 10))
xdotool key ctrl+a type '7'
xdotool key Return
confirm=$(wait_visible Confirm) || fail "the prompt no longer answers"
xdotool windowfocus --sync "$confirm" key Return
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 815' 7 || fail "the answer was lost"

stop_agent TERM
[ "$rc" = 0 ] || fail "SIGTERM gave exit code $rc"
port900_free || fail "port 900 is still taken"
echo "RELIABILITY: sent=$count flood_seconds=$flood_seconds read=$received dropped=$dropped snapshots=$snapshots snapshot_kib=$snapshot_kib peak_kib=$peak start_kib=$start_memory held=1000"
pass "hostile traffic: the agent stays up and answers, with bounded memory and disk"
