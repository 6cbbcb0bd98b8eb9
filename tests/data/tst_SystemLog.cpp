#include "AccountName.h"
#include "ScratchFolder.h"
#include "TUtil.h"

#include <QFile>
#include <QTest>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Run with a /dev/log of its own (tests/data/private-devlog.sh): this test is the system log's daemon.
class tst_SystemLog : public QObject {
    Q_OBJECT

    int receiver = -1;

    // The next datagram sent to /dev/log, or empty after two seconds.
    QByteArray received()
    {
        pollfd ready{receiver, POLLIN, 0};
        if (poll(&ready, 1, 2000) != 1)
            return {};
        char buffer[4096];
        const ssize_t size = recv(receiver, buffer, sizeof buffer, 0);
        return size > 0 ? QByteArray(buffer, size) : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        receiver = socket(AF_UNIX, SOCK_DGRAM, 0);
        QVERIFY(receiver >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, "/dev/log", sizeof address.sun_path);
        QVERIFY2(bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0,
                 "/dev/log is taken: run this test through private-devlog.sh");
    }

    void cleanupTestCase()
    {
        close(receiver);
        unlink("/dev/log");
        AccountName::resetForTesting();
    }

    // Each line of Log.txt goes to the system log too, under the agent's identifier, with the account of
    // the user whose agent wrote it; even when Log.txt cannot be written.
    void everyLineReachesTheSystemLog_data()
    {
        QTest::addColumn<bool>("logWritable");
        QTest::newRow("Log.txt written") << true;
        QTest::newRow("Log.txt not writable") << false;
    }

    void everyLineReachesTheSystemLog()
    {
        QFETCH(bool, logWritable);
        ScratchFolder folder;
        const QString path = logWritable ? folder.path() : folder.path() + "absent/";
        AccountName::setForTesting(QStringLiteral("maria.souza"));
        TUtil::GravaLog(path, QStringLiteral("Mensagem recebida: 1;815;3;Relatório anual.doc"));
        const QString datagram = QString::fromUtf8(received());
        QVERIFY2(datagram.contains(QStringLiteral("corvellane[") + QString::number(getpid()) + "]: "),
                 qPrintable(datagram));
        QVERIFY2(
            datagram.endsWith(QStringLiteral("maria.souza: Mensagem recebida: 1;815;3;Relatório anual.doc")),
            qPrintable(datagram));
        // <14>: a user-level event of informational severity.
        QVERIFY2(datagram.startsWith(QStringLiteral("<14>")), qPrintable(datagram));
        QCOMPARE(QFile::exists(path + "Log.txt"), logWritable);
    }
};

QTEST_GUILESS_MAIN(tst_SystemLog)
#include "tst_SystemLog.moc"
