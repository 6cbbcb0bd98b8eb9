#pragma once

#include "NetworkAddress.h"

#include <QObject>

class QSocketNotifier;

// One accepted TCP connection, read on the thread that owns it as its bytes arrive. It never writes.
// Whatever one wake-up finds waiting is handed over as one read; the connection deletes itself (later)
// once the peer has closed its end or the connection failed.
class TcpConnection : public QObject {
    Q_OBJECT

public:
    // Takes over a connected, non-blocking socket from the given peer.
    TcpConnection(int descriptor, const NetworkAddress& peer, QObject* parent);
    ~TcpConnection() override;

    qint64 acceptedAt() const { return m_acceptedAt; }
    const NetworkAddress& peerAddress() const { return m_peer; }
    // Whether anything (bytes, or the peer's close) is waiting to be read.
    bool hasSomethingToRead() const;
    // Closes the connection at once, without reading what may be waiting.
    void abort();

Q_SIGNALS:
    void received(const QByteArray& bytes);
    // The connection failed for a reason other than the peer closing it.
    void failed();

private:
    void readWaiting();

    int m_descriptor;
    NetworkAddress m_peer;
    QSocketNotifier* m_notifier;
    qint64 m_acceptedAt;
};
