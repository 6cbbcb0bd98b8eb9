#include "TcpConnection.h"
#include "TcpListener.h"

#include <QPointer>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// The listener over real loopback connections: what each read hands over, and how connections end.
class tst_TcpListener : public QObject {
    Q_OBJECT

    std::unique_ptr<TcpListener> listener;
    QList<QPointer<TcpConnection>> connections;
    QList<QByteArray> reads;
    int failures = 0;

    std::unique_ptr<QTcpSocket> connectClient(const QHostAddress& address = QHostAddress::LocalHost)
    {
        auto client = std::make_unique<QTcpSocket>();
        client->connectToHost(address, listener->port());
        if (!client->waitForConnected(5000))
            return nullptr;
        const qsizetype before = connections.size();
        if (!QTest::qWaitFor([&] { return connections.size() > before; }))
            return nullptr;
        return client;
    }

private Q_SLOTS:
    void init()
    {
        listener = std::make_unique<TcpListener>();
        connections.clear();
        reads.clear();
        failures = 0;
        connect(listener.get(), &TcpListener::accepted, this, [this](TcpConnection* connection) {
            connections.append(connection);
            connect(connection, &TcpConnection::received, this,
                    [this](const QByteArray& b) { reads.append(b); });
            connect(connection, &TcpConnection::failed, this, [this] { ++failures; });
        });
        QVERIFY(listener->listen(0, 16));
        QVERIFY(listener->port() != 0);
    }

    void cleanup() { listener.reset(); }

    void readsArriveAndAClosedConnectionGoes()
    {
        for (const QHostAddress& address :
             {QHostAddress(QHostAddress::LocalHost), QHostAddress(QHostAddress::LocalHostIPv6)}) {
            reads.clear();
            auto client = connectClient(address);
            QVERIFY2(client, qPrintable(address.toString()));
            QCOMPARE(connections.last()->parent(), listener.get());
            // A dual-stack socket's IPv4 peer is reported as IPv4.
            QCOMPARE(connections.last()->peerAddress().toString(),
                     address.protocol() == QAbstractSocket::IPv4Protocol ? "127.0.0.1" : "::1");
            client->write("1;815;3;a.doc");
            QTRY_COMPARE(reads, QList<QByteArray>{"1;815;3;a.doc"});
            client->write(QByteArray(300000, 'z')); // several segments; every byte once, in order
            QTRY_COMPARE(reads.mid(1).join().size(), 300000);
            QCOMPARE(reads.mid(1).join(), QByteArray(300000, 'z'));
            client->disconnectFromHost();
            QTRY_VERIFY(connections.last().isNull());
        }
        QCOMPARE(failures, 0);
    }

    void aResetIsAClose()
    {
        auto client = connectClient();
        QVERIFY(client);
        // Linger with a zero time-out: the close is a reset.
        const linger now{1, 0};
        QVERIFY(::setsockopt(int(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now) == 0);
        client->abort();
        QTRY_VERIFY(connections.last().isNull());
        QCOMPARE(failures, 0);
    }

    void somethingToReadIsSeenWithoutReading()
    {
        auto client = connectClient();
        QVERIFY(client);
        TcpConnection* connection = connections.last();
        QVERIFY(!connection->hasSomethingToRead());
        QVERIFY(qAbs(connection->acceptedAt() - QDateTime::currentMSecsSinceEpoch()) < 60000);
        // Nothing reads it while the event loop does not run.
        client->write("x");
        QVERIFY(client->waitForBytesWritten(5000));
        QTRY_VERIFY_WITH_TIMEOUT(connection->hasSomethingToRead(), 5000);
        connection->abort();
        QVERIFY(!connection->hasSomethingToRead());
        QTRY_COMPARE(client->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(reads.isEmpty());
    }

    void pausedAcceptingLeavesConnectionsQueued()
    {
        listener->pauseAccepting();
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, listener->port());
        QVERIFY(client.waitForConnected(5000)); // the kernel completes it in the backlog
        QTest::qWait(200);
        QVERIFY(connections.isEmpty());
        listener->resumeAccepting();
        QTRY_COMPARE(connections.size(), 1);
    }

    // A receiver that pauses on a connection gets no further one, however many wait in the queue.
    void pausingOnAConnectionTakesNoMore()
    {
        connect(listener.get(), &TcpListener::accepted, this, [this] { listener->pauseAccepting(); });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(listener->port());
        std::vector<int> clients;
        auto closeClients = qScopeGuard([&clients] {
            for (int client : clients)
                ::close(client);
        });
        for (int i = 0; i < 5; ++i) { // all queued before the listener's wake-up
            clients.push_back(::socket(AF_INET, SOCK_STREAM, 0));
            QVERIFY(::connect(clients.back(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
                    0);
        }
        QTRY_COMPARE(connections.size(), 1);
        QTest::qWait(200);
        QCOMPARE(connections.size(), 1);
        for (int taken = 2; taken <= 5; ++taken) {
            listener->resumeAccepting();
            QTRY_COMPARE(connections.size(), taken);
        }
    }

    // Out of descriptors, accepting stops and says so; the connections wait in the kernel's queue
    // until accepting resumes.
    void outOfDescriptorsPausesAccepting()
    {
        int acceptFailures = 0;
        connect(listener.get(), &TcpListener::acceptFailed, this, [&acceptFailures] { ++acceptFailures; });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(listener->port());
        std::vector<int> clients;
        for (int i = 0; i < 3; ++i) {
            clients.push_back(::socket(AF_INET, SOCK_STREAM, 0));
            QVERIFY(::connect(clients.back(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
                    0);
        }
        rlimit usual{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &usual) == 0);
        const int nextFree = ::dup(0);
        ::close(nextFree);
        rlimit tight = usual;
        tight.rlim_cur = rlim_t(nextFree) + 1; // room for one accepted connection
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &tight) == 0);
        auto restore = qScopeGuard([&usual] { ::setrlimit(RLIMIT_NOFILE, &usual); });
        QTRY_COMPARE(acceptFailures, 1);
        QTest::qWait(200);
        QCOMPARE(connections.size(), 1);
        QCOMPARE(acceptFailures, 1); // paused: no new attempt, no new failure
        restore.dismiss();
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &usual) == 0);
        listener->resumeAccepting();
        QTRY_COMPARE(connections.size(), 3);
        for (int client : clients)
            ::close(client);
    }

    void aHandlerMayEndTheConnection()
    {
        // Whoever takes the bytes may close and drop the connection before the read returns.
        connect(listener.get(), &TcpListener::accepted, this, [](TcpConnection* connection) {
            connect(connection, &TcpConnection::received, connection, [connection] {
                connection->abort();
                delete connection;
            });
        });
        auto client = connectClient();
        QVERIFY(client);
        client->write("1;815;3;a.doc");
        QTRY_VERIFY(connections.last().isNull());
        QTRY_COMPARE(client->state(), QAbstractSocket::UnconnectedState);
    }

    void portInUseOrClosed()
    {
        TcpListener second;
        QVERIFY(!second.listen(listener->port(), 16));
        QCOMPARE(second.error(), TcpListener::Error::AddressInUse);
        QVERIFY(!second.errorString().isEmpty());
        QCOMPARE(second.port(), quint16(0));

        const quint16 port = listener->port();
        listener->close();
        QCOMPARE(listener->port(), quint16(0));
        QVERIFY(second.listen(port, 16)); // the closed port is free at once
        QCOMPARE(second.error(), TcpListener::Error::None);
    }
};

QTEST_GUILESS_MAIN(tst_TcpListener)
#include "tst_TcpListener.moc"
