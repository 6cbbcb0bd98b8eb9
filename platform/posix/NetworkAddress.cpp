#include "NetworkAddress.h"

#include <algorithm>
#include <arpa/inet.h>

NetworkAddress NetworkAddress::fromIPv4(quint32 address)
{
    return NetworkAddress(Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, quint8(address >> 24),
                                quint8(address >> 16), quint8(address >> 8), quint8(address)});
}

std::optional<NetworkAddress> NetworkAddress::parse(QStringView text)
{
    // The C library's reading is the strict one wanted (no leading zeros, no shorthand, no zone); it
    // reads up to a NUL, so a text holding one, or anything not ASCII, is not an address.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() == 0 || c.unicode() > 127; }))
        return std::nullopt;
    const QByteArray ascii = text.toLatin1();
    if (text.contains(u':')) {
        Bytes bytes{};
        if (inet_pton(AF_INET6, ascii.constData(), bytes.data()) != 1)
            return std::nullopt;
        return NetworkAddress(bytes);
    }
    in_addr ipv4 = {};
    if (inet_pton(AF_INET, ascii.constData(), &ipv4) != 1)
        return std::nullopt;
    return fromIPv4(ntohl(ipv4.s_addr));
}

bool NetworkAddress::isIPv4() const
{
    const Bytes mapped = fromIPv4(0).m_bytes;
    return std::equal(m_bytes.begin(), m_bytes.begin() + 12, mapped.begin());
}

QString NetworkAddress::toString() const
{
    const bool ipv4 = isIPv4();
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(ipv4 ? AF_INET : AF_INET6, m_bytes.data() + (ipv4 ? 12 : 0), text, sizeof text);
    return QString::fromLatin1(text);
}

NetworkAddress NetworkAddress::masked(int bits) const
{
    Bytes bytes{};
    for (size_t i = 0; bits > 0 && i < bytes.size(); ++i, bits -= 8)
        bytes[i] = m_bytes[i] & (bits >= 8 ? 0xff : quint8(0xff << (8 - bits)));
    return NetworkAddress(bytes);
}
