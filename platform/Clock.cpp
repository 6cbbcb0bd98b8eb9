#include "Clock.h"

namespace {
std::function<QDateTime()> source;
} // namespace

namespace Clock {

QDateTime now()
{
    return source ? source() : QDateTime::currentDateTime();
}

qint64 msecsSinceEpoch()
{
    return source ? source().toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
}

void setSourceForTesting(std::function<QDateTime()> replacement)
{
    source = std::move(replacement);
}

} // namespace Clock
