#include "Clock.h"
#include "ScratchFolder.h"
#include "TUtil.h"

#include <QDir>
#include <QFile>
#include <QTest>

class tst_GravaLog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Clock::setSourceForTesting([] { return QDateTime(QDate(2026, 12, 10), QTime(14, 3, 5)); });
    }
    void cleanup() { Clock::setSourceForTesting({}); }

    void entryLayout_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("date, long time, message, CR LF")
            << QTime(14, 3, 5) << "Mensagem recebida: 1;815;3;Contrato.doc"
            << QByteArray("10/12/2026 14:03:05 - Mensagem recebida: 1;815;3;Contrato.doc\r\n");
        QTest::newRow("time left out at midnight") << QTime(0, 0) << "x" << QByteArray("10/12/2026 - x\r\n");
        QTest::newRow("one second past midnight keeps it")
            << QTime(0, 0, 1) << "x" << QByteArray("10/12/2026 00:00:01 - x\r\n");
        QTest::newRow("line breaks written unchanged")
            << QTime(9, 0) << "a\r\nb\nc" << QByteArray("10/12/2026 09:00:00 - a\r\nb\nc\r\n");
        QTest::newRow("empty message") << QTime(9, 0) << "" << QByteArray("10/12/2026 09:00:00 - \r\n");
        QTest::newRow("accents in the locale's encoding")
            << QTime(9, 0) << "Usuário zé não encontrado na base de dados"
            << QString::fromUtf8("10/12/2026 09:00:00 - Usuário zé não encontrado na base de dados\r\n")
                   .toLocal8Bit();
    }

    void entryLayout()
    {
        QFETCH(QTime, time);
        QFETCH(QString, message);
        QFETCH(QByteArray, expected);
        Clock::setSourceForTesting([time] { return QDateTime(QDate(2026, 12, 10), time); });
        ScratchFolder folder;
        QVERIFY(!QFile::exists(folder.path() + "Log.txt"));
        TUtil::GravaLog(folder.path(), message);
        QCOMPARE(folder.logBytes(), expected);
    }

    // Each entry carries its own second and date, however close together the entries come; exact
    // midnight shows no time, a moment after it does.
    void stampFollowsTheClock()
    {
        const QDate day(2026, 12, 10);
        const QList<QPair<QDateTime, QString>> cases = {
            {QDateTime(day, QTime(14, 3, 5, 100)), "10/12/2026 14:03:05"},
            {QDateTime(day, QTime(14, 3, 5, 900)), "10/12/2026 14:03:05"},
            {QDateTime(day, QTime(14, 3, 6, 0)), "10/12/2026 14:03:06"},
            {QDateTime(day.addDays(1), QTime(14, 3, 6, 0)), "11/12/2026 14:03:06"},
            {QDateTime(day.addDays(2), QTime(0, 0)), "12/12/2026"},
            {QDateTime(day.addDays(2), QTime(0, 0, 0, 500)), "12/12/2026 00:00:00"},
            {QDateTime(day.addDays(3), QTime(0, 0, 0, 500)), "13/12/2026 00:00:00"},
            {QDateTime(day.addDays(3), QTime(0, 0)), "13/12/2026"},
        };
        ScratchFolder folder;
        QByteArray expected;
        for (const auto& caso : cases) {
            const QDateTime momento = caso.first;
            Clock::setSourceForTesting([momento] { return momento; });
            TUtil::GravaLog(folder.path(), "x");
            expected += caso.second.toLatin1() + " - x\r\n";
        }
        QCOMPARE(folder.logBytes(), expected);
    }

    void appendsToAnExistingLog()
    {
        ScratchFolder folder;
        TUtil::GravaLog(folder.path(), "primeira");
        TUtil::GravaLog(folder.path(), "segunda");
        QCOMPARE(folder.logMessages(), (QStringList{"primeira", "segunda"}));
    }

    void folderThatCannotBeWrittenIsIgnored()
    {
        ScratchFolder folder;
        const QString missing = folder.path() + "nao/existe/";
        TUtil::GravaLog(missing, "perdida"); // must neither throw nor create anything
        QVERIFY(!QDir(missing).exists());

        // A folder in place of the file: the open fails, the entry is lost quietly.
        QVERIFY(QDir(folder.path()).mkdir("Log.txt"));
        TUtil::GravaLog(folder.path(), "perdida");
        QVERIFY(QFileInfo(folder.path() + "Log.txt").isDir());
    }
};

QTEST_GUILESS_MAIN(tst_GravaLog)
#include "tst_GravaLog.moc"
