#include "AccountName.h"

#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {
std::optional<QString> overridden;
} // namespace

namespace AccountName {

QString current()
{
    if (overridden)
        return *overridden;
    const passwd* entry = getpwuid(geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

void setForTesting(const QString& name)
{
    overridden = name;
}

void resetForTesting()
{
    overridden.reset();
}

} // namespace AccountName
