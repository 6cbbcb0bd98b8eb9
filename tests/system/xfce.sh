# A real XFCE panel on the test's X display, on a session bus of its own, with a fresh configuration
# (its default panels, the notification area among them). Sourced after lib.sh; the test script runs
# inside dbus-run-session.

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$XDG_CONFIG_HOME"

bus_has() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}

start_panel() {
  xfce4-panel >"$work/panel.log" 2>&1 &
  panel_pid=$!
  cleanup_steps+=("kill -CONT $panel_pid; kill $panel_pid; wait $panel_pid")
}

watcher_up() { bus_has org.kde.StatusNotifierWatcher; }

# The items the watcher knows, one a line ("SERVICE/PATH" or "SERVICE").
registered_items() {
  gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
    -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems \
    2>/dev/null | grep -o "'[^']*'" | tr -d "'"
}

# item_of PID: the registered item whose bus connection belongs to that process.
item_of() {
  local item
  for item in $(registered_items); do
    gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
      -m org.freedesktop.DBus.GetConnectionUnixProcessID "${item%%/*}" 2>/dev/null | grep -q "uint32 $1," &&
      echo "$item" && return 0
  done
  return 1
}

# The agent's XEmbed icon: its window named as the application, 22 pixels square once docked.
agent_tray_window() {
  local w
  for w in $(xdotool search --all --pid "$agent_pid" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = CorvelLane ] || continue
    read -r _ _ width height <<<"$(geometry "$w")"
    [ "$width" -le 64 ] && [ "$height" -le 64 ] && echo "$w" && return 0
  done
  return 1
}

# Visible windows of the agent named CorvelLane that are not its icon: a tooltip, a box.
agent_popups() {
  local icon w
  icon=$(agent_tray_window) || true
  for w in $(xdotool search --all --onlyvisible --pid "$agent_pid" 2>/dev/null); do
    [ "$w" != "$icon" ] && [ "$(xdotool getwindowname "$w" 2>/dev/null)" = CorvelLane ] && echo "$w"
  done
  return 0
}
