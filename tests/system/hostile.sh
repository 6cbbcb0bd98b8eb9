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
flood many "$count" || fail "the flood was not all sent"
flood_seconds=$(( $(date +%s) - started ))
flood hold 1000 3 &
holder=$!
held() { [ "$(ss -Htn state established '( sport = :900 )' | wc -l)" -ge 1000 ]; }
wait_for 10 held || fail "the agent did not take 1000 connections"
send '3;ainda atende?' || fail "no connection accepted while 1000 were held"
wait "$holder" || fail "the 1000 connections were not all made"
flood trickle 2 || fail "the trickling sender failed"
head -c 1048576 /dev/urandom >"$work/mebibyte"
flood bytes "$work/mebibyte" || fail "the 1 MiB read could not be sent"
printf '1;815;3;nul\0\0\0bytes\x81\x8d\x8f\x90\x9d\xff' >"$work/binary"
flood bytes "$work/binary" || fail "the binary bytes could not be sent"
printf '\0\0\0\0\0\0\0\0' >"$work/zeros"
flood bytes "$work/zeros" || fail "the zeros could not be sent"
# The agent works through what the kernel queued for it, the flood's last connections among the rest.
flood_reads() { grep -c 'Mensagem recebida: 1;9[0-9]*;3;Documento ' "$work/agent/Log.txt" || true; }
wait_for 120 eval '[ "$(flood_reads)" -ge "$count" ] || ! kill -0 "$agent_pid"' ||
  fail "after 120 s the agent had read $(flood_reads) of the $count flood messages"

kill -0 "$agent_pid" 2>/dev/null || fail "the agent died"
[ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "the waiting prompt went away"
received=$(grep -c 'Mensagem recebida: ' "$work/agent/Log.txt" || true)
dropped=$(grep -c 'Mensagem descartada' "$work/agent/Log.txt" || true)
snapshots=$(find "$work/agent" -name 'logfila*.txt' | wc -l)
snapshot_kib=$(du -sk --apparent-size -c "$work"/agent/logfila*.txt | tail -n 1 | cut -f1)
peak=$(peak_memory_kib)
grep -q 'Mensagem recebida: 3;ainda atende?' "$work/agent/Log.txt" || fail "the message sent during the hold was not read"
grep -q 'recusada' "$work/agent/Log.txt" && fail "a loopback sender was refused: $(grep -m1 recusada "$work/agent/Log.txt")"

# Nothing lost: every message of the flood was read and logged once, and each one either waits in the
# queue, which holds its limit of 5,000 with the prompt on screen, or was dropped with a log line of its own.
flood_read=$(grep -ao 'Mensagem recebida: 1;9[0-9]*;3;Documento ' "$work/agent/Log.txt" | sort -u | wc -l)
[ "$flood_read" = "$count" ] || fail "$flood_read of the $count flood messages were read"
flood_dropped=$(awk '/Mensagem recebida: 1;9[0-9]*;3;Documento / { flood = 1; next }
                     /Mensagem descartada/ && flood { n++ } { flood = 0 } END { print n + 0 }' "$work/agent/Log.txt")
newest=$(find "$work/agent" -name 'logfila*.txt' | sed 's/.*logfila\([0-9]*\)\.txt/\1/' | sort -n | tail -n 1)
queued=$(grep -c 'Documento ' "$work/agent/logfila$newest.txt" || true)
# The prompt on screen is one of the 5,000, so 4,999 flood messages find room.
[ "$queued" = $((count < 4999 ? count : 4999)) ] || fail "the queue holds $queued flood messages"
[ $((queued + flood_dropped)) = "$count" ] ||
  fail "$queued queued and $flood_dropped dropped with a log line, of $count sent"

# The bounds: 100 snapshot files, none larger than the full queue's; memory.
[ "$snapshots" -le 100 ] || fail "$snapshots snapshot files kept"
largest=$(find "$work/agent" -name 'logfila*.txt' -printf '%s\n' | sort -n | tail -n 1)
[ "$largest" -le "$(stat -c %s "$work/agent/logfila$newest.txt")" ] || fail "a snapshot of $largest bytes outgrew the full queue's"
[ "$peak" -lt $((start_memory + 200 * 1024)) ] || fail "peak memory grew from $start_memory to $peak KiB"

# Still responsive: the prompt takes its answer and the row is written.
answer_prompt 7
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 815' 7 || fail "the answer was lost"

stop_agent TERM
port900_free || fail "port 900 is still taken"
echo "RELIABILITY: sent=$count flood_seconds=$flood_seconds read=$received queued=$queued dropped=$dropped snapshots=$snapshots snapshot_kib=$snapshot_kib peak_kib=$peak start_kib=$start_memory held=1000"
pass "hostile traffic: the agent stays up and answers, with bounded memory and disk"
