// corvellane-send: sends one notification to a workstation's port 900, as the print-accounting server
// does: connect, write the text in Windows-1252, close. Nothing comes back from the agent.
#include "Windows1252.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 4) {
        std::fprintf(stderr, "usage: corvellane-send MESSAGE [HOST [PORT]]\n"
                             "  MESSAGE  for example '1;815;3;Contrato.doc' (kind;job;pages;document)\n"
                             "  HOST     the workstation, 127.0.0.1 when left out\n"
                             "  PORT     900 when left out\n");
        return 2;
    }
    const QString host = arguments.size() > 2 ? arguments.at(2) : QStringLiteral("127.0.0.1");
    bool portOk = true;
    const int port = arguments.size() > 3 ? arguments.at(3).toInt(&portOk) : 900;
    if (!portOk || port < 1 || port > 65535) {
        std::fprintf(stderr, "corvellane-send: '%s' is not a port number\n", qPrintable(arguments.at(3)));
        return 2;
    }
    QTcpSocket socket;
    socket.connectToHost(host, static_cast<quint16>(port));
    if (!socket.waitForConnected(5000)) {
        std::fprintf(stderr, "corvellane-send: cannot reach %s:%d: %s\n", qPrintable(host), port,
                     qPrintable(socket.errorString()));
        return 1;
    }
    socket.write(Windows1252::encode(arguments.at(1)));
    if (!socket.waitForBytesWritten(5000)) {
        std::fprintf(stderr, "corvellane-send: %s\n", qPrintable(socket.errorString()));
        return 1;
    }
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(5000);
    return 0;
}
