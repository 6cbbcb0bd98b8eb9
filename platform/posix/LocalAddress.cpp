#include "LocalAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <memory>
#include <net/if.h>
#include <optional>

namespace {
std::optional<QString> overridden;

bool usable(const ifaddrs& entry)
{
    const unsigned flags = entry.ifa_flags;
    return entry.ifa_addr && entry.ifa_addr->sa_family == AF_INET && (flags & IFF_UP) &&
           (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
}
} // namespace

namespace LocalAddress {

QString firstIPv4()
{
    if (overridden)
        return *overridden;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, &::freeifaddrs);
    // The kernel lists the addresses by interface, in the order the interfaces were made.
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!usable(*entry))
            continue;
        const in_addr address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        const in_addr_t hostOrder = ntohl(address.s_addr);
        if ((hostOrder >> 24) == 127 || (hostOrder >> 16) == 0xa9fe) // 127.0.0.0/8, 169.254.0.0/16
            continue;
        char text[INET_ADDRSTRLEN];
        return QString::fromLatin1(::inet_ntop(AF_INET, &address, text, sizeof text));
    }
    return {};
}

void setForTesting(const QString& address)
{
    overridden = address;
}

void resetForTesting()
{
    overridden.reset();
}

} // namespace LocalAddress
