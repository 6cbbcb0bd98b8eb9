#pragma once

#include <QDateTime>
#include <functional>

// The local clock, replaceable so that tests can step through time without sleeping.
namespace Clock {

QDateTime now();
// The current time for time stamps, which show whole seconds and are taken many times a second: the
// local time of each second is worked out once, and the milliseconds are dropped, except in the first
// second of a day, where they tell exact midnight from just after it.
QDateTime stampTime();

// Tests install a source of their own; an empty function restores the system clock.
void setSourceForTesting(std::function<QDateTime()> source);

} // namespace Clock
