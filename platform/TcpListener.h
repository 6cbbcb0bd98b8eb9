#pragma once

#include <QObject>

class QSocketNotifier;
class TcpConnection;

// A TCP server socket on all local addresses, IPv4 and IPv6, served by the thread that owns it. The
// agent needs nothing of a network library but to accept and read, and loading one cost every start
// a dozen shared libraries and two megabytes of memory.
class TcpListener : public QObject {
    Q_OBJECT

public:
    enum class Error { None, AddressInUse, AccessDenied, Other };

    explicit TcpListener(QObject* parent = nullptr);
    ~TcpListener() override;

    // False when the port could not be taken; error() and errorString() say why.
    bool listen(quint16 port, int backlog);
    void close();
    quint16 port() const;
    Error error() const { return m_error; }
    QString errorString() const { return m_errorString; }

    // Paused, new connections wait in the kernel's queue. A receiver of accepted() may pause on the
    // connection it is given: no further one is taken until accepting resumes.
    void pauseAccepting();
    void resumeAccepting();

Q_SIGNALS:
    // A new connection, a child of the listener.
    void accepted(TcpConnection* connection);
    // Accepting failed for want of resources (descriptors, memory): accepting is paused, and it is
    // for the receiver to resume it later.
    void acceptFailed();

private:
    bool accepting() const;
    void acceptWaiting();

    int m_descriptor = -1;
    QSocketNotifier* m_notifier = nullptr;
    Error m_error = Error::None;
    QString m_errorString;
};
