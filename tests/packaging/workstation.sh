#!/usr/bin/env bash
# The installation as a workstation gets it: a staged `cmake --install`, then the set-up script that the
# package's maintainer scripts run, against a driver-manager configuration of the test's own (odbcinst
# honours ODBCSYSINI), so that nothing under /etc is touched.
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

source "$(dirname "$0")/../support/skip.sh"
[ "$(id -u)" -eq 0 ] || skip "setcap needs root"

DESTDIR=$work/stage cmake --install "$build" --prefix /opt/corvellane >/dev/null
root=$work/stage/opt/corvellane
for f in corvellane lib/libcorvellane-odbcsetup.so libexec/corvellane-workstation; do
  [ -f "$root/$f" ] || fail "staged install lacks $f"
done
[ -x "$root/corvellane" ] || fail "the agent is not executable"
nm -D --defined-only "$root/lib/libcorvellane-odbcsetup.so" | grep -qw ConfigDSN || fail "ConfigDSN not exported"
[ -f "$work/stage/opt/corvellane/Log.txt" ] && fail "a staged install wrote Log.txt (only configure may)"
desktop=$work/stage/etc/xdg/autostart/corvellane.desktop
grep -qx 'Exec=/opt/corvellane/corvellane' "$desktop" || fail "autostart entry: $(cat "$desktop")"
grep -qx 'Type=Application' "$desktop" || fail "autostart entry lacks its type"
settings=$work/stage/etc/corvellane/corvellane.conf
[ -f "$settings" ] || fail "staged install lacks the settings file"
[ "$(readlink "$root/corvellane.conf")" = /etc/corvellane/corvellane.conf ] ||
  fail "the agent's folder does not lead to the settings file: $(ls -l "$root/corvellane.conf")"
grep -q '^allowed-senders =$' "$settings" || fail "the settings file as shipped restricts: $(cat "$settings")"
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
while read -r installed; do
  grep -qxF "${installed#"$work/stage"}" "$source_dir/packaging/debian/conffiles" ||
    fail "${installed#"$work/stage"} is not a conffile of the package"
done < <(find "$work/stage/etc" -type f)
pass "staged install: program, setup library, set-up script, autostart entry, settings file as a conffile"

export ODBCSYSINI=$work/odbc HOME=$work/home
mkdir -p "$ODBCSYSINI" "$HOME"
dsn=$'[CorvelLane]\nDriver=MySQL ODBC 5.1 Driver\nServer=192.0.2.10\n'
printf '%s' "$dsn" >"$ODBCSYSINI/odbc.ini"
: >"$ODBCSYSINI/odbcinst.ini"
setup=$root/libexec/corvellane-workstation
key() { odbcinst -q -d -n 'MySQL ODBC 5.1 Driver' | sed -n "s/^$1=//p"; }

# 1. A fresh install, then the configure step that an upgrade repeats.
"$setup" configure
"$setup" configure
[ "$(key Setup)" = "$root/lib/libcorvellane-odbcsetup.so" ] || fail "Setup= is '$(key Setup)'"
driver=$(key Driver)
[ -f "$driver" ] && [[ "$driver" == */libmaodbc.so ]] || fail "Driver= is '$driver'"
[ "$(key UsageCount)" = 1 ] || fail "configure twice counted $(key UsageCount) installs"
getcap "$root/corvellane" | grep -q 'cap_net_bind_service=ep' || fail "no port-900 right: $(getcap "$root/corvellane")"
[ "$(stat -c %a "$root/Log.txt")" = 666 ] || fail "Log.txt mode is $(stat -c %a "$root/Log.txt")"
echo "kept" >"$root/Log.txt"
"$setup" configure
[ "$(cat "$root/Log.txt")" = kept ] || fail "configure emptied an existing log"
pass "configure: driver registered once with our Setup=, port-900 right, a log every user can append to"

# 2. Removal takes the registration and leaves the data sources alone.
"$setup" unconfigure
odbcinst -q -d -n 'MySQL ODBC 5.1 Driver' >/dev/null 2>&1 && fail "unconfigure left the driver registered"
[ "$(cat "$ODBCSYSINI/odbc.ini")" = "$(printf '%s' "$dsn")" ] || fail "odbc.ini changed: $(cat "$ODBCSYSINI/odbc.ini")"
pass "unconfigure: driver unregistered, data source kept"

# 3. An administrator's own registration under that name survives our install and removal.
printf '[MySQL ODBC 5.1 Driver]\nDriver=/usr/local/lib/admin-driver.so\n' >"$work/admin.ini"
odbcinst -i -d -f "$work/admin.ini" >/dev/null
"$setup" configure
"$setup" unconfigure
[ "$(key Driver)" = /usr/local/lib/admin-driver.so ] || fail "the administrator's registration went: $(cat "$ODBCSYSINI/odbcinst.ini")"
pass "an administrator's own registration survives install and removal"
