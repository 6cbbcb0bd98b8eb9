#include "DataSourceStore.h"
#include "PrivateOdbcConfiguration.h"

#include <QTest>
#include <odbcinst.h>

// The driver-setup library as the driver manager uses it: SQLConfigDataSource finds it through the
// driver's Setup= key and hands it the request and the attribute list.
class tst_ConfigDSN : public QObject {
    Q_OBJECT

    PrivateOdbcConfiguration odbc;
    const QByteArray otherSource = "[Outra]\nDriver=MySQL ODBC 5.1 Driver\nServer=10.9.9.9\n";

    static QByteArray list(const QList<QByteArray>& entries)
    {
        QByteArray result;
        for (const QByteArray& entry : entries)
            result += entry + '\0';
        return result + '\0';
    }

    static bool config(WORD request, const QByteArray& attributes)
    {
        return SQLConfigDataSource(nullptr, request, "MySQL ODBC 5.1 Driver", attributes.constData());
    }

    static QByteArray agentList(const QByteArray& server)
    {
        return list({"DSN=CorvelLane", "Database=CORVELLANE", "UId=corvellane", "PWD=mabel7",
                     "Server=" + server, "Exclusive=1", "Description=MySQL ODBC 5.1 Driver"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        odbc.setOdbcInst("[MySQL ODBC 5.1 Driver]\nDriver=/usr/lib/no-driver-needed.so\nSetup=" +
                         QByteArray(CORVELLANE_ODBC_SETUP_FILE) + "\n");
    }

    void init() { odbc.setOdbcIni(otherSource); }

    void addWritesTheSystemDataSource_data()
    {
        QTest::addColumn<QByteArray>("server");
        QTest::newRow("address") << QByteArray("192.168.10.4");
        QTest::newRow("host name") << QByteArray("db-corvel.empresa.local");
        QTest::newRow("empty") << QByteArray();
    }

    void addWritesTheSystemDataSource()
    {
        QFETCH(QByteArray, server);
        QVERIFY(!DataSourceStore::systemDataSourceExists("CorvelLane"));
        QVERIFY(config(ODBC_ADD_SYS_DSN, agentList(server)));

        QCOMPARE(odbc.section("CorvelLane"),
                 (QStringList{"Driver=MySQL ODBC 5.1 Driver", "Database=CORVELLANE", "UId=corvellane",
                              "PWD=mabel7", "Server=" + QString::fromLatin1(server), "Exclusive=1",
                              "Description=MySQL ODBC 5.1 Driver"}));
        QVERIFY(odbc.odbcIni().contains(otherSource.trimmed()));
        QVERIFY(DataSourceStore::systemDataSourceExists("CorvelLane"));
        QVERIFY(DataSourceStore::systemDataSourceExists("corvellane"));
    }

    void addReplacesAnEarlierDataSourceWhole()
    {
        odbc.setOdbcIni(otherSource +
                        "[CorvelLane]\nDriver=MySQL ODBC 5.1 Driver\nServer=10.0.0.1\nPort=3307\n");
        QVERIFY(config(ODBC_ADD_SYS_DSN, agentList("10.0.0.2")));
        const QStringList section = odbc.section("CorvelLane");
        QVERIFY(section.contains("Server=10.0.0.2"));
        QVERIFY(!section.contains("Server=10.0.0.1"));
        QVERIFY(!section.contains("Port=3307"));
    }

    void removeTakesOnlyThatDataSourceAndIsSeenAtOnce()
    {
        QVERIFY(config(ODBC_ADD_SYS_DSN, agentList("10.0.0.2")));
        QVERIFY(DataSourceStore::systemDataSourceExists("CorvelLane"));
        QVERIFY(config(ODBC_REMOVE_SYS_DSN, agentList("10.0.0.2")));
        QVERIFY(odbc.section("CorvelLane").isEmpty());
        QVERIFY(odbc.odbcIni().contains(otherSource.trimmed()));
        // The driver manager had just read the data source; the removal must not be hidden by that.
        QVERIFY(!DataSourceStore::systemDataSourceExists("CorvelLane"));
    }

    void refusesWhatCannotBeWrittenSafely_data()
    {
        QTest::addColumn<QByteArray>("attributes");
        QTest::newRow("line break in a value")
            << list({"DSN=CorvelLane", "Server=10.0.0.1\nDriver=/tmp/evil.so", "Exclusive=1"});
        QTest::newRow("carriage return in a value") << list({"DSN=CorvelLane", "Server=10.0.0.1\r[Outra]"});
        QTest::newRow("section bracket in a key") << list({"DSN=CorvelLane", "[Outra]x=1"});
        QTest::newRow("entry without =") << list({"DSN=CorvelLane", "Server"});
        QTest::newRow("no data source name") << list({"Server=10.0.0.1"});
        QTest::newRow("empty data source name") << list({"DSN=", "Server=10.0.0.1"});
    }

    void refusesWhatCannotBeWrittenSafely()
    {
        QFETCH(QByteArray, attributes);
        const QByteArray before = odbc.odbcIni();
        QVERIFY(!config(ODBC_ADD_SYS_DSN, attributes));
        QCOMPARE(odbc.odbcIni(), before);
        QVERIFY(!DataSourceStore::systemDataSourceExists("CorvelLane"));
    }

    void aUserDataSourceIsNotTheSystemOne()
    {
        odbc.setUserOdbcIni("[CorvelLane]\nDriver=MySQL ODBC 5.1 Driver\nServer=10.0.0.3\n");
        QVERIFY(!DataSourceStore::systemDataSourceExists("CorvelLane"));
        odbc.setUserOdbcIni({});
    }
};

QTEST_GUILESS_MAIN(tst_ConfigDSN)
#include "tst_ConfigDSN.moc"
