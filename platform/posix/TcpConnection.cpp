#include "TcpConnection.h"

#include <QDateTime>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How a read ended, besides the bytes it brought.
enum class Outcome { Open, ClosedByPeer, Failed };

// A reset is how a peer that never waited for its bytes to be read ends the connection: closed, not
// failed, as an orderly close is.
Outcome outcomeOf(int error)
{
    if (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)
        return Outcome::Open;
    return error == ECONNRESET ? Outcome::ClosedByPeer : Outcome::Failed;
}

} // namespace

TcpConnection::TcpConnection(int descriptor, const NetworkAddress& peer, QObject* parent)
    : QObject(parent), m_descriptor(descriptor), m_peer(peer),
      m_notifier(new QSocketNotifier(descriptor, QSocketNotifier::Read, this)),
      m_acceptedAt(QDateTime::currentMSecsSinceEpoch())
{
    connect(m_notifier, &QSocketNotifier::activated, this, &TcpConnection::readWaiting);
}

TcpConnection::~TcpConnection()
{
    abort();
}

bool TcpConnection::hasSomethingToRead() const
{
    if (m_descriptor < 0)
        return false;
    pollfd waiting{m_descriptor, POLLIN, 0};
    return ::poll(&waiting, 1, 0) > 0;
}

void TcpConnection::abort()
{
    if (m_descriptor < 0)
        return;
    m_notifier->setEnabled(false);
    ::close(m_descriptor);
    m_descriptor = -1;
}

// Reads what the kernel holds now, in one go: what arrives meanwhile, the peer's close included, wakes
// the connection again. The notifier rests while the bytes are handed over, since whoever takes them
// may run a nested event loop, and may abort or delete the connection in it.
void TcpConnection::readWaiting()
{
    m_notifier->setEnabled(false);
    int waiting = 0;
    if (::ioctl(m_descriptor, FIONREAD, &waiting) < 0)
        waiting = 0;
    QByteArray bytes(std::max(waiting, 1), Qt::Uninitialized);
    const ssize_t count = ::recv(m_descriptor, bytes.data(), bytes.size(), 0);
    const Outcome outcome = count > 0 ? Outcome::Open : count == 0 ? Outcome::ClosedByPeer : outcomeOf(errno);
    bytes.truncate(std::max<ssize_t>(count, 0));

    const QPointer<TcpConnection> self(this);
    if (!bytes.isEmpty())
        Q_EMIT received(bytes);
    if (outcome == Outcome::Failed && self && m_descriptor >= 0)
        Q_EMIT failed();
    if (!self || m_descriptor < 0)
        return;
    if (outcome == Outcome::Open) {
        m_notifier->setEnabled(true);
        return;
    }
    abort();
    deleteLater();
}
