# Shared pieces of the end-to-end tests: each runs the real corvellane binary, copied into a folder of
# its own (Log.txt is written next to the executable), on the X display that xvfb-run gives it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/skip.sh"

binary=$1
work=$(mktemp -d)
agent_pid=
cleanup_steps=()
on_exit() {
  local status=$?
  # A test that passed with the agent still running never heard how it ends (nor did LeakSanitizer).
  if [ -n "$agent_pid" ] && kill -0 "$agent_pid" 2>/dev/null; then
    kill -KILL "$agent_pid" 2>/dev/null || true
    [ "$status" != 0 ] || { echo "FAIL: the test ended with the agent still running" >&2; status=1; }
  fi
  local step
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$work"
  exit "$status"
}
trap on_exit EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

# The real program listens on port 900, which only root (or a binary given the right) may bind: for
# anyone else these tests are skipped (failed in CI). A port that is merely taken is a failure.
port900_refusal=$(python3 - <<'PY'
import errno, socket
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
try:
    s.bind(("0.0.0.0", 900))
except OSError as e:
    print("denied" if e.errno in (errno.EACCES, errno.EPERM) else "taken")
PY
)
[ "$port900_refusal" != denied ] ||
  skip "this user may not listen on port 900 (run as root, or lower net.ipv4.ip_unprivileged_port_start)"
[ "$port900_refusal" != taken ] || { echo "FAIL: port 900 is taken by another program" >&2; exit 1; }

root_sql() { "$CORVELLANE_TESTDB_SCRIPT" sql -e "$1"; }

# odbc_config NAME KEY=VALUE...: a private driver-manager configuration whose data source "CorvelLane"
# is the test server's with the given keys replaced (an empty value removes the key).
odbc_config() {
  local dir=$work/odbc-$1
  shift
  mkdir -p "$dir"
  cp "$ODBCSYSINI/odbcinst.ini" "$dir/"
  cp "$ODBCSYSINI/odbc.ini" "$dir/"
  local pair key value
  for pair in "$@"; do
    key=${pair%%=*}
    value=${pair#*=}
    sed -i "/^$key=/d" "$dir/odbc.ini"
    [ -n "$value" ] && echo "$key=$value" >>"$dir/odbc.ini"
  done
  echo "$dir"
}

# start_agent ODBCSYSINI [SETTINGS]: launches a fresh copy of the agent in $work/agent, with that
# settings file beside it when one is given.
start_agent() {
  rm -rf "$work/agent"
  mkdir -p "$work/agent"
  cp "$binary" "$work/agent/corvellane"
  cp -r "$(dirname "$binary")/Imagens" "$work/agent/"
  [ -z "${2:-}" ] || cp "$2" "$work/agent/corvellane.conf"
  (cd "$work/agent" && ODBCSYSINI=$1 exec ./corvellane) &
  agent_pid=$!
}

now_ms() { echo $((${EPOCHREALTIME//[!0-9]/} / 1000)); }

# wait_for SECONDS COMMAND...: polls until the command succeeds; false once SECONDS have passed on the
# clock, however long each try takes.
wait_for() {
  local deadline=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "${EPOCHREALTIME//[!0-9]/}" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# size_is ID WIDTH HEIGHT: whether a window has that size (the slide-in has ended).
size_is() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  [ "$w $h" = "$2 $3" ]
}

# db_is SQL VALUE: whether the statement answers that value.
db_is() { [ "$(db_value "$1")" = "$2" ]; }

# start_tray_host: an XEmbed tray (trayer) at the top of the screen, ready when this returns. A host that
# shows no window in 10 s is started once more, and a second miss fails with what both runs printed.
start_tray_host() {
  local try pid
  for try in 1 2; do
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true --SetPartialStrut true \
      --transparent false --tint 0x808080 >"$work/trayer-$try.log" 2>&1 &
    pid=$!
    cleanup_steps+=("kill $pid 2>/dev/null")
    wait_for 10 xdotool search --classname '^trayer$' && return 0
    kill -0 "$pid" 2>/dev/null && echo "the tray host runs without a window after 10 s" >>"$work/trayer-$try.log"
    kill "$pid" 2>/dev/null || true
  done
  fail "the tray host did not start: $(tail -n 20 "$work"/trayer-*.log)"
}

# answer_again JOB CODE: Enter in the open prompt's code field, which still holds the code typed
# before, then Yes; the window must hide and the job's row hold the code.
answer_again() {
  click_at "$main" 30 $((2 + 53 + 84 + 10))
  xdotool key Return
  local confirm
  confirm=$(wait_visible Confirm) || fail "no confirmation for job $1"
  xdotool windowfocus --sync "$confirm" key Return
  wait_hidden 'CorvelLane 1.27' || fail "the window stayed after Yes"
  wait_for 10 db_is "select cod_centro_custo from impressoes where cod_impressoes = $1" "$2" ||
    fail "job $1 was not written"
}

# answer_through_outage LABEL JOB CODE BREAK MEND: the prompt for JOB is open in window $main; the
# command BREAK takes the database server away, then the user answers CODE: a message box reports the
# failure and the prompt stays. Once the command MEND has brought the server back, the job is still
# unwritten and the same answer, as typed, goes through without restarting the agent.
answer_through_outage() {
  local label=$1 job=$2 code=$3 box
  $4
  answer_prompt "$code"
  box=$(wait_visible CorvelLane) || fail "$label: no failure message"
  screenshot "$label"
  xdotool windowfocus --sync "$box" key Return
  wait_hidden CorvelLane || fail "$label: the message stayed"
  [ -n "$(visible_window 'CorvelLane 1.27')" ] || fail "$label: the prompt went away with the failure"
  pass "$label: the failure is reported and the prompt stays"
  $5
  db_is "select cod_centro_custo from impressoes where cod_impressoes = $job" NULL || fail "$label: job $job was written"
  answer_again "$job" "$code"
  pass "$label: once the server is back, the same answer, as typed, is written without restarting the agent"
}

# start_hidden ODBCSYSINI [SETTINGS]: launches the agent and hides its panel with the header's "X", as it
# waits most of the day.
start_hidden() {
  start_agent "$@"
  local main
  main=$(wait_visible 'CorvelLane 1.27') || fail "no main window"
  wait_for 10 size_is "$main" 254 185 || fail "the panel did not slide in"
  click_at "$main" 239 10
  wait_hidden 'CorvelLane 1.27' || fail "X did not hide the window"
}

# wait_window TITLE [SECONDS]: prints the id of the agent's window with exactly that title.
wait_window() {
  timeout "${2:-20}" xdotool search --sync --all --pid "$agent_pid" --name "^$1\$" | head -n 1
}

has_window() { xdotool search --all --pid "$agent_pid" --name "^$1\$" >/dev/null 2>&1; }

# stop_agent SIGNAL [LABEL]: sends the signal and waits; the agent must end with exit code 0.
stop_agent() {
  kill -"$1" "$agent_pid"
  wait_exit
  [ "$rc" = 0 ] || fail "${2:+$2: }SIG$1 gave exit code $rc"
}

# wait_exit [SECONDS]: waits for the agent to end (killing it after the time) and sets $rc.
wait_exit() {
  local waited=0
  while kill -0 "$agent_pid" 2>/dev/null && [ "$waited" -lt "${1:-200}" ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  kill -0 "$agent_pid" 2>/dev/null && kill -KILL "$agent_pid"
  rc=0
  wait "$agent_pid" || rc=$?
  agent_pid=
}

# log_lines: the events in the log besides the start-up's line on who may send (startup.sh checks it).
log_lines() {
  if [ -f "$work/agent/Log.txt" ]; then
    awk '/\r$/ && !/ - Remetentes permitidos: / { n++ } END { print n + 0 }' "$work/agent/Log.txt"
  else
    echo 0
  fi
}

# The agent as a person sees it on the virtual display.
visible_window() { xdotool search --all --onlyvisible --pid "$agent_pid" --name "^$1\$" 2>/dev/null | head -n 1; }

# wait_visible TITLE [SECONDS]: prints the id of the agent's visible window with that title, waiting up
# to SECONDS (10 unless given).
wait_visible() {
  local title=$1 id
  wait_for "${2:-10}" eval 'id=$(visible_window "$title") && [ -n "$id" ]' || return 1
  echo "$id"
}

# wait_hidden TITLE [SECONDS]: waits until the agent shows no window with that title.
wait_hidden() {
  local title=$1
  wait_for "${2:-10}" eval '[ -z "$(visible_window "$title")" ]'
}

# wait_gone TITLE [SECONDS]: waits until the agent has no window with that title, mapped or not.
wait_gone() {
  local title=$1
  wait_for "${2:-10}" eval '! has_window "$title"'
}

# geometry ID: prints "X Y WIDTH HEIGHT" of a window.
geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

# click_at ID X Y: a left click at a point of a window, as a person's mouse would.
click_at() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# window_text ID: the text a person reads on a window, read off its pixels (enlarged for the OCR, which
# drops accents: "Usuário" reads "Usuario").
window_text() {
  import -window "$1" -resize 400% -colorspace Gray "$work/read.png" 2>/dev/null &&
    OMP_THREAD_LIMIT=1 tesseract "$work/read.png" - 2>/dev/null
}

# screenshot NAME: keeps the whole screen as a test artefact.
screenshot() {
  [ -n "${CORVELLANE_ARTEFACTS:-}" ] || return 0
  mkdir -p "$CORVELLANE_ARTEFACTS"
  import -window root "$CORVELLANE_ARTEFACTS/$1.png" 2>/dev/null || true
}

# answer_prompt CODE: types the code in the cost-centre prompt open in window $main, presses Enter,
# then Yes.
answer_prompt() {
  click_at "$main" 30 $((2 + 53 + 84 + 10))
  xdotool key ctrl+a type "$1"
  xdotool key Return
  local confirm
  confirm=$(wait_visible Confirm) || fail "no confirmation"
  xdotool windowfocus --sync "$confirm" key Return
}

# send MESSAGE: what the print-accounting server does.
send() { "$CORVELLANE_SEND" "$1" 127.0.0.1 900; }

db_value() { "$CORVELLANE_TESTDB_SCRIPT" sql -N -B CORVELLANE -e "$1"; }

# A known user with a monthly quota, three print jobs and two cost centres.
seed_installation() {
  root_sql "USE CORVELLANE;
    DELETE FROM usuario; DELETE FROM politica; DELETE FROM inicializacao; DELETE FROM modp;
    DELETE FROM impressoes; DELETE FROM centro_custo; DELETE FROM instancia;
    INSERT INTO usuario VALUES (1, '$(id -un)', '', 1);
    INSERT INTO politica VALUES (1, 1, 0, 500); INSERT INTO inicializacao VALUES (1, 1, 0);
    INSERT INTO modp VALUES (1, 1, 450);
    INSERT INTO centro_custo VALUES (0, 'Nenhum'), (7, 'Vendas'), (12, 'Obras');
    INSERT INTO impressoes (cod_impressoes, cod_usuario, cod_impressora, cod_status_impressao, data_impressao, paginas)
      VALUES (815, 1, 1, 1, CURRENT_DATE, 3), (816, 1, 1, 1, CURRENT_DATE, 4), (817, 1, 1, 1, CURRENT_DATE, 5);"
}

connection_failure_message='Atenção. O sistema não conseguiu conectar ao servidor do CorvelLane. Verifique com o administrador do sistema.'

# expect_connection_failure LABEL ODBCSYSINI: the agent, started with that configuration, shows the one
# connection-failure box and no main window, logs the one line, and OK ends it with exit code 0. Sets
# box_after_ms: how long after the start the box came.
expect_connection_failure() {
  local started box
  started=$(now_ms)
  start_agent "$2"
  box=$(wait_window Error 30) || fail "$1: no error box"
  box_after_ms=$(($(now_ms) - started))
  has_window 'CorvelLane 1.27' && fail "$1: the main window exists"
  [ "$(xdotool search --all --pid "$agent_pid" --name '^Error$' | wc -l)" = 1 ] || fail "$1: more than one box"
  xdotool windowfocus --sync "$box" key Return
  wait_exit
  [ "$rc" = 0 ] || fail "$1: exit code $rc"
  [ "$(log_lines)" = 1 ] || fail "$1: expected one log line, got $(log_lines)"
  grep -q " - $connection_failure_message"$'\r$' "$work/agent/Log.txt" ||
    fail "$1: log line is $(cat "$work/agent/Log.txt")"
}

port900_free() { ! ss -ltn | grep -q ':900 '; }
