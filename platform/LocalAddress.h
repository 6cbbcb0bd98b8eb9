#pragma once

#include <QString>

// The workstation's address as the print-accounting server sees it: the IPv4 address of the first
// interface that is up, running and not loopback, skipping link-local 169.254.0.0/16. The host name is
// no guide: on Debian it often resolves to 127.0.1.1, which would tell the server nothing.
namespace LocalAddress {

// Dotted-decimal text, or empty when the host has no such address.
QString firstIPv4();

void setForTesting(const QString& address);
void resetForTesting();

} // namespace LocalAddress
