#!/usr/bin/env bash
# The Debian package as an administrator meets it: Debian's own checker on the built .deb, then a real
# install, the log's rotation, removal (the autostart entry stays, as a conffile, but goes inert) and
# purge. It installs on this machine, so it runs only as root and only where no corvellane package is
# installed; the purge at the end takes everything back.
set -euo pipefail

build=$1
work=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

source "$(dirname "$0")/../support/skip.sh"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v lintian >/dev/null || skip "lintian is not installed"
command -v logrotate >/dev/null || skip "logrotate is not installed"
! dpkg -s corvellane >/dev/null 2>&1 || skip "a corvellane package is installed here, and this test would replace it"
[ ! -e /opt/corvellane ] || skip "/opt/corvellane is there without its package, and this test would change it"
trap 'dpkg --purge corvellane >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$(ls "$work"/package/corvellane_*.deb)
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || fail "lintian: $(cat "$work/lintian.txt")"
! grep -E '^[EW]: ' "$work/lintian.txt" || fail "lintian reported the above"
pass "lintian: no error or warning but the override for the agent's folder under /opt"

dpkg -i "$deb" >/dev/null
entry=/etc/xdg/autostart/corvellane.desktop
program=$(sed -n 's/^TryExec=//p' "$entry")
[ "$program" = "$(sed -n 's/^Exec=//p' "$entry")" ] || fail "the autostart entry's TryExec is '$program'"
[ -x "$program" ] || fail "$program is not installed"
[ "$(stat -c %a /opt/corvellane/Log.txt)" = 666 ] || fail "Log.txt mode is $(stat -c %a /opt/corvellane/Log.txt)"
pass "installed: the autostart entry tries the program it starts"

# The log past its size: copied to Log.txt.1 and emptied in place, so an agent that holds it open goes on
# appending to the same file.
head -c 6M /dev/zero | tr '\0' 'x' >/opt/corvellane/Log.txt
exec 3>>/opt/corvellane/Log.txt
logrotate --state "$work/logrotate.state" /etc/logrotate.d/corvellane
[ "$(stat -c %s /opt/corvellane/Log.txt)" = 0 ] || fail "Log.txt is $(stat -c %s /opt/corvellane/Log.txt) bytes after rotation"
[ "$(stat -c %s /opt/corvellane/Log.txt.1)" = $((6 * 1024 * 1024)) ] || fail "Log.txt.1: $(ls -l /opt/corvellane)"
echo "after" >&3
exec 3>&-
[ "$(cat /opt/corvellane/Log.txt)" = after ] || fail "the open log was not written in place after rotation"
[ "$(stat -c %a /opt/corvellane/Log.txt)" = 666 ] || fail "rotation changed Log.txt's mode"
echo small >/opt/corvellane/Log.txt
logrotate --state "$work/logrotate.state" /etc/logrotate.d/corvellane
[ ! -e /opt/corvellane/Log.txt.2 ] && [ ! -e /opt/corvellane/Log.txt.2.gz ] || fail "a small log was rotated"
pass "logrotate: a log past 5 MB is copied and emptied in place, a small one is left alone"

dpkg -r corvellane >/dev/null
[ -f "$entry" ] || fail "removal took the autostart entry, an administrator's conffile"
[ ! -e "$program" ] || fail "removal left $program"
pass "removed: the autostart entry stays as a conffile, and its TryExec names a program that is gone, so desktops skip it"

dpkg --purge corvellane >/dev/null
[ ! -e "$entry" ] && [ ! -e /etc/logrotate.d/corvellane ] || fail "purge left the conffiles"
[ ! -e /opt/corvellane ] || fail "purge left $(ls -A /opt/corvellane)"
pass "purged: nothing of the package is left"
