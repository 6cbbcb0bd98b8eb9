#include "DatabaseError.h"
#include "MessageBoxes.h"
#include "ScratchFolder.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>

// The data module on a workstation whose data source exists and whose server answers. The failing
// start-ups run the real program in tests/system.
class tst_TdtmMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsQuietlyWhenTheServerAnswers()
    {
        ScratchFolder folder;
        ScriptedMessageBoxes boxes;
        TdtmMain module;
        QVERIFY(!module.dbCorvelLane.isConnected()); // building it touches nothing
        QVERIFY(module.Abre());
        QVERIFY(module.dbCorvelLane.isConnected());
        QVERIFY(boxes.shown().isEmpty());
        QVERIFY(folder.logBytes().isEmpty());
        QCOMPARE(module.dbCorvelLane.query("select database() as banco", {}).value(0, "banco"),
                 QVariant("CORVELLANE"));
        QCOMPARE(module.dbCorvelLane.connectionString(),
                 QStringLiteral("Provider=MSDASQL.1;Password=mabel7;Persist Security Info=True;User "
                                "ID=corvellane;Data Source=CorvelLane"));
    }

    void serverAwayAtStartUpIsReportedOnce()
    {
        ScratchFolder folder;
        ScriptedMessageBoxes boxes;
        TestDatabase::stopServer();
        const auto resume = qScopeGuard([] { TestDatabase::resumeServer(); });
        TdtmMain module;
        QVERIFY(!module.Abre());
        QVERIFY(!module.dbCorvelLane.isConnected());
        QCOMPARE(boxes.texts(), QStringList{TdtmMain::MensagemFalhaConexao});
        QCOMPARE(folder.logMessages(), QStringList{TdtmMain::MensagemFalhaConexao});
    }

    void connectingAnOpenConnectionLeavesItAlone()
    {
        TdtmMain module;
        QVERIFY(module.Abre());
        module.dbCorvelLane.setConnectionString(QStringLiteral("Data Source=outra"));
        QVERIFY(module.Conecta());
        QCOMPARE(module.dbCorvelLane.connectionString(), QStringLiteral("Data Source=outra"));
    }

    // The account's password ships with the program: the server refuses it everything the agent does
    // not do. (That what it does is allowed, every other database test shows.)
    void accountMayDoOnlyWhatTheAgentDoes_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("delete a job") << "delete from impressoes";
        QTest::newRow("add a job")
            << "insert into impressoes(cod_usuario, cod_impressora, cod_status_impressao, "
               "data_impressao) values (1, 1, 1, current_date)";
        QTest::newRow("change a job's pages") << "update impressoes set paginas = 0";
        QTest::newRow("change a quota") << "update modp set quota = 1000";
        QTest::newRow("change a password") << "update usuario set password = ''";
        QTest::newRow("add a cost centre") << "insert into centro_custo values (99, 'x')";
        QTest::newRow("forget workstations") << "delete from instancia";
        QTest::newRow("create a table") << "create table outra (a int)";
        QTest::newRow("read the accounts") << "select * from mysql.user";
    }

    void accountMayDoOnlyWhatTheAgentDoes()
    {
        QFETCH(QString, sql);
        TdtmMain& module = TestDatabase::connect();
        try {
            module.dbCorvelLane.execute(sql, {}, OdbcConnection::Effect::Write);
            QFAIL("the server let the agent's account do it");
        } catch (const DatabaseError& error) {
            // The server's refusals of a command on a table (1142) or a column (1143): a mistyped statement
            // gives SQLSTATE 42000 too, but another error.
            QVERIFY2(error.nativeCode() == 1142 || error.nativeCode() == 1143,
                     qPrintable(QString::number(error.nativeCode()) + " " + error.sqlState() + " " +
                                error.message()));
        }
    }
};

QTEST_MAIN(tst_TdtmMain)
#include "tst_TdtmMain.moc"
