#include "NetworkAddress.h"

#include <arpa/inet.h>

NetworkAddress NetworkAddress::fromIPv4(quint32 address)
{
    Bytes bytes{};
    bytes[10] = 0xff;
    bytes[11] = 0xff;
    for (int i = 0; i < 4; ++i)
        bytes[size_t(12 + i)] = quint8(address >> (24 - 8 * i));
    return NetworkAddress(bytes);
}

std::optional<NetworkAddress> NetworkAddress::parse(QStringView text)
{
    // The C library's reading is the strict one wanted (no leading zeros, no shorthand, no zone); it
    // reads up to a NUL, so a text holding one, or anything not ASCII, is not an address.
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 127)
            return std::nullopt;
    }
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
    for (int i = 0; i < 10; ++i)
        if (m_bytes[size_t(i)] != 0)
            return false;
    return m_bytes[10] == 0xff && m_bytes[11] == 0xff;
}

QString NetworkAddress::toString() const
{
    if (isIPv4())
        return QStringLiteral("%1.%2.%3.%4")
            .arg(m_bytes[12])
            .arg(m_bytes[13])
            .arg(m_bytes[14])
            .arg(m_bytes[15]);
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, m_bytes.data(), text, sizeof text);
    return QString::fromLatin1(text);
}

NetworkAddress NetworkAddress::masked(int bits) const
{
    Bytes bytes{};
    for (size_t i = 0; bits > 0 && i < bytes.size(); ++i, bits -= 8)
        bytes[i] = m_bytes[i] & (bits >= 8 ? 0xff : quint8(0xff << (8 - bits)));
    return NetworkAddress(bytes);
}
