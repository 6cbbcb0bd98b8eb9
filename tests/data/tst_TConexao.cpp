#include "DatabaseError.h"
#include "TConexao.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QTest>

// The query helpers against the real server.
class tst_TConexao : public QObject {
    Q_OBJECT

    static int preparedStatementsOpen()
    {
        ResultSet rows = TestDatabase::dataModule().dbCorvelLane.query(
            "show global status like 'Prepared_stmt_count'", {});
        return rows.field(1).toInt();
    }

    // The helpers run on the connection they are given: the data module's, as the agent's.
    static TConexao Conexao() { return TConexao(TestDatabase::dataModule().dbCorvelLane); }

private Q_SLOTS:
    void initTestCase() { TestDatabase::connect(); }
    void cleanupTestCase() { TestDatabase::disconnect(); }

    void init()
    {
        TestDatabase::clearTables();
        TestDatabase::exec("insert into instancia(ip, cod_usuario) values ('10.0.0.1', 7), ('10.0.0.1', 8), "
                           "('10.0.0.2', 0)");
    }

    void valueQuery_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QVariant>("expected");

        const QVariant padrao(77);
        QTest::newRow("aggregate over no rows gives the default")
            << "select sum(cod_usuario) from instancia where ip = :P1" << QVariantList{"10.9.9.9"} << padrao;
        QTest::newRow("no row gives the default")
            << "select cod_usuario from instancia where ip = :P1" << QVariantList{"10.9.9.9"} << padrao;
        QTest::newRow("0 is not the default")
            << "select cod_usuario from instancia where ip = :P1" << QVariantList{"10.0.0.2"} << QVariant(0);
        QTest::newRow("first column of the first row")
            << "select cod_usuario, ip from instancia order by cod_usuario desc" << QVariantList{}
            << QVariant(8);
        QTest::newRow(":P2 before :P1 takes the first value")
            << "select concat(:P2, '-', :P1)" << QVariantList{"a", "b"} << QVariant("a-b");
        QTest::newRow("markers inside quotes are text")
            << "select concat(':P1', \":P2\", :P3)" << QVariantList{"x"} << QVariant(":P1:P2x");
        QTest::newRow(":: is a literal colon") << "select @v::=:P1" << QVariantList{5} << QVariant(5);
        QTest::newRow("values beyond the markers are ignored")
            << "select :P1" << QVariantList{"a", "b", "c"} << QVariant("a");
        QTest::newRow("a statement without markers") << "select 'sem'" << QVariantList{} << QVariant("sem");
    }

    void valueQuery()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        QFETCH(QVariant, expected);
        const QVariant answer = Conexao().ConsultaValor(sql, values, QVariant(77));
        QCOMPARE(answer.toString(), expected.toString());
    }

    void commandCountsRowsMatched()
    {
        QCOMPARE(Conexao().ExecutaComando("update instancia set cod_usuario = :P1 where ip = :P2",
                                          {3, "10.9.9.9"}),
                 0);
        QCOMPARE(Conexao().ExecutaComando("update instancia set cod_usuario = :P1 where ip = :P2",
                                          {3, "10.0.0.1"}),
                 2);
        // Writing the values a row already holds still counts it.
        QCOMPARE(Conexao().ExecutaComando("update instancia set cod_usuario = :P1 where ip = :P2",
                                          {3, "10.0.0.1"}),
                 2);
        QCOMPARE(Conexao().ExecutaComando("insert into instancia(cod_usuario, ip) values (:P1, :P2)",
                                          {4, "10.0.0.3"}),
                 1);
    }

    void openedQueryIsOnItsFirstRow()
    {
        const auto query =
            Conexao().AbreConsulta("select ip, cod_usuario from instancia where ip = :P1 order by "
                                   "cod_usuario",
                                   {"10.0.0.1"});
        ResultSet& rows = query->result();
        QCOMPARE(rows.recordCount(), 2);
        QCOMPARE(rows.field("cod_usuario").toInt(), 7);
        const auto empty = Conexao().AbreConsulta("select ip from instancia where ip = :P1", {"nenhum"});
        QVERIFY(empty->result().eof());
    }

    void fewerValuesThanMarkersFailsBeforeTheServer()
    {
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 Conexao().ExecutaComando("insert into instancia(cod_usuario, ip) values "
                                                          "(:P1, :P2)",
                                                          {9}));
        QCOMPARE(TestDatabase::value("select count(*) from instancia where cod_usuario = 9").toInt(), 0);
        QVERIFY_THROWS_EXCEPTION(AppError, Conexao().ConsultaValor("select :P1", {}, 0));
    }

    void errorsPassThroughAndQueriesAreFreed()
    {
        preparedStatementsOpen(); // the counting statement itself stays prepared from its first run
        const int before = preparedStatementsOpen();
        // Each failing statement may take the place of a statement kept before it, but none stays.
        for (int i = 0; i < 20; ++i) {
            // Fails while running: the statement must still be released on the server.
            QVERIFY_THROWS_EXCEPTION(
                DatabaseError,
                Conexao().ConsultaValor("select cod_usuario from instancia where cod_usuario = "
                                        "(select cod_usuario from instancia)",
                                        {}, 0));
            QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                     Conexao().ExecutaComando("update nao_existe set a = :P1", {1}));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, Conexao().AbreConsulta("select from", {}));
        }
        QVERIFY(preparedStatementsOpen() <= before);
    }

    void wrapperOpensAClosedConnection()
    {
        TestDatabase::dataModule().dbCorvelLane.close();
        TConexao conexao(TestDatabase::dataModule().dbCorvelLane);
        QVERIFY(TestDatabase::dataModule().dbCorvelLane.isConnected());
    }
};

QTEST_GUILESS_MAIN(tst_TConexao)
#include "tst_TConexao.moc"
