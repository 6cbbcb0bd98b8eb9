#!/usr/bin/env bash
# private-devlog.sh COMMAND...: runs the command with a /dev/log of its own, in a private mount namespace
# whose /dev is a fresh tmpfs leading to the machine's device nodes. A test can then receive what a
# program sends to the system log, whether or not this machine runs a syslog daemon, and without
# reading or disturbing the machine's own.
set -euo pipefail
source "$(dirname "$0")/../support/skip.sh"
[ "$(id -u)" -eq 0 ] || skip "a private /dev/log needs root (a mount namespace)"
exec unshare --mount --propagation private bash -c '
  set -euo pipefail
  host=$(mktemp -d)
  mount --bind /dev "$host"
  mount -t tmpfs tmpfs /dev
  for node in "$host"/*; do ln -s "$node" /dev/; done
  rc=0
  "$@" || rc=$?
  umount /dev "$host"
  rmdir "$host"
  exit "$rc"' private-devlog "$@"
