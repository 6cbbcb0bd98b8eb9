// The reference listener: accepts loopback connections on the event loop, as the agent does, and
// only reads and discards. Every read counts as one message, as it does for the agent; the count is
// kept in an 8-byte file that bench-senders maps to see the progress.
//   bench-sink COUNTER_FILE      prints the port it listens on
#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdint>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench-sink COUNTER_FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate) || !file.resize(8))
        return 1;
    auto* count = reinterpret_cast<volatile std::uint64_t*>(file.map(0, 8));
    if (!count)
        return 1;
    *count = 0;

    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 1;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket* connection = server.nextPendingConnection()) {
            QObject::connect(connection, &QTcpSocket::readyRead, connection, [connection, count] {
                if (!connection->readAll().isEmpty())
                    *count = *count + 1;
            });
            QObject::connect(connection, &QTcpSocket::disconnected, connection, &QObject::deleteLater);
        }
    });
    std::printf("%d\n", server.serverPort());
    std::fflush(stdout);
    return QCoreApplication::exec();
}
