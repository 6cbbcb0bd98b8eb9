#pragma once

#include <QString>

// The event log: "Log.txt" in a folder, one time-stamped line per event, only ever appended to.
class TUtil {
public:
    // Appends "<short date> <long time> - <message>" and CR LF (the time is left out at exactly
    // midnight), and sends the message to the system log too. Never fails towards its caller: a folder
    // that cannot be written loses the entry.
    static void GravaLog(const QString& pasta, const QString& mensagem) noexcept;
    // The agent's own log, in the program's folder.
    static void GravaLog(const QString& mensagem) noexcept;
};
