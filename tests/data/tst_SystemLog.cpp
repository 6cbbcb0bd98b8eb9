#include "AccountName.h"
#include "Clock.h"
#include "ScratchFolder.h"
#include "SystemLog.h"
#include "TUtil.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Run with a /dev/log of its own (tests/data/private-devlog.sh): this test is the system log's daemon,
// and takes the socket away and back as journald does when it stalls or restarts.
class tst_SystemLog : public QObject {
    Q_OBJECT

    int m_logger = -1;

    void takeSocket()
    {
        ::unlink("/dev/log");
        m_logger = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        QVERIFY(m_logger >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, "/dev/log", sizeof address.sun_path);
        QVERIFY2(::bind(m_logger, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0,
                 "/dev/log cannot be taken: run this test through private-devlog.sh");
    }

    void dropSocket()
    {
        if (m_logger >= 0)
            ::close(m_logger);
        m_logger = -1;
        ::unlink("/dev/log");
    }

    // The next datagram, or empty when none comes in time. A datagram is in the logger's queue as soon as
    // the sender's call returns, so 0 ms asks whether that call sent one.
    QByteArray received(int milliseconds = 2000) const
    {
        pollfd ready{m_logger, POLLIN, 0};
        if (::poll(&ready, 1, milliseconds) != 1)
            return {};
        QByteArray datagram(65536, '\0');
        const ssize_t size = ::recv(m_logger, datagram.data(), datagram.size(), 0);
        return size < 0 ? QByteArray() : datagram.left(size);
    }

    // What syslog(3) would have sent: facility user and level info (<14>), the time stamp, the
    // identifier and the process, then the account and the message.
    static bool isEntryFor(const QString& text, const QByteArray& datagram)
    {
        const QRegularExpression entry(
            "^<14>[A-Z][a-z]{2} [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] corvellane\\[" +
                QString::number(::getpid()) + "\\]: maria\\.souza: " + QRegularExpression::escape(text) + "$",
            QRegularExpression::DotMatchesEverythingOption);
        return entry.match(QString::fromUtf8(datagram)).hasMatch();
    }

    static void at(const QDateTime& moment)
    {
        Clock::setSourceForTesting([moment] { return moment; });
    }

private Q_SLOTS:
    void init()
    {
        AccountName::setForTesting(QStringLiteral("maria.souza"));
        takeSocket();
    }

    void cleanup()
    {
        dropSocket();
        Clock::setSourceForTesting({});
        AccountName::resetForTesting();
    }

    // Each line of Log.txt goes to the system log too, as the logger receives it from syslog(3), even
    // when Log.txt cannot be written.
    void everyLineReachesTheSystemLog_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("logWritable");
        const QString notification = QStringLiteral("Mensagem recebida: 1;815;3;Relatório anual.doc");
        QTest::newRow("Log.txt written") << notification << true;
        QTest::newRow("Log.txt not writable") << notification << false;
        QTest::newRow("accents, in UTF-8")
            << QStringLiteral("Usuário zé não encontrado na base de dados") << true;
        QTest::newRow("printf directives stay text")
            << QStringLiteral("Mensagem recebida: 1;815;3;%s%n%x.doc") << true;
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb") << true;
        QTest::newRow("empty") << QString() << true;
    }

    void everyLineReachesTheSystemLog()
    {
        QFETCH(QString, message);
        QFETCH(bool, logWritable);
        ScratchFolder folder;
        const QString path = logWritable ? folder.path() : folder.path() + "absent/";
        TUtil::GravaLog(path, message);
        const QByteArray datagram = received();
        QVERIFY2(isEntryFor(message, datagram), datagram.constData());
        QCOMPARE(QFile::exists(path + "Log.txt"), logWritable);
        if (logWritable)
            QVERIFY(folder.logBytes().endsWith(" - " + message.toLocal8Bit() + "\r\n"));
    }

    // A burst past the limit of a second reaches the system log in part; Log.txt has every entry, and the
    // next second's first entry to the system log says how many did not go.
    void burstIsCountedNotSent()
    {
        // A second of its own, apart from the other cases' entries.
        const QDateTime second = QDateTime::currentDateTime().addSecs(100);
        at(second);
        ScratchFolder folder;
        const int burst = SystemLog::entriesPerSecond + 50;
        QList<QByteArray> arrived;
        for (int i = 0; i < burst; ++i) {
            TUtil::GravaLog(folder.path(), QString("linha %1").arg(i));
            const QByteArray datagram = received(0);
            if (!datagram.isEmpty())
                arrived << datagram;
        }
        QCOMPARE(arrived.size(), SystemLog::entriesPerSecond);
        QVERIFY(isEntryFor("linha 0", arrived.first()));
        QVERIFY(isEntryFor(QString("linha %1").arg(SystemLog::entriesPerSecond - 1), arrived.last()));
        QCOMPARE(folder.logMessages().size(), burst);

        at(second.addSecs(1));
        TUtil::GravaLog(folder.path(), "seguinte");
        const QByteArray count = received(0);
        QVERIFY2(isEntryFor("50 entradas não foram enviadas ao log do sistema (mais de 100 em um segundo); "
                            "estão em Log.txt",
                            count),
                 count.constData());
        QVERIFY(isEntryFor("seguinte", received(0)));
        // The count went once.
        at(second.addSecs(2));
        TUtil::GravaLog(folder.path(), "depois");
        QVERIFY(isEntryFor("depois", received(0)));
    }

    // A logger that stops reading never holds the agent up: the entries that do not fit in its queue are
    // lost to the system log only. Once it reads again, and after it went and came back on a new socket,
    // the next entry reaches it.
    void loggerThatDoesNotReadNeverHoldsTheAgent()
    {
        const QDateTime second = QDateTime::currentDateTime().addSecs(200);
        at(second);
        ScratchFolder folder;
        // Entries large enough that a second's worth overflows what the kernel queues for a logger,
        // whatever its queue length. A send that waited would never return: the alarm ends the test.
        const int entries = SystemLog::entriesPerSecond;
        ::alarm(30);
        for (int i = 0; i < entries; ++i)
            TUtil::GravaLog(folder.path(), QString("entrada %1 ").arg(i) + QString(8192, 'x'));
        ::alarm(0);
        QCOMPARE(folder.logMessages().size(), entries);
        int queued = 0;
        while (!received(100).isEmpty())
            ++queued;
        QVERIFY2(queued > 0 && queued < entries, qPrintable(QString::number(queued)));

        at(second.addSecs(1));
        TUtil::GravaLog(folder.path(), "depois");
        QVERIFY(isEntryFor("depois", received()));

        // Without a logger the entry is lost; one is looked for again in the next second.
        dropSocket();
        TUtil::GravaLog(folder.path(), "sem registro do sistema");
        takeSocket();
        TUtil::GravaLog(folder.path(), "ainda no mesmo segundo");
        QVERIFY(received(100).isEmpty());
        at(second.addSecs(2));
        TUtil::GravaLog(folder.path(), "de volta");
        QVERIFY(isEntryFor("de volta", received()));
        QCOMPARE(folder.logMessages().mid(entries),
                 (QStringList{"depois", "sem registro do sistema", "ainda no mesmo segundo", "de volta"}));
    }
};

QTEST_GUILESS_MAIN(tst_SystemLog)
#include "tst_SystemLog.moc"
