#include "AnswerDropper.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "ScratchFolder.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

const QString agentAccount = QStringLiteral("Password=mabel7;User ID=corvellane;Data Source=CorvelLane");

int connectionId(OdbcConnection& connection)
{
    return connection.query("select connection_id()", {}).field(0).toInt();
}

// Waits until the server has closed that connection on its side.
bool goneFromTheServer(int id)
{
    for (int waited = 0; waited < 100; ++waited) {
        if (TestDatabase::value("select count(*) from information_schema.processlist where id = :P1", {id})
                .toInt() == 0)
            return true;
        QTest::qWait(100);
    }
    return false;
}

int rowsAt(const QString& ip)
{
    return TestDatabase::value("select count(*) from instancia where ip = :P1", {ip}).toInt();
}

} // namespace

// The ODBC layer against the real server: what goes in comes back with its type, NULL stays NULL,
// and the driver's errors arrive with its own text and SQLSTATE.
class tst_OdbcConnection : public QObject {
    Q_OBJECT

    OdbcConnection& connection() { return TestDatabase::dataModule().dbCorvelLane; }

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
        // Texts are read in pieces of 1,023 UTF-16 units: what lies at a piece's edge stays as it is.
        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
        QTest::newRow("leading U+FEFF") << QVariant(QChar(0xFEFF) + QStringLiteral("Relatório"));
        QTest::newRow("only U+FEFF") << QVariant(QString(QChar(0xFEFF)));
        QTest::newRow("U+FEFF where a piece starts") << QVariant(QString(1023, 'a') + QChar(0xFEFF) + "z");
        QTest::newRow("longer than a piece") << QVariant(QString::fromUtf8("ção-").repeated(1000));
        QTest::newRow("exactly a piece") << QVariant(QString(1023, 'b'));
        QTest::newRow("pairs across a piece's edge") << QVariant("a" + smile.repeated(700));
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
        // Written through the tests' own account: the agent's may not insert jobs.
        TestDatabase::exec("delete from impressoes");
        TestDatabase::administrator().execute(
            "insert into impressoes(cod_usuario, cod_impressora, cod_status_impressao, data_impressao, "
            "nome_documento, paginas, obs) values (1, 1, 1, ?, ?, ?, ?)",
            {QDate(2026, 12, 1), QString(), 0, QVariant()}, OdbcConnection::Effect::Write);
        ResultSet rows =
            connection().query("select nome_documento, paginas, obs, data_impressao from impressoes", {});
        QCOMPARE(rows.field("nome_documento"), QVariant(QString("")));
        QCOMPARE(rows.field("paginas"), QVariant(0));
        QVERIFY(!rows.field("obs").isValid());
        QCOMPARE(rows.field("data_impressao").metaType().id(), QMetaType::QDate);
    }

    // A statement runs directly (the driver sends its prepare and execution together, one round trip,
    // and closes it) until it is kept prepared: once the connection has been quiet for a while (5 s)
    // after it came again, or at its tenth run when it comes without a pause. The session's own count of
    // prepares shows it, on a connection of the test's own, so no other connection's quiet time counts;
    // each look at the count is itself one more direct run. Text with a quote and a backslash comes
    // back as it went.
    void aRepeatIsKeptPreparedWhenQuietOrAtItsTenthRun()
    {
        OdbcConnection own;
        own.setConnectionString(agentAccount);
        own.open();
        const auto prepares = [&own] {
            return own.query(QStringLiteral("show session status like 'Com_stmt_prepare'"), {})
                .field("Value")
                .toLongLong();
        };
        const auto statement = [](const char* name) {
            return QStringLiteral("select ? as %1_%2")
                .arg(QLatin1String(name))
                .arg(QDateTime::currentMSecsSinceEpoch());
        };

        const QString repeated = statement("quieta");
        QCOMPARE(own.query(repeated, {QString::fromUtf8("'ção\\")}).field(0).toString(),
                 QString::fromUtf8("'ção\\"));
        QCOMPARE(own.query(repeated, {1}).field(0).toInt(), 1);
        const qint64 beforeQuiet = prepares();
        QCOMPARE(beforeQuiet, 3);
        QTest::qWait(6500);
        const qint64 afterQuiet = prepares();
        QCOMPARE(afterQuiet - beforeQuiet, 2); // the kept one's prepare, and the look
        for (int run = 2; run <= 4; ++run)
            QCOMPARE(own.query(repeated, {run}).field(0).toInt(), run);
        const qint64 kept = prepares();
        QCOMPARE(kept - afterQuiet, 1); // the look alone

        const QString busy = statement("sem_pausa");
        for (int run = 1; run <= 15; ++run)
            QCOMPARE(own.query(busy, {run}).field(0).toInt(), run);
        QCOMPARE(prepares() - kept, 11); // nine direct runs, the prepare at the tenth, and the look
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
            connection().query("select coluna_que_nao_existe from usuario", {});
            QFAIL("the statement should have failed");
        } catch (const DatabaseError& error) {
            QCOMPARE(error.sqlState(), QStringLiteral("42S22"));
            QVERIFY2(error.message().contains("coluna_que_nao_existe"), qPrintable(error.message()));
            QVERIFY(!error.isConnectionLost());
        }
    }

    void killedConnectionIsReplaced()
    {
        OdbcConnection other;
        other.setConnectionString(TestDatabase::dataModule().dbCorvelLane.connectionString());
        other.open();
        const int id = other.query("select connection_id()", {}).field(0).toInt();
        TestDatabase::asRoot(QStringLiteral("KILL %1").arg(id));
        QVERIFY(other.query("select connection_id()", {}).field(0).toInt() != id);
    }

    void serverAwayAndBack()
    {
        OdbcConnection other;
        other.setConnectionString(TestDatabase::dataModule().dbCorvelLane.connectionString());
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

    // The server closes a connection that stayed idle past its wait_timeout (8 hours by default; a
    // firewall's idle limit does the same). The next statement, read or write, runs at once on a new
    // connection, and a write runs once.
    void connectionTheServerClosedWhileIdle()
    {
        OdbcConnection other;
        other.setConnectionString(agentAccount);
        other.open();
        TestDatabase::exec("delete from instancia");
        for (const bool write : {false, true}) {
            other.execute("set session wait_timeout = 1", {}, OdbcConnection::Effect::Repeatable);
            QVERIFY(goneFromTheServer(connectionId(other)));
            if (write) {
                QCOMPARE(other.execute("insert into instancia(cod_usuario, ip) values (?, ?)",
                                       {5, "10.9.8.7"}, OdbcConnection::Effect::Write),
                         1);
                QCOMPARE(rowsAt("10.9.8.7"), 1);
            } else {
                QCOMPARE(other.query("select 42", {}).field(0).toInt(), 42);
            }
        }
    }

    // The statement reached the server and was done, and the answer was lost with the connection: a
    // write is not sent again (the user is told, and may try again), a read is simply asked again.
    void writeThatMayHaveBeenDoneIsNotSentAgain()
    {
        AnswerDropper relay(static_cast<quint16>(qEnvironmentVariableIntValue("CORVELLANE_TESTDB_PORT")));
        OdbcConnection other;
        other.setConnectionString(agentAccount +
                                  QStringLiteral(";Server=127.0.0.1;Port=%1").arg(relay.port()));
        other.open();
        TestDatabase::exec("delete from instancia");
        const QString insert = QStringLiteral("insert into instancia(cod_usuario, ip) values (?, ?)");
        relay.dropNextAnswer();
        try {
            other.execute(insert, {5, "10.9.8.7"}, OdbcConnection::Effect::Write);
            QFAIL("the answer was lost: the statement cannot have succeeded");
        } catch (const DatabaseError& error) {
            QVERIFY2(error.isConnectionLost(), qPrintable(error.sqlState() + " " + error.message()));
            QVERIFY2(error.message().contains("CorvelLane"), qPrintable(error.message()));
        }
        QCOMPARE(relay.dropped(), 1);
        QCOMPARE(rowsAt("10.9.8.7"), 1);
        QVERIFY(other.isConnected());

        QCOMPARE(other.query("select 1", {}).field(0).toInt(), 1); // connected again, past its set-up
        relay.dropNextAnswer();
        QCOMPARE(other.query("select count(*) from instancia where ip = ?", {"10.9.8.7"}).field(0).toInt(),
                 1);
        QCOMPARE(relay.dropped(), 2);
        QCOMPARE(rowsAt("10.9.8.7"), 1);
    }

    // Whether a lost answer's statement is sent again is the caller's word, whatever the text begins
    // with: a session setting runs again on the new connection, a statement its caller counts as a
    // write does not.
    void theCallerSaysWhetherAStatementRunsAgain_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("repeatable");
        QTest::newRow("a session setting") << "set @visto = 1" << true;
        QTest::newRow("the choice of the database") << "USE CORVELLANE" << true;
        QTest::newRow("a select its caller counts as a write") << "select 1" << false;
    }

    void theCallerSaysWhetherAStatementRunsAgain()
    {
        QFETCH(QString, sql);
        QFETCH(bool, repeatable);
        AnswerDropper relay(static_cast<quint16>(qEnvironmentVariableIntValue("CORVELLANE_TESTDB_PORT")));
        OdbcConnection other;
        other.setConnectionString(agentAccount +
                                  QStringLiteral(";Server=127.0.0.1;Port=%1").arg(relay.port()));
        other.open();
        relay.dropNextAnswer();
        bool ranAgain = true;
        try {
            other.execute(sql, {},
                          repeatable ? OdbcConnection::Effect::Repeatable : OdbcConnection::Effect::Write);
        } catch (const DatabaseError& error) {
            QVERIFY2(error.message().contains("pode não ter sido gravada"), qPrintable(error.message()));
            ranAgain = false;
        }
        QCOMPARE(relay.dropped(), 1);
        QCOMPARE(ranAgain, repeatable);
    }

    // A server that accepts the connection and never greets (paused, its host stuck): the attempt ends
    // at the agent's connection time limit, 5 s, instead of waiting for minutes, and fails as a
    // connection failure.
    void silentServerEndsTheConnectionAttempt()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const auto closeListener = qScopeGuard([listener] { ::close(listener); });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), length) == 0);
        QVERIFY(::listen(listener, 4) == 0); // the kernel completes connections; nothing ever answers
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        OdbcConnection other;
        other.setConnectionString(agentAccount +
                                  QStringLiteral(";Server=127.0.0.1;Port=%1").arg(ntohs(address.sin_port)));
        QElapsedTimer waited;
        waited.start();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, other.open());
        QVERIFY2(waited.elapsed() < 15000, qPrintable(QString::number(waited.elapsed())));
    }

    // A statement the server sits on past the read limit ends as a lost connection. The server is
    // stalled, so a read is not asked again at once (one run on the server, not two); a write is never
    // sent again, and the error says it may have been done, as it is here. For a few seconds after, a
    // statement fails at once rather than wait on the server again; then one connects again.
    void stalledStatementEnds()
    {
        OdbcConnection other;
        other.setConnectionString(agentAccount + QStringLiteral(";READ_TIMEOUT=1"));
        other.open();
        TestDatabase::exec("delete from instancia");
        const QString running = QStringLiteral(
            "select count(*) from information_schema.processlist where info like 'select sleep(3)%'");
        try {
            other.query("select sleep(3)", {});
            QFAIL("the read outlasted its time limit");
        } catch (const DatabaseError& error) {
            QVERIFY2(error.isConnectionLost(), qPrintable(error.sqlState() + " " + error.message()));
            QVERIFY2(!error.message().contains("pode não ter sido gravada"), qPrintable(error.message()));
        }
        QCOMPARE(TestDatabase::value(running).toInt(), 1);
        const auto restsThenConnects = [&other] {
            try {
                other.query("select 1", {});
                QFAIL("a statement right after a stall waited on the server");
            } catch (const DatabaseError& error) {
                QVERIFY2(error.message().contains(QString::fromUtf8("não está acessível")),
                         qPrintable(error.message()));
            }
            QTest::qWait(1500); // the rest is 1 s
            QCOMPARE(other.query("select 1", {}).field(0).toInt(), 1);
        };
        restsThenConnects();
        try {
            other.execute(
                "insert into instancia(cod_usuario, ip) select 5, '10.9.8.6' from dual where sleep(3) = 0",
                {}, OdbcConnection::Effect::Write);
            QFAIL("the write outlasted its time limit");
        } catch (const DatabaseError& error) {
            QVERIFY2(error.isConnectionLost(), qPrintable(error.sqlState() + " " + error.message()));
            QVERIFY2(error.message().contains(QString::fromUtf8("a alteração pode não ter sido gravada")),
                     qPrintable(error.message()));
        }
        restsThenConnects();
        // The server finishes the insert it sat on; the agent never sent it a second time.
        QTRY_COMPARE_WITH_TIMEOUT(rowsAt("10.9.8.6"), 1, 5000);
        QTest::qWait(1500);
        QCOMPARE(rowsAt("10.9.8.6"), 1);
    }

    // A new connection starts in the data source's database, or in none: the one chosen with USE is
    // chosen again.
    void newConnectionChoosesTheDatabaseAgain()
    {
        OdbcConnection other;
        other.setConnectionString(agentAccount + QStringLiteral(";Database=information_schema"));
        other.open();
        other.execute("USE CORVELLANE", {}, OdbcConnection::Effect::Repeatable);
        TestDatabase::exec("delete from centro_custo");
        TestDatabase::exec("insert into centro_custo values (7, 'Vendas')");
        TestDatabase::exec(QStringLiteral("KILL %1").arg(connectionId(other)));
        QCOMPARE(other.query("select database()", {}).field(0).toString(), QStringLiteral("CORVELLANE"));
        QCOMPARE(other.query("select nome_centro_custo from centro_custo", {}).field(0).toString(),
                 QStringLiteral("Vendas"));
    }

    // A full server (its max_connections reached) refuses a new connection: the statement that needed
    // it says so in words a user understands, and a later one connects once there is room.
    void serverFullWhenConnectingAgain()
    {
        OdbcConnection other;
        other.setConnectionString(agentAccount);
        other.open();
        const int limit = TestDatabase::value("select @@global.max_connections").toInt();
        const auto restore = qScopeGuard(
            [limit] { TestDatabase::exec(QStringLiteral("set global max_connections = %1").arg(limit)); });
        TestDatabase::exec(QStringLiteral("KILL %1").arg(connectionId(other)));
        TestDatabase::exec("set global max_connections = 10"); // the least the server takes
        std::vector<std::unique_ptr<OdbcConnection>> holders;
        for (bool full = false; !full;) {
            QVERIFY(holders.size() < 20);
            auto holder = std::make_unique<OdbcConnection>();
            holder->setConnectionString(agentAccount);
            try {
                holder->open();
                holders.push_back(std::move(holder));
            } catch (const DatabaseError& error) {
                QCOMPARE(error.nativeCode(), 1040);
                full = true;
            }
        }
        for (int action = 0; action < 2; ++action) {
            try {
                other.query("select 1", {});
                QFAIL("the server is full");
            } catch (const DatabaseError& error) {
                QVERIFY2(
                    error.message().startsWith(QString::fromUtf8(
                        "O servidor do CorvelLane está com todas as conexões ocupadas. Tente novamente")),
                    qPrintable(error.message()));
                QVERIFY(error.isConnectionLost());
            }
        }
        QVERIFY(other.isConnected());
        holders.clear();
        QTRY_VERIFY_WITH_TIMEOUT(
            [&other] {
                try {
                    return other.query("select 7", {}).field(0).toInt() == 7;
                } catch (const DatabaseError&) {
                    return false;
                }
            }(),
            10000);
    }

    // A reopening that fails keeps the rows of the last one: a prompt's cost-centre list outlives a
    // refresh made while the server was away.
    void failedReopeningKeepsTheRows()
    {
        TestDatabase::exec("delete from centro_custo");
        TestDatabase::exec("insert into centro_custo values (7, 'Vendas')");
        Dataset list(connection());
        list.setSql("select * from centro_custo");
        list.open();
        TestDatabase::exec("rename table centro_custo to centro_custo_fora");
        const auto restore =
            qScopeGuard([] { TestDatabase::exec("rename table centro_custo_fora to centro_custo"); });
        QVERIFY_THROWS_EXCEPTION(DatabaseError, list.open());
        QVERIFY(list.isOpen());
        QCOMPARE(list.result().field("nome_centro_custo").toString(), QStringLiteral("Vendas"));
    }

    void cursorWalksTheRowsInOrder()
    {
        ResultSet rows =
            connection().query("select 0 as c union all select 2 union all select 0 union all select 1", {});
        QCOMPARE(rows.recordCount(), 4);
        QList<int> seen;
        for (rows.first(); !rows.eof(); rows.next())
            seen.append(rows.field("c").toInt());
        QCOMPARE(seen, (QList<int>{0, 2, 0, 1}));
        QVERIFY_THROWS_EXCEPTION(AppError, rows.field(0)); // past the end
        QCOMPARE(rows.value(1, "c").toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_OdbcConnection)
#include "tst_OdbcConnection.moc"
