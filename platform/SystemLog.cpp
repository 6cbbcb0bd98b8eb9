#include "SystemLog.h"

#include <syslog.h>

void SystemLog::write(const QString& account, const QString& message) noexcept
{
    static const bool opened = (openlog("corvellane", LOG_PID, LOG_USER), true);
    Q_UNUSED(opened);
    const QByteArray who = account.toUtf8();
    const QByteArray what = message.toUtf8();
    syslog(LOG_INFO, "%s: %s", who.constData(), what.constData());
}
