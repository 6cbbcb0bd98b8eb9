#include "DatabaseError.h"
#include "ScratchFolder.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QTest>

// The ODBC layer against the real server: what goes in comes back with its type, NULL stays NULL,
// and the driver's errors arrive with its own text and SQLSTATE.
class tst_OdbcConnection : public QObject {
    Q_OBJECT

    OdbcConnection& connection() { return dtmMain->dbCorvelLane; }

private Q_SLOTS:
    void initTestCase() { TestDatabase::connect(); }
    void cleanupTestCase() { TestDatabase::disconnect(); }

    void valuesRoundTripWithTheirTypes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("integer") << QVariant(-2147483647);
        QTest::newRow("zero") << QVariant(0);
        QTest::newRow("floating point") << QVariant(2.5);
        QTest::newRow("empty text") << QVariant(QString());
        QTest::newRow("accented text") << QVariant(QString::fromUtf8("Relatório de produção – “ü” € ção"));
        QTest::newRow("quotes and backslashes")
            << QVariant(QString::fromUtf8("'; drop table impressoes; -- \\ \""));
        QTest::newRow("date") << QVariant(QDate(2026, 2, 28));
        QTest::newRow("date-time") << QVariant(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 58)));
    }

    void valuesRoundTripWithTheirTypes()
    {
        QFETCH(QVariant, value);
        ResultSet rows = connection().query(QStringLiteral("select ?"), {value});
        QCOMPARE(rows.recordCount(), 1);
        const QVariant back = rows.field(0);
        if (value.metaType().id() == QMetaType::QString)
            QCOMPARE(back.toString(), value.toString());
        else if (value.metaType().id() == QMetaType::QDate)
            QCOMPARE(back.toDate(), value.toDate());
        else if (value.metaType().id() == QMetaType::QDateTime)
            QCOMPARE(back.toDateTime(), value.toDateTime());
        else
            QCOMPARE(back.toDouble(), value.toDouble());
    }

    void nullIsKeptApartFromZeroAndEmptyText()
    {
        TestDatabase::exec("delete from impressoes");
        connection().execute("insert into impressoes(cod_usuario, cod_impressora, cod_status_impressao, "
                             "data_impressao, nome_documento, paginas, obs) values (1, 1, 1, ?, ?, ?, ?)",
                             {QDate(2026, 12, 1), QString(), 0, QVariant()});
        ResultSet rows =
            connection().query("select nome_documento, paginas, obs, data_impressao from impressoes", {});
        QCOMPARE(rows.field("nome_documento"), QVariant(QString("")));
        QCOMPARE(rows.field("paginas"), QVariant(0));
        QVERIFY(!rows.field("obs").isValid());
        QCOMPARE(rows.field("data_impressao").metaType().id(), QMetaType::QDate);
    }

    void columnTypesFollowTheServer()
    {
        ResultSet rows =
            connection().query("select count(*) as n, sum(1) as s, sysdate() as agora, sum(null) as vazio "
                               "from dual",
                               {});
        QCOMPARE(rows.columnNames(), (QStringList{"n", "s", "agora", "vazio"}));
        QCOMPARE(rows.field("N").toInt(), 1); // names compare without regard to case
        QCOMPARE(rows.field("s").toInt(), 1);
        QCOMPARE(rows.field("agora").metaType().id(), QMetaType::QDateTime);
        QVERIFY(!rows.field("vazio").isValid());
        QVERIFY_THROWS_EXCEPTION(AppError, rows.field("nao_existe"));
    }

    void driverErrorsCarryTheirTextAndState()
    {
        try {
            connection().query("select * from tabela_que_nao_existe", {});
            QFAIL("the statement should have failed");
        } catch (const DatabaseError& error) {
            QCOMPARE(error.sqlState(), QStringLiteral("42S02"));
            QVERIFY2(error.message().contains("tabela_que_nao_existe"), qPrintable(error.message()));
            QVERIFY(!error.isConnectionLost());
        }
    }

    void killedConnectionIsReplaced()
    {
        OdbcConnection other;
        other.setConnectionString(dtmMain->dbCorvelLane.connectionString());
        other.open();
        const int id = other.query("select connection_id()", {}).field(0).toInt();
        TestDatabase::asRoot(QStringLiteral("KILL %1").arg(id));
        QVERIFY(other.query("select connection_id()", {}).field(0).toInt() != id);
    }

    void onlyStatementsThatRunAgainStayPrepared()
    {
        OdbcConnection other;
        other.setConnectionString(connection().connectionString());
        other.open();
        // The server's count of prepared statements, asked on the same connection so that the
        // statements that connection released before are closed on the server by then. The asking
        // statement counts itself once whether it is kept yet or not.
        const auto preparedOnServer = [&other] {
            return other
                .query("select variable_value from information_schema.global_status "
                       "where variable_name = 'PREPARED_STMT_COUNT'",
                       {})
                .field(0)
                .toInt();
        };
        const int before = preparedOnServer();
        QCOMPARE(other.query("select 1 + ?", {1}).field(0).toInt(), 2);
        QCOMPARE(preparedOnServer(), before); // run once: released
        other.execute("set @corvellane = ?", {1});
        other.execute("set @corvellane = ?", {2});
        QCOMPARE(preparedOnServer(), before + 1); // run again: kept
        other.execute("set @corvellane = ?", {3});
        QCOMPARE(other.query("select @corvellane", {}).field(0).toInt(), 3);
        QCOMPARE(preparedOnServer(), before + 1); // and reused
        // First runs of other statements, more than are ever kept, leave the kept one in place.
        for (int i = 0; i < 40; ++i)
            QCOMPARE(other.query(QStringLiteral("select %1").arg(i), {}).field(0).toInt(), i);
        QCOMPARE(preparedOnServer(), before + 1);
        // Run again, they fill the kept ones; a first run then takes none of their places.
        for (int i = 0; i < 40; ++i)
            other.query(QStringLiteral("select %1").arg(i), {});
        const int full = preparedOnServer();
        QCOMPARE(other.query("select 'once'", {}).field(0).toString(), QStringLiteral("once"));
        QCOMPARE(preparedOnServer(), full);
    }

    void serverAwayAndBack()
    {
        OdbcConnection other;
        other.setConnectionString(dtmMain->dbCorvelLane.connectionString());
        other.open();
        TestDatabase::stopServer();
        auto resume = qScopeGuard([] { TestDatabase::resumeServer(); });
        for (int action = 0; action < 2; ++action) {
            try {
                other.query("select 1", {});
                QFAIL("the server is away");
            } catch (const DatabaseError& error) {
                QVERIFY2(error.isConnectionLost(), qPrintable(error.sqlState() + " " + error.message()));
                QVERIFY2(error.message().contains("CorvelLane"), qPrintable(error.message()));
            }
        }
        QVERIFY(other.isConnected()); // still meant to be open: nothing special is needed once it is back
        resume.dismiss();
        TestDatabase::resumeServer();
        QCOMPARE(other.query("select 7", {}).field(0).toInt(), 7);
    }

    void filterHidesRowsFromTheCursor()
    {
        ResultSet rows =
            connection().query("select 0 as c union all select 2 union all select 0 union all select 1", {});
        rows.setFilter([](const ResultSet& all, qsizetype row) { return all.value(row, "c").toInt() != 0; });
        QCOMPARE(rows.recordCount(), 2);
        QList<int> seen;
        for (rows.first(); !rows.eof(); rows.next())
            seen.append(rows.field("c").toInt());
        QCOMPARE(seen, (QList<int>{2, 1}));
        QVERIFY_THROWS_EXCEPTION(AppError, rows.field(0)); // past the end
        rows.setFilter({});
        QCOMPARE(rows.recordCount(), 4);
    }
};

QTEST_GUILESS_MAIN(tst_OdbcConnection)
#include "tst_OdbcConnection.moc"
