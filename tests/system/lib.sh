# Shared pieces of the end-to-end tests: each runs the real corvellane binary, copied into a folder of
# its own (Log.txt is written next to the executable), on the X display that xvfb-run gives it.
set -euo pipefail

binary=$1
work=$(mktemp -d)
agent_pid=
cleanup_steps=()
on_exit() {
  [ -n "$agent_pid" ] && kill -KILL "$agent_pid" 2>/dev/null || true
  local step
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$work"
}
trap on_exit EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

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

# start_agent ODBCSYSINI: launches a fresh copy of the agent in $work/agent.
start_agent() {
  rm -rf "$work/agent"
  mkdir -p "$work/agent"
  cp "$binary" "$work/agent/corvellane"
  cp -r "$(dirname "$binary")/Imagens" "$work/agent/"
  (cd "$work/agent" && ODBCSYSINI=$1 exec ./corvellane) &
  agent_pid=$!
}

# wait_window TITLE [SECONDS]: prints the id of the agent's window with exactly that title.
wait_window() {
  timeout "${2:-20}" xdotool search --sync --all --pid "$agent_pid" --name "^$1\$" | head -n 1
}

has_window() { xdotool search --all --pid "$agent_pid" --name "^$1\$" >/dev/null 2>&1; }

# stop_agent SIGNAL: sends the signal and waits; the exit code is left in $rc.
stop_agent() {
  kill -"$1" "$agent_pid"
  wait_exit
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

log_lines() { [ -f "$work/agent/Log.txt" ] && grep -c $'\r$' "$work/agent/Log.txt" || echo 0; }
