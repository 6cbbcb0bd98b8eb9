#include "NetworkAddress.h"

#include <QList>

namespace {

constexpr int ipv4Offset = 12;

std::optional<quint32> parseIPv4(QStringView text)
{
    const QList<QStringView> parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (QStringView part : parts) {
        if (part.isEmpty() || part.size() > 3 || (part.size() > 1 && part.front() == u'0'))
            return std::nullopt;
        uint value = 0;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + uint(c.unicode() - u'0');
        }
        if (value > 255)
            return std::nullopt;
        address = address << 8 | value;
    }
    return address;
}

// The groups of one side of "::", appended to `groups`; an empty side has none.
bool appendGroups(QStringView side, QList<quint16>& groups)
{
    if (side.isEmpty())
        return true;
    for (QStringView group : side.split(u':')) {
        if (group.isEmpty() || group.size() > 4)
            return false;
        uint value = 0;
        for (QChar c : group) {
            const int digit = c >= u'0' && c <= u'9'   ? c.unicode() - u'0'
                              : c >= u'a' && c <= u'f' ? c.unicode() - u'a' + 10
                              : c >= u'A' && c <= u'F' ? c.unicode() - u'A' + 10
                                                       : -1;
            if (digit < 0)
                return false;
            value = value << 4 | uint(digit);
        }
        groups.append(quint16(value));
    }
    return true;
}

std::optional<NetworkAddress> parseIPv6(QStringView text)
{
    // A dotted IPv4 tail stands for the last two groups.
    std::optional<quint32> tail;
    if (text.contains(u'.')) {
        const qsizetype lastColon = text.lastIndexOf(u':');
        tail = parseIPv4(text.mid(lastColon + 1));
        if (!tail)
            return std::nullopt;
        const bool afterGap = lastColon > 0 && text.at(lastColon - 1) == u':';
        text = text.left(afterGap ? lastColon + 1 : lastColon);
    }
    const int wanted = tail ? 6 : 8;
    QList<quint16> head;
    QList<quint16> rest;
    const qsizetype gap = text.indexOf(QStringView(u"::"));
    if (gap < 0) {
        if (!appendGroups(text, head) || head.size() != wanted)
            return std::nullopt;
    } else {
        if (text.indexOf(QStringView(u"::"), gap + 1) >= 0 || !appendGroups(text.left(gap), head) ||
            !appendGroups(text.mid(gap + 2), rest) || head.size() + rest.size() >= wanted)
            return std::nullopt;
    }
    NetworkAddress::Bytes bytes{};
    auto put = [&bytes](int index, quint16 group) {
        bytes[size_t(2 * index)] = quint8(group >> 8);
        bytes[size_t(2 * index + 1)] = quint8(group);
    };
    for (int i = 0; i < head.size(); ++i)
        put(i, head.at(i));
    for (int i = 0; i < rest.size(); ++i)
        put(wanted - int(rest.size()) + i, rest.at(i));
    if (tail) {
        put(6, quint16(*tail >> 16));
        put(7, quint16(*tail));
    }
    return NetworkAddress(bytes);
}

} // namespace

NetworkAddress NetworkAddress::fromIPv4(quint32 address)
{
    Bytes bytes{};
    bytes[10] = 0xff;
    bytes[11] = 0xff;
    for (int i = 0; i < 4; ++i)
        bytes[size_t(ipv4Offset + i)] = quint8(address >> (24 - 8 * i));
    return NetworkAddress(bytes);
}

std::optional<NetworkAddress> NetworkAddress::parse(QStringView text)
{
    if (text.contains(u':'))
        return parseIPv6(text);
    if (const std::optional<quint32> ipv4 = parseIPv4(text))
        return fromIPv4(*ipv4);
    return std::nullopt;
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
    quint16 groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = quint16(m_bytes[size_t(2 * i)] << 8 | m_bytes[size_t(2 * i + 1)]);
    // The longest run of two or more zero groups, the first of equal ones, becomes "::".
    int gapStart = -1;
    int gapLength = 1;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0)
            ++j;
        if (j - i > gapLength) {
            gapStart = i;
            gapLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    QString text;
    for (int i = 0; i < 8; ++i) {
        if (i == gapStart) {
            text += QStringLiteral("::");
            i += gapLength - 1;
            continue;
        }
        if (!text.isEmpty() && !text.endsWith(u':'))
            text += u':';
        text += QString::number(groups[i], 16);
    }
    return text;
}

NetworkAddress NetworkAddress::masked(int bits) const
{
    Bytes bytes{};
    for (size_t i = 0; bits > 0 && i < bytes.size(); ++i, bits -= 8)
        bytes[i] = m_bytes[i] & (bits >= 8 ? 0xff : quint8(0xff << (8 - bits)));
    return NetworkAddress(bytes);
}
