#pragma once

#include <QString>

// The system log (journald, or a syslog daemon; identifier "corvellane"): where an administrator reads
// every workstation's events (`journalctl -t corvellane`), and where a desktop user cannot rewrite them as
// they can Log.txt. Entries go to /dev/log as syslog(3) sends them, with the account the agent runs as
// (AccountName) at the head of the text.
namespace SystemLog {

// One event of the account's agent. Never waits and never fails: the system log is a copy, and with no
// logger, or one that is not reading, the entry is lost there only.
void write(const QString& message) noexcept;

// Past this many entries in one second (a report's row-by-row progress, a flood on port 900) the rest of
// that second's stay in Log.txt only, and the first entry of a later second says how many. journald would
// drop such a burst past its own limit anyway, and other programs' entries with it.
constexpr int entriesPerSecond = 100;

} // namespace SystemLog
