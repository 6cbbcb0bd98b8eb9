#include "Clock.h"

namespace {
std::function<QDateTime()>& source()
{
    static std::function<QDateTime()> installed;
    return installed;
}
} // namespace

namespace Clock {

QDateTime now()
{
    return source() ? source()() : QDateTime::currentDateTime();
}

QDateTime stampTime()
{
    if (source())
        return source()();
    static qint64 cachedSecond = -1;
    static QDateTime cached;
    const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = msecs / 1000;
    if (second != cachedSecond) {
        cached = QDateTime::fromSecsSinceEpoch(second);
        cachedSecond = second;
    }
    if (cached.time() == QTime(0, 0) && msecs % 1000 != 0)
        return QDateTime::fromMSecsSinceEpoch(msecs);
    return cached;
}

void setSourceForTesting(std::function<QDateTime()> replacement)
{
    source() = std::move(replacement);
}

} // namespace Clock
