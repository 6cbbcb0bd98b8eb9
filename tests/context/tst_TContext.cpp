#include "Clock.h"
#include "CodificaSenha.h"
#include "LocalAddress.h"
#include "ScratchFolder.h"
#include "TContext.h"
#include "TdtmMain.h"
#include "TestDatabase.h"
#include "TestRows.h"

#include <QTest>
#include <memory>

namespace {

int count(const QString& sql)
{
    return TestDatabase::value(sql).toInt();
}

} // namespace

class tst_TContext : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;

    std::unique_ptr<TContext> start(const QString& account = "jsilva")
    {
        return std::make_unique<TContext>(TestDatabase::dataModule().dbCorvelLane, folder->path(), account);
    }

private Q_SLOTS:
    void initTestCase() { TestDatabase::connect(); }
    void cleanupTestCase() { TestDatabase::disconnect(); }

    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        TestDatabase::clearTables();
        LocalAddress::setForTesting("10.1.2.3");
    }

    void cleanup()
    {
        LocalAddress::resetForTesting();
        Clock::setSourceForTesting({});
        folder.reset();
    }

    void policyDecision_data()
    {
        QTest::addColumn<bool>("hasAccount");
        QTest::addColumn<QVariant>("groupUnlimited"); // invalid: the group has no policy
        QTest::addColumn<bool>("quotaInfinita");
        QTest::addColumn<bool>("semPolitica");
        QTest::addColumn<int>("quotaPadrao");

        QTest::newRow("no account, no policy") << false << QVariant() << false << true << 0;
        QTest::newRow("account, unlimited group") << true << QVariant(1) << true << false << 400;
        QTest::newRow("account, limited group") << true << QVariant(0) << false << false << 400;
        QTest::newRow("account, NULL flag")
            << true << QVariant(QMetaType(QMetaType::Int)) << false << false << 400;
        QTest::newRow("account without group policy") << true << QVariant() << false << false << 0;
        QTest::newRow("group policy without account") << false << QVariant(0) << false << false << 0;
    }

    void policyDecision()
    {
        QFETCH(bool, hasAccount);
        QFETCH(QVariant, groupUnlimited);
        QFETCH(bool, quotaInfinita);
        QFETCH(bool, semPolitica);
        QFETCH(int, quotaPadrao);

        TestRows::user(5, "jsilva", 1);
        if (groupUnlimited.metaType().isValid())
            TestRows::policy(10, 1, groupUnlimited, 400, 1, 0);
        if (hasAccount)
            TestRows::account(5, 10, 37);

        auto context = start();
        QCOMPARE(context->CodUsuario(), 5);
        QCOMPARE(context->QuotaInfinita(), quotaInfinita);
        QCOMPARE(context->SemPolitica(), semPolitica);
        QCOMPARE(context->QuotaPadrao(), quotaPadrao);
        context->AtualizaImpressoesRestantes();
        QCOMPARE(context->ImpressoesRestantes(), hasAccount ? 37 : 0);
    }

    void policyType_data()
    {
        QTest::addColumn<int>("dia");
        QTest::addColumn<int>("mes");
        QTest::addColumn<QString>("tipo");
        QTest::newRow("daily") << 0 << 0 << QString::fromUtf8(" Diária ");
        QTest::newRow("monthly") << 1 << 0 << " Mensal ";
        QTest::newRow("neither") << 15 << 0 << "";
        QTest::newRow("month set") << 0 << 1 << "";
    }

    void policyType()
    {
        QFETCH(int, dia);
        QFETCH(int, mes);
        QFETCH(QString, tipo);
        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 0, 400, dia, mes);
        QCOMPARE(start()->TipoPolitica(), tipo);
    }

    // Two policies of the user's group and an account under each: the statements take no order, and the
    // server gives the rows in the order of their keys, so the first policy laid out (10: daily,
    // unlimited, 37 left) decides, not the second (11: monthly, limited, 99 left).
    void firstRowDecidesWhenThereAreSeveral()
    {
        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 1, 100, 0, 0);
        TestRows::policy(11, 1, 0, 200, 1, 0);
        TestRows::account(5, 10, 37);
        TestRows::account(5, 11, 99);

        auto context = start();
        QCOMPARE(context->TipoPolitica(), QString::fromUtf8(" Diária "));
        QVERIFY(context->QuotaInfinita());
        QVERIFY(!context->SemPolitica());
        context->AtualizaImpressoesRestantes();
        QCOMPARE(context->ImpressoesRestantes(), 37);
    }

    void defaultQuotaMayLiveInModp()
    {
        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 0, 400, 1, 0);
        TestRows::account(5, 10, 37);
        TestDatabase::exec("alter table politica drop column quota_padrao");
        TestDatabase::exec("alter table modp add column quota_padrao int null");
        const auto restore = qScopeGuard([] {
            TestDatabase::exec("alter table modp drop column quota_padrao");
            TestDatabase::exec("alter table politica add column quota_padrao int null");
        });
        TestDatabase::exec("update modp set quota_padrao = 250");
        QCOMPARE(start()->QuotaPadrao(), 250);
    }

    void pagesPrintedThisMonth()
    {
        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 0, 400, 0, 0); // daily policies still count the month
        const QString firstDay = "date_format(sysdate(), '%Y-%m-01')";
        TestRows::job(5, 1, 3, firstDay);
        TestRows::job(5, 1, 4, "last_day(sysdate())");
        TestRows::job(5, 2, 50, firstDay);                                              // not printed
        TestRows::job(5, 1, 60, "date_format(sysdate(), '%Y-%m-01') - interval 1 day"); // last month
        TestRows::job(6, 1, 70, firstDay);                                              // someone else

        // The month follows the server's clock, whatever the workstation's says.
        Clock::setSourceForTesting([] { return QDateTime(QDate(2001, 1, 1), QTime(12, 0)); });
        auto context = start();
        QCOMPARE(context->MesAtual(),
                 TestDatabase::value("select date_format(sysdate(), '%Y-%m')").toString());
        context->AtualizaDocumentosImpressos();
        QCOMPARE(context->DocumentosImpressos(), 7);

        TestDatabase::exec("delete from impressoes where cod_usuario = 5 and paginas < 10");
        context->AtualizaDocumentosImpressos();
        QCOMPARE(context->DocumentosImpressos(), 0);
    }

    void workstationRecorded()
    {
        TestRows::user(5, "jsilva", 1);
        start();
        QCOMPARE(count("select count(*) from instancia where ip = '10.1.2.3' and cod_usuario = 5"), 1);
        start(); // a second run updates, it does not insert again
        QCOMPARE(count("select count(*) from instancia"), 1);

        TestDatabase::exec("insert into instancia values ('10.1.2.3', 99)");
        start("ninguem");
        QCOMPARE(count("select count(*) from instancia where ip = '10.1.2.3' and cod_usuario = 0"), 2);
    }

    void unknownAccountIsRecordedWithZeroAndLoggedOnce()
    {
        auto context = start("maria");
        QCOMPARE(context->CodUsuario(), 0);
        QCOMPARE(context->Login(), "maria");
        QCOMPARE(folder->logMessages(),
                 QStringList{QString::fromUtf8("Usuário maria não encontrado na base de dados")});
        QCOMPARE(count("select count(*) from instancia where ip = '10.1.2.3' and cod_usuario = 0"), 1);
    }

    void noNetworkAddressRecordsNothing()
    {
        TestRows::user(5, "jsilva", 1);
        LocalAddress::setForTesting("");
        auto context = start();
        QCOMPARE(context->IP(), "");
        QCOMPARE(context->CodUsuario(), 5);
        QVERIFY(!context->RegistraInstancia());
        QCOMPARE(count("select count(*) from instancia"), 0);
        QCOMPARE(folder->logMessages().size(), 1);
    }

    void login_data()
    {
        QTest::addColumn<QString>("storedLogin");
        QTest::addColumn<QString>("storedPassword");
        QTest::addColumn<QString>("typedLogin");
        QTest::addColumn<QString>("typedPassword");
        QTest::addColumn<bool>("accepted");

        const QString longPassword = QString::fromLatin1(ChaveSenha).toLower();
        QTest::newRow("right pair") << "ana"
                                    << "segredo"
                                    << "ana"
                                    << "segredo" << true;
        QTest::newRow("wrong password") << "ana"
                                        << "segredo"
                                        << "ana"
                                        << "Segredo" << false;
        QTest::newRow("login typed in upper case") << "ana"
                                                   << "segredo"
                                                   << "ANA"
                                                   << "segredo" << true;
        QTest::newRow("empty password") << "ana"
                                        << ""
                                        << "ana"
                                        << "" << true;
        QTest::newRow("empty password typed, one stored") << "ana"
                                                          << "segredo"
                                                          << "ana"
                                                          << "" << false;
        QTest::newRow("32 characters") << "ana" << longPassword << "ana" << longPassword << true;
        // The login panel's password field sets no limit of its own, so it takes the 32,767 characters
        // a line edit takes; 'ÿ' gives three digits at every key position, the longest encoding.
        const QString longest(32767, QChar(0xFF));
        QTest::newRow("longest the password field takes") << "ana" << longest << "ana" << longest << true;
        QTest::newRow("accented characters")
            << "ana" << QString::fromUtf8("çãoÛ") << "ana" << QString::fromUtf8("çãoÛ") << true;
        QTest::newRow("injection finds nobody") << "ana"
                                                << "segredo"
                                                << "x' or '1'='1"
                                                << "x' or '1'='1" << false;
    }

    void login()
    {
        QFETCH(QString, storedLogin);
        QFETCH(QString, storedPassword);
        QFETCH(QString, typedLogin);
        QFETCH(QString, typedPassword);
        QFETCH(bool, accepted);

        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 0, 400, 1, 0);
        TestRows::account(5, 10, 37);
        TestRows::user(8, storedLogin, 2, storedPassword);
        TestRows::policy(20, 2, 1, 900, 0, 0);

        auto context = start();
        context->AtualizaImpressoesRestantes();
        QCOMPARE(context->ValidaLogin(typedLogin, CodificaSenha(typedPassword)), accepted);
        if (accepted) {
            QCOMPARE(context->CodUsuario(), 8);
            QCOMPARE(context->Login(), typedLogin); // as typed, letter case included
            QVERIFY(context->QuotaInfinita());
            QCOMPARE(context->TipoPolitica(), QString::fromUtf8(" Diária "));
            QCOMPARE(count("select cod_usuario from instancia where ip = '10.1.2.3'"), 8);
        } else {
            // Nobody is logged in now, but what is shown still describes the earlier user.
            QCOMPARE(context->CodUsuario(), -1);
            QCOMPARE(context->Login(), "jsilva");
            QCOMPARE(context->QuotaPadrao(), 400);
            QCOMPARE(context->TipoPolitica(), " Mensal ");
            context->AtualizaImpressoesRestantes();
            QCOMPARE(context->ImpressoesRestantes(), 0);
        }
    }

    void loginAfterAnAccountWithoutPolicyClearsTheFlag()
    {
        TestRows::user(8, "ana", 2);
        TestRows::policy(20, 2, 0, 900, 1, 0);
        auto context = start("visitante");
        TestRows::user(6, "visitante", 3); // added after start-up: identified, no policy yet
        context->IdentificaUsuario("visitante");
        context->AtualizaPolitica();
        QVERIFY(context->SemPolitica());
        QVERIFY(context->ValidaLogin("ana", CodificaSenha("senha123")));
        QVERIFY(!context->SemPolitica());
    }
};

QTEST_GUILESS_MAIN(tst_TContext)
#include "tst_TContext.moc"
