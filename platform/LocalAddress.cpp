#include "LocalAddress.h"

#include <QNetworkInterface>
#include <optional>

namespace {
std::optional<QString>& overridden()
{
    static std::optional<QString> address;
    return address;
}

bool usable(const QNetworkInterface& interface)
{
    const auto flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
           !flags.testFlag(QNetworkInterface::IsLoopBack);
}
} // namespace

namespace LocalAddress {

QString firstIPv4()
{
    if (overridden())
        return *overridden();
    const QHostAddress linkLocal(QStringLiteral("169.254.0.0"));
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!usable(interface))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback() &&
                !address.isInSubnet(linkLocal, 16))
                return address.toString();
        }
    }
    return {};
}

void setForTesting(const QString& address)
{
    overridden() = address;
}

void resetForTesting()
{
    overridden().reset();
}

} // namespace LocalAddress
