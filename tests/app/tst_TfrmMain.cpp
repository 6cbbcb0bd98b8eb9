#include "CampoData.h"
#include "Clock.h"
#include "CodificaSenha.h"
#include "ConfiguracaoDeTeste.h"
#include "Despachante.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "PainelCentroCusto.h"
#include "PainelLogin.h"
#include "PainelPrincipal.h"
#include "PainelRelatorio.h"
#include "ScratchFolder.h"
#include "SeletorCentroCusto.h"
#include "ServidorChat.h"
#include "TButton2D.h"
#include "TContext.h"
#include "TFrmCota.h"
#include "TTrayIcon.h"
#include "TdtmMain.h"
#include "TestDatabase.h"
#include "TestRows.h"
#include "TfrmMain.h"
#include "TrayHost.h"

#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// Every height the window takes, in order.
class HeightRecorder : public QObject {
public:
    QList<int> heights;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            heights.append(static_cast<QResizeEvent*>(event)->size().height());
        return false;
    }
};

void figures(int printed, int remaining)
{
    TestDatabase::exec("delete from impressoes");
    TestRows::job(5, 1, printed);
    TestDatabase::exec("update modp set quota = :P1 where cod_usuario = 5", {remaining});
}

} // namespace

class tst_TfrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<TfrmMain> window;

    // A window ends the session of the data module when it goes, so each window gets a fresh one.
    void open(const QString& account = "jsilva")
    {
        window.reset();
        window = std::make_unique<TfrmMain>(TestDatabase::connect(), configuracaoDeTeste(account));
        window->Inicia();
    }

    void showAndActivate()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

private Q_SLOTS:
    // Building the window composes it and touches neither the database (the data module it is given
    // is not connected) nor the network; Inicia listens, connects and identifies the user.
    void buildingTouchesNeitherTheDatabaseNorThePort()
    {
        window.reset();
        TestDatabase::disconnect();
        TfrmMain built(TestDatabase::dataModule(), configuracaoDeTeste());
        QCOMPARE(built.ServidorChat_->Porta(), quint16(0));
        QVERIFY(!TestDatabase::dataModule().dbCorvelLane.isConnected());
        QCOMPARE(built.Contexto(), nullptr);
        built.Inicia();
        QVERIFY(built.ServidorChat_->Porta() != 0);
        QCOMPARE(built.Contexto()->CodUsuario(), 5);
    }

    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        LocalAddress::setForTesting("10.1.2.3");
        TestDatabase::connect();
        TestDatabase::clearTables();
        TestRows::user(5, "jsilva", 1);
        TestRows::user(8, "ana", 2);
        TestRows::user(9, "rui", 3);
        TestRows::policy(10, 1, 0, 400);
        TestRows::policy(20, 2, 1, 0);
        TestRows::account(5, 10, 37);
    }

    void cleanup()
    {
        window.reset();
        TestDatabase::disconnect();
        boxes.reset();
        folder.reset();
        LocalAddress::resetForTesting();
        Clock::setSourceForTesting({});
    }

    void slidesInAndDocksBottomRight()
    {
        open();
        QCOMPARE(window->height(), 0);
        HeightRecorder recorder;
        window->installEventFilter(&recorder);
        showAndActivate();
        QList<int> expected;
        for (int h = 5; h <= 185; h += 5)
            expected.append(h);
        QCOMPARE(recorder.heights.mid(recorder.heights.indexOf(5), 37), expected);
        const QRect screen = window->screen()->geometry();
        const QRect area = window->screen()->availableGeometry();
        QCOMPARE(window->geometry().size(), QSize(254, 185));
        QCOMPARE(window->geometry().right(), screen.right() - 2);
        QCOMPARE(window->geometry().bottom(), area.bottom() - 2);
        QVERIFY(window->pnlMain->isVisible());
        QCOMPARE(window->pnlMain->lblUsuario->text(), "5 - jsilva");
        QTRY_VERIFY(window->TrayIcon->isVisible()); // docked once the panel is on screen
    }

    void trayImageFollowsTheShareUsed_data()
    {
        QTest::addColumn<int>("printed");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("image");
        QTest::newRow("25 %") << 10 << 30 << 10;
        QTest::newRow("50 %") << 20 << 20 << 7;
        QTest::newRow("75 %") << 30 << 10 << 7;
        QTest::newRow("77.5 %") << 31 << 9 << 6;
        QTest::newRow("nothing remains") << 12 << 0 << 8;
        QTest::newRow("remaining is minus printed") << 10 << -10 << 6;
    }

    void trayImageFollowsTheShareUsed()
    {
        QFETCH(int, printed);
        QFETCH(int, remaining);
        QFETCH(int, image);
        open();
        figures(printed, remaining);
        window->AtualizaPainel();
        QCOMPARE(window->TrayIcon->IconIndex(), image);
        QCOMPARE(window->pnlMain->lblDocImpressos->text(), QString::number(printed));
        QCOMPARE(window->pnlMain->lblRestante->text(), QString::number(remaining));
        QCOMPARE(window->pnlMain->lblQuota->text(), "400");
        QCOMPARE(window->pnlMain->lblTipoPolitica->text(), " -  Mensal ");
        QVERIFY(!window->pnlMain->lblCaptionRestante->isHidden());
    }

    void unlimitedQuotaAndItsCaptionThatStays()
    {
        open("ana");
        showAndActivate();
        PainelPrincipal* panel = window->pnlMain;
        QCOMPARE(panel->lblQuota->text(), "Infinita");
        QCOMPARE(panel->lblRestante->text(), "");
        QVERIFY(panel->lblCaptionRestante->isHidden());
        QCOMPARE(panel->lblTitDoc->text(), QString::fromUtf8("Doc. Impressos Mês:"));
        QCOMPARE(window->TrayIcon->IconIndex(), 9);

        QVERIFY(window->Contexto()->ValidaLogin("jsilva", CodificaSenha("senha123")));
        window->AtualizaPainel();
        QCOMPARE(panel->lblQuota->text(), "400");
        QCOMPARE(panel->lblTitDoc->text(), QString::fromUtf8("Doc. Impressos Mês:"));
    }

    void noPolicyShowsNotApplicableAndTheMessageAtEveryShowing()
    {
        open("rui");
        window->TrayIcon->setIconIndex(7);
        showAndActivate();
        PainelPrincipal* panel = window->pnlMain;
        QCOMPARE(panel->lblQuota->text(), "N/A");
        QCOMPARE(panel->lblRestante->text(), "N/A");
        QCOMPARE(panel->lblDocImpressos->text(), "N/A");
        QCOMPARE(window->TrayIcon->IconIndex(), 7);
        const QString message =
            QString::fromUtf8("Usuário sem política de impressão. Contate o administrador do sistema.");
        QCOMPARE(boxes->texts(), QStringList{message});
        QCOMPARE(boxes->shown().first().caption, "CorvelLane");
        window->close();
        window->show();
        QCOMPARE(boxes->texts(), (QStringList{message, message}));
    }

    void closingHidesAndBringsBackTheMainPanel()
    {
        open();
        showAndActivate();
        window->Relatporio1Click();
        QVERIFY(window->pnlImpressao->isVisible());
        QTest::mouseClick(window->Button2D1, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(window->TrayIcon->MinimizeToTray());
        window->rocarusurio1Click();
        QVERIFY(window->pnlLogin->isVisible());
        window->close(); // the system close key
        QVERIFY(!window->isVisible());
        window->TrayIconClick();
        QVERIFY(window->isVisible());
        for (QWidget* panel : window->Paineis())
            QCOMPARE(panel->isVisible(), panel == window->pnlMain);
    }

    void reportButtonAndMenuEntryAgree()
    {
        open();
        window->pnlMain->Button2D2->clicked();
        QVERIFY(window->isVisible());
        QVERIFY(window->pnlImpressao->isVisible());
        QVERIFY(window->pnlMain->isHidden());
        QTRY_COMPARE(QApplication::focusWidget(), window->pnlImpressao->edtDataIni);
        QCOMPARE(window->pnlImpressao->edtDataIni->date(), QDate::currentDate());
    }

    void quotaWindowAndMainWindowTakeTurns()
    {
        open();
        showAndActivate();
        window->ConsultarCota1->trigger();
        QVERIFY(window->JanelaDeCota());
        QTRY_VERIFY(!window->isVisible());
        window->TrayIconClick();
        QVERIFY(window->isVisible());
        QTRY_VERIFY(!window->JanelaDeCota());
    }

    void tooltipReadsTheDatabaseAtMostEveryFiveSeconds()
    {
        const QDateTime t0(QDate(2026, 12, 10), QTime(10, 0, 0));
        QDateTime now = t0;
        Clock::setSourceForTesting([&now] { return now; });
        open();
        window->TrayIconMouseMove();
        QCOMPARE(window->TrayIcon->Hint(),
                 QString::fromUtf8("CorvelLane\rUsuário: jsilva\rCota disponível: 37"));
        QVERIFY(window->TrayIcon->ShowHint());

        TestDatabase::exec("update modp set quota = 99 where cod_usuario = 5");
        now = t0.addSecs(3);
        window->TrayIconMouseMove();
        QVERIFY(window->TrayIcon->Hint().endsWith(": 37"));
        now = t0.addSecs(6);
        window->TrayIconMouseMove();
        QVERIFY(window->TrayIcon->Hint().endsWith(": 99"));
    }

    void tooltipFollowsEveryRefreshWithoutAMouseMove()
    {
        // Like a StatusNotifier tray, the offscreen platform has no XEmbed icon: no mouse move will
        // come, so each refresh of the figures must leave them in the tooltip.
        const QDateTime t0(QDate(2026, 12, 10), QTime(10, 0, 0));
        QDateTime now = t0;
        Clock::setSourceForTesting([&now] { return now; });
        open();
        QVERIFY(!TrayHost::isXEmbed());
        showAndActivate();
        QVERIFY(window->TrayIcon->shownToolTip().contains("jsilva"));
        QVERIFY(window->TrayIcon->shownToolTip().endsWith(": 37"));

        window->close();
        TestDatabase::exec("update modp set quota = 12 where cod_usuario = 5");
        window->TrayIconClick();
        QVERIFY(window->TrayIcon->shownToolTip().endsWith(": 12"));

        // The click's refresh counts as the tooltip's: no second read within five seconds.
        TestDatabase::exec("update modp set quota = 13 where cod_usuario = 5");
        now = t0.addSecs(4);
        window->TrayIconMouseMove();
        QVERIFY(window->TrayIcon->shownToolTip().endsWith(": 12"));

        // A change of user names the new one at once.
        window->rocarusurio1Click();
        window->pnlLogin->edtLogin->setText("ana");
        window->pnlLogin->medSenha->setText("senha123");
        window->Button2D7Click();
        QVERIFY(window->TrayIcon->shownToolTip().contains(QString::fromUtf8("Usuário: ana")));
    }

    void unknownAccountStartsOnTheLoginPanel()
    {
        open("desconhecido");
        QVERIFY(window->pnlLogin->isVisibleTo(window.get()));
        QVERIFY(window->pnlMain->isHidden());
    }

    void login()
    {
        open("desconhecido");
        showAndActivate();
        PainelLogin* panel = window->pnlLogin;

        // An empty login does nothing at all, not even a query: a closed connection would fail one.
        TestDatabase::dataModule().dbCorvelLane.close();
        panel->edtLogin->clear();
        QTest::keyClick(panel->edtLogin, Qt::Key_Return);
        QVERIFY(boxes->shown().isEmpty());
        QCOMPARE(window->Contexto()->CodUsuario(), 0);
        TestDatabase::dataModule().Conecta();

        panel->edtLogin->setText("ana");
        panel->medSenha->setText("errada");
        QTest::keyClick(panel->medSenha, Qt::Key_Return);
        QCOMPARE(boxes->texts(), QStringList{QString::fromUtf8("Usuário ou senha inválido.")});
        QCOMPARE(panel->edtLogin->text(), "ana");
        QCOMPARE(panel->medSenha->text(), "errada");
        QVERIFY(window->isVisible());

        panel->medSenha->setText("senha123");
        QTest::mouseClick(panel->Button2D7, Qt::LeftButton);
        QCOMPARE(window->Contexto()->CodUsuario(), 8);
        QCOMPARE(window->pnlMain->lblUsuario->text(), "8 - ana");
        QVERIFY(!window->isVisible());
        QVERIFY(window->pnlMain->isVisibleTo(window.get()));
    }

    void cancelLogin()
    {
        open("desconhecido");
        showAndActivate();
        window->Button2D1->hide();
        window->Button2D6Click(); // the context holds the account name: hide
        QVERIFY(!window->isVisible());
        QVERIFY(window->Button2D1->isVisibleTo(window.get()));
        QVERIFY(boxes->shown().isEmpty());

        open(""); // no account name at all
        showAndActivate();
        window->Button2D6Click();
        QCOMPARE(boxes->texts(), QStringList{QString::fromUtf8(
                                     "O sistema não estará logado. Suas impressões não serão aceitas.")});
        QVERIFY(window->isVisible());
        QVERIFY(window->pnlLogin->isVisible());
    }

    void switchUserOverAPrompt()
    {
        open();
        window->MostraPainel(window->pnlCentroCusto);
        window->EscondePainel(window->pnlMain);
        window->rocarusurio1Click();
        QVERIFY(window->pnlLogin->isVisible());
        QVERIFY(window->pnlCentroCusto->isHidden());
    }

    void sessionEndTearsDownInOrder()
    {
        open();
        showAndActivate();
        QSignalSpy steps(window.get(), &TfrmMain::PassoDeEncerramento);
        window->WMEndSession();
        QStringList order;
        for (const QList<QVariant>& step : steps)
            order.append(step.first().toString());
        QCOMPARE(order, (QStringList{"Contexto", "Conexao", "ServidorChat", "dbCorvelLane", "HideMainForm"}));
        QCOMPARE(window->Contexto(), nullptr);
        QVERIFY(!TestDatabase::dataModule().dbCorvelLane.isConnected());
        QVERIFY(!window->isVisible());
        window->WMEndSession(); // a second end of session touches nothing
        QCOMPARE(steps.count(), 5);
    }

    // The session can end while the user types a cost-centre code: hiding the window then takes the
    // focus from the code field after the list it looks codes up in is gone.
    void sessionEndWhileAPromptHasTheFocus()
    {
        open();
        window->EscondePainel(window->pnlMain);
        window->MostraPainel(window->pnlCentroCusto);
        showAndActivate();
        QLineEdit* codigo = window->pnlCentroCusto->centroCusto->codigo;
        codigo->setFocus();
        QTest::keyClicks(codigo, "7");
        QVERIFY(codigo->hasFocus());
        window->WMEndSession();
        QVERIFY(!window->isVisible());
        QVERIFY(!codigo->hasFocus());
    }
};

QTEST_MAIN(tst_TfrmMain)
#include "tst_TfrmMain.moc"
