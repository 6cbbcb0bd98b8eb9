#include "AppError.h"
#include "ConnectionString.h"

#include <QTest>

class tst_ConnectionString : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void agentStringBecomesOdbcKeywords()
    {
        QCOMPARE(
            ConnectionString::toOdbc(QStringLiteral("Provider=MSDASQL.1;Password=mabel7;Persist Security "
                                                    "Info=True;User ID=corvellane;Data Source=CorvelLane")),
            QStringLiteral("PWD=mabel7;UID=corvellane;DSN=CorvelLane"));
    }

    void otherKeysPassThrough()
    {
        QCOMPARE(ConnectionString::toOdbc(QStringLiteral("DSN=x;OPTION=2")),
                 QStringLiteral("DSN=x;OPTION=2"));
    }

    void noDataSourceIsAnError()
    {
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 ConnectionString::toOdbc(QStringLiteral("Provider=MSDASQL.1;User ID=x")));
        QVERIFY_THROWS_EXCEPTION(AppError, ConnectionString::toOdbc(QStringLiteral("Data Source=")));
    }

    // The error names the text it could not use, but never the password in it.
    void errorTextLeavesThePasswordOut()
    {
        try {
            ConnectionString::toOdbc(
                QStringLiteral("Provider=MSDASQL.1;Password=segredo7;User ID=corvellane"));
            QFAIL("a text without a data source is an error");
        } catch (const AppError& error) {
            QVERIFY2(!error.message().contains("segredo7"), qPrintable(error.message()));
            QVERIFY2(error.message().contains("User ID=corvellane"), qPrintable(error.message()));
        }
    }

    void withoutPassword_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ADO") << "Provider=MSDASQL.1;Password=mabel7;User ID=corvellane;Data Source=CorvelLane"
                             << "Provider=MSDASQL.1;User ID=corvellane;Data Source=CorvelLane";
        QTest::newRow("ODBC") << "DSN=CorvelLane;UID=corvellane;PWD=mabel7;OPTION=2"
                              << "DSN=CorvelLane;UID=corvellane;OPTION=2";
        QTest::newRow("any case, blanks around the key") << " pwd =a;b; PASSWORD=c"
                                                         << "b";
        QTest::newRow("every entry") << "PWD=a;PWD=b"
                                     << "";
        QTest::newRow("a password holding '='") << "PWD=x=y;DSN=d"
                                                << "DSN=d";
        QTest::newRow("none") << "DSN=d;UID=u"
                              << "DSN=d;UID=u";
    }

    void withoutPassword()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ConnectionString::withoutPassword(text), shown);
    }

    // Every connection gets an end to each of its waits, unless the administrator chose one: in the
    // text, or in the data source (here, the keys listed in dsnKeys of the data source "CorvelLane").
    void timeLimits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("dsnKeys");
        QTest::addColumn<QString>("sent");
        const QString all = ";CONN_TIMEOUT=5;READ_TIMEOUT=10;WRITE_TIMEOUT=10";
        QTest::newRow("none set") << "DSN=CorvelLane;UID=u" << QStringList() << "DSN=CorvelLane;UID=u" + all;
        QTest::newRow("the text's own, in any case")
            << "DSN=CorvelLane; read_timeout =30" << QStringList()
            << "DSN=CorvelLane; read_timeout =30;CONN_TIMEOUT=5;WRITE_TIMEOUT=10";
        QTest::newRow("the data source's own")
            << "DSN=CorvelLane" << QStringList{"CONN_TIMEOUT", "WRITE_TIMEOUT"}
            << "DSN=CorvelLane;READ_TIMEOUT=10";
        QTest::newRow("another data source's keys are not this one's")
            << "DSN=Outra" << QStringList{"CONN_TIMEOUT"} << "DSN=Outra" + all;
        QTest::newRow("no data source named")
            << "Driver=x;Server=h" << QStringList() << "Driver=x;Server=h" + all;
    }

    void timeLimits()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, dsnKeys);
        QFETCH(QString, sent);
        const auto dataSourceSets = [&dsnKeys](const QString& dataSource, const QString& key) {
            return dataSource == QLatin1String("CorvelLane") && dsnKeys.contains(key);
        };
        QCOMPARE(ConnectionString::withTimeLimits(text, dataSourceSets), sent);
    }
};

QTEST_GUILESS_MAIN(tst_ConnectionString)
#include "tst_ConnectionString.moc"
