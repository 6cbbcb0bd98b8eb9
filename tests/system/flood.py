#!/usr/bin/env python3
"""Hostile traffic for the agent's port, loopback only, bounded in count and time.

  flood.py PORT many COUNT       COUNT valid messages, one connection each
  flood.py PORT hold COUNT SECS  COUNT connections held open at once for SECS seconds
  flood.py PORT trickle SECS     one message sent a byte at a time over SECS seconds
  flood.py PORT bytes FILE       the raw bytes of FILE in one write
Prints what it sent; exits non-zero when a connection was refused or failed, or when the time ran out
before everything was sent.
"""
import socket
import sys
import time

HOST = "127.0.0.1"
DEADLINE = time.monotonic() + 240  # no run of this script goes on longer than this


def connect(port):
    s = socket.create_connection((HOST, port), timeout=10)
    s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    return s


def many(port, count):
    for i in range(count):
        if time.monotonic() > DEADLINE:
            sys.exit("time is up after %d of %d messages" % (i, count))
        with connect(port) as s:
            s.sendall(("1;%d;3;Documento %d.doc" % (900000 + i, i)).encode("cp1252"))
    print("sent %d messages" % count)


def hold(port, count, seconds):
    held = []
    for _ in range(count):
        held.append(connect(port))
    print("held %d connections" % len(held))
    time.sleep(seconds)
    for s in held:
        s.close()


def trickle(port, seconds):
    message = b"10;devagar e sempre"
    with connect(port) as s:
        for byte in message:
            s.sendall(bytes([byte]))
            time.sleep(seconds / len(message))
    print("trickled %d bytes" % len(message))


def raw(port, path):
    with open(path, "rb") as f:
        data = f.read()
    with connect(port) as s:
        s.sendall(data)
    print("sent %d bytes in one write" % len(data))


def main():
    port, mode = int(sys.argv[1]), sys.argv[2]
    if mode == "many":
        many(port, int(sys.argv[3]))
    elif mode == "hold":
        hold(port, int(sys.argv[3]), float(sys.argv[4]))
    elif mode == "trickle":
        trickle(port, float(sys.argv[3]))
    elif mode == "bytes":
        raw(port, sys.argv[3])
    else:
        sys.exit("unknown mode " + mode)


if __name__ == "__main__":
    main()
