#include "TcpListener.h"

#include "TcpConnection.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Connections taken in one wake-up: a flood of them must leave room for reading the ones taken.
constexpr int acceptedPerWakeUp = 64;

// A dual-stack socket takes IPv4 connections too; a host without IPv6 gets a plain IPv4 one. -1 with
// errno set when the port cannot be taken.
int listeningSocket(quint16 port, int backlog)
{
    const int dualStack = ::socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int descriptor =
        dualStack >= 0 ? dualStack : ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -1;
    // A restarted agent must get its port back while the last one's connections linger in TIME_WAIT.
    const int on = 1;
    ::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    int bound;
    if (dualStack >= 0) {
        const int off = 0;
        ::setsockopt(descriptor, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(port);
        bound = ::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } else {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(port);
        bound = ::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    if (bound < 0 || ::listen(descriptor, backlog) < 0) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return -1;
    }
    return descriptor;
}

// The peer as one kind of address: an IPv4 peer of the dual-stack socket arrives IPv4-mapped already.
NetworkAddress addressOf(const sockaddr_storage& peer)
{
    if (peer.ss_family == AF_INET6) {
        const auto& address = reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr;
        NetworkAddress::Bytes bytes{};
        std::memcpy(bytes.data(), address.s6_addr, bytes.size());
        return NetworkAddress(bytes);
    }
    if (peer.ss_family == AF_INET)
        return NetworkAddress::fromIPv4(ntohl(reinterpret_cast<const sockaddr_in&>(peer).sin_addr.s_addr));
    return {};
}

} // namespace

TcpListener::TcpListener(QObject* parent) : QObject(parent) {}

TcpListener::~TcpListener()
{
    close();
}

bool TcpListener::listen(quint16 port, int backlog)
{
    close();
    m_error = Error::None;
    m_errorString.clear();
    const int descriptor = listeningSocket(port, backlog);
    if (descriptor < 0) {
        const int error = errno;
        m_error = error == EADDRINUSE                 ? Error::AddressInUse
                  : error == EACCES || error == EPERM ? Error::AccessDenied
                                                      : Error::Other;
        m_errorString = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    m_descriptor = descriptor;
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TcpListener::acceptWaiting);
    return true;
}

void TcpListener::close()
{
    if (m_descriptor < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_descriptor);
    m_descriptor = -1;
}

quint16 TcpListener::port() const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (m_descriptor < 0 || ::getsockname(m_descriptor, reinterpret_cast<sockaddr*>(&address), &length) < 0)
        return 0;
    return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(address).sin6_port
                                               : reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

void TcpListener::pauseAccepting()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
}

void TcpListener::resumeAccepting()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}

bool TcpListener::accepting() const
{
    return m_notifier && m_notifier->isEnabled();
}

// Whoever takes a connection may pause accepting (or close the listener) on it: the next one waits.
void TcpListener::acceptWaiting()
{
    for (int i = 0; i < acceptedPerWakeUp && accepting(); ++i) {
        sockaddr_storage peer{};
        socklen_t peerLength = sizeof peer;
        const int connection = ::accept4(m_descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength,
                                         SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection >= 0) {
            Q_EMIT accepted(new TcpConnection(connection, addressOf(peer), this));
            continue;
        }
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            pauseAccepting();
            Q_EMIT acceptFailed();
        }
        // Anything else is the kernel's queue being empty, or one connection that went before it
        // was taken: the next wake-up goes on.
        return;
    }
}
