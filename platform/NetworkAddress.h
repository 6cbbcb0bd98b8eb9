#pragma once

#include <QString>
#include <array>
#include <optional>

// An IPv4 or IPv6 address as sixteen bytes in network order. An IPv4 address is kept IPv4-mapped
// (::ffff:a.b.c.d), as a dual-stack socket reports its IPv4 peers, so that one comparison serves both.
class NetworkAddress {
public:
    using Bytes = std::array<quint8, 16>;

    NetworkAddress() = default; // ::, the unspecified address
    explicit NetworkAddress(const Bytes& bytes) : m_bytes(bytes) {}
    static NetworkAddress fromIPv4(quint32 address);

    // Four decimal numbers of 0 to 255 without leading zeros, or IPv6 text (eight groups, or fewer
    // around one "::", optionally ending in a dotted IPv4 address). Nothing else: no blanks, no zone,
    // no shorthand such as "10.1" that some tools would read in their own way.
    static std::optional<NetworkAddress> parse(QStringView text);

    bool isIPv4() const;
    // Dotted decimal for IPv4, the compressed lower-case form otherwise.
    QString toString() const;
    // The address with all but its first `bits` bits (0 to 128) cleared: the network it lies in.
    NetworkAddress masked(int bits) const;

    friend auto operator<=>(const NetworkAddress&, const NetworkAddress&) = default;

private:
    Bytes m_bytes{};
};
