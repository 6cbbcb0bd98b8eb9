#pragma once

#include <QDateTime>
#include <functional>

// The local clock, replaceable so that tests can step through time without sleeping.
namespace Clock {

QDateTime now();
// The same moment as now(), without working out its local time: cheap enough to ask for every entry.
qint64 msecsSinceEpoch();

// Tests install a source of their own; an empty function restores the system clock.
void setSourceForTesting(std::function<QDateTime()> source);

} // namespace Clock
