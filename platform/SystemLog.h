#pragma once

#include <QString>

// The system log (syslog(3), identifier "corvellane"): where an administrator reads every workstation's
// events (`journalctl -t corvellane`), and where a desktop user cannot rewrite them as they can Log.txt.
namespace SystemLog {

// One event of the account's agent. Never fails: the system log is a copy, and a workstation without a
// syslog daemon simply has none.
void write(const QString& account, const QString& message) noexcept;

} // namespace SystemLog
