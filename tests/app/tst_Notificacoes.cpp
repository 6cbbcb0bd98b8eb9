#include "BlocoImpressao.h"
#include "ConfiguracaoDeTeste.h"
#include "Despachante.h"
#include "LocalAddress.h"
#include "MessageBoxWindows.h"
#include "MessageBoxes.h"
#include "PainelCentroCusto.h"
#include "PainelCentroCustoObs.h"
#include "PainelLogin.h"
#include "PainelObservacao.h"
#include "PainelPrincipal.h"
#include "PainelPrompt.h"
#include "ScratchFolder.h"
#include "SeletorCentroCusto.h"
#include "ServidorChat.h"
#include "TButton2D.h"
#include "TFrmCota.h"
#include "TTrayIcon.h"
#include "TdtmMain.h"
#include "TestDatabase.h"
#include "TestRows.h"
#include "TfrmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <memory>

// The dispatcher and the prompts on the real main window and the real database. Messages enter the
// way the listener hands them over: queued, then the dispatcher is called.
class tst_Notificacoes : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<TfrmMain> window;
    QString previousDir;

    void receive(const QString& message) { window->despachante->Recebe(message); }

    static QVariant job(int code, const char* column)
    {
        return TestDatabase::value(QStringLiteral("select %1 from impressoes where cod_impressoes = %2")
                                       .arg(QLatin1String(column))
                                       .arg(code));
    }

    // The fields a prompt of the given kind asks the user to fill, and its "Enviar".
    struct Prompt {
        PainelPrompt* panel;
        QLineEdit* code;
        QLineEdit* observation;
        QWidget* send;
    };

    Prompt prompt(QChar kind) const
    {
        switch (kind.unicode()) {
        case '1':
            return {window->pnlCentroCusto, window->pnlCentroCusto->centroCusto->codigo, nullptr,
                    window->pnlCentroCusto->Button2DCentroCustoSim};
        case '4':
            return {window->pnlObservacao, nullptr, window->pnlObservacao->edtObs,
                    window->pnlObservacao->Button2DEnviarObs};
        default:
            return {window->pnlCentroCustoObs, window->pnlCentroCustoObs->centroCusto->codigo,
                    window->pnlCentroCustoObs->eObsCC, window->pnlCentroCustoObs->bEnviarCCObs};
        }
    }

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder->path());
        boxes = std::make_unique<ScriptedMessageBoxes>();
        LocalAddress::setForTesting("10.1.2.3");
        TestDatabase::connect();
        TestDatabase::clearTables();
        TestRows::user(5, "jsilva", 1);
        TestRows::policy(10, 1, 0, 400);
        TestRows::account(5, 10, 37);
        TestRows::costCentres({{0, "Nenhum"}, {7, "Vendas"}, {12, "Obras"}});
        for (int code : {815, 816, 817})
            TestRows::job(5, 1, 2, "sysdate()", code);
        window = std::make_unique<TfrmMain>(TestDatabase::connect(), configuracaoDeTeste());
        window->Inicia();
        window->show();
        window->close(); // hidden, as the agent waits most of the day
        boxes->clear();
    }

    void cleanup()
    {
        window.reset();
        TestDatabase::disconnect();
        boxes.reset();
        QDir::setCurrent(previousDir);
        folder.reset();
        LocalAddress::resetForTesting();
    }

    void eachKindFillsItsPanelAtItsHeight_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("closeButton");
        QTest::newRow("quota") << "0;400;12;388"
                               << "pnlMain" << 191 << true;
        QTest::newRow("cost centre") << "1;815;3;Contrato.doc"
                                     << "pnlCentroCusto" << 192 << false;
        QTest::newRow("cost centre and observation") << "2;815;3;Contrato.doc"
                                                     << "pnlCentroCustoObs" << 225 << false;
        QTest::newRow("observation") << "4;815;3;Contrato.doc"
                                     << "pnlObservacao" << 182 << false;
    }

    void eachKindFillsItsPanelAtItsHeight()
    {
        QFETCH(QString, message);
        QFETCH(QString, panel);
        QFETCH(int, height);
        QFETCH(bool, closeButton);
        receive(message);
        QVERIFY(window->isVisible());
        QCOMPARE(window->height(), height);
        for (QWidget* p : window->Paineis())
            QCOMPARE(p->isVisible(), p->objectName() == panel);
        QCOMPARE(window->Button2D1->isVisible(), closeButton);
        QVERIFY(window->despachante->Fila().isEmpty());
    }

    void promptShowsTheJob()
    {
        window->pnlObservacao->edtObs->setText("antiga");
        receive("4;815;3;Relatório; versão final.doc");
        QCOMPARE(window->pnlObservacao->impressao->codigo->text(), "815");
        QCOMPARE(window->pnlObservacao->impressao->paginas->text(), "3");
        QCOMPARE(window->pnlObservacao->impressao->documento->text(),
                 QString::fromUtf8("Relatório; versão final.doc"));
        QCOMPARE(window->pnlObservacao->edtObs->text(), ""); // an observation prompt starts empty
    }

    void quotaFiguresGiveWayToTheContexts()
    {
        receive("0;999;888;777;");
        QCOMPARE(window->pnlMain->lblQuota->text(), "400");
        QCOMPARE(window->pnlMain->lblRestante->text(), "37");
    }

    void messageWhileVisibleWaitsAndTheOldestIsServedFirst()
    {
        receive("0;400;12;388;");
        receive("1;815;3;primeiro.doc");
        receive("1;816;3;segundo.doc");
        QVERIFY(window->pnlMain->isVisible());
        QCOMPARE(window->despachante->Fila(), (QStringList{"1;815;3;primeiro.doc", "1;816;3;segundo.doc"}));
        window->close();
        receive("1;817;3;terceiro.doc");
        QCOMPARE(window->pnlCentroCusto->impressao->documento->text(), "primeiro.doc");
        QCOMPARE(window->despachante->Fila(), (QStringList{"1;816;3;segundo.doc", "1;817;3;terceiro.doc"}));
    }

    // Messages that arrive through the listener while a prompt waits queue behind it, and the waiting
    // prompt's lists follow the database shortly after; a refresh that fails is logged as the
    // listener logs a failed dispatch.
    void promptListsFollowTheDatabaseThroughABurst()
    {
        receive("1;815;3;Contrato.doc");
        TestRows::costCentres({{20, "Compras"}});
        for (const char* message : {"1;816;3;a.doc", "4;817;3;b.doc", "2;816;3;c.doc"})
            window->ServidorChat_->ServidorChatClientRead(message);
        QCOMPARE(window->despachante->Fila().size(), 3);
        QCOMPARE(window->pnlCentroCusto->impressao->documento->text(), "Contrato.doc");
        QTRY_VERIFY(window->pnlCentroCusto->centroCusto->nome->findData(20) >= 0);
        QVERIFY(window->pnlCentroCustoObs->centroCusto->nome->findData(20) >= 0);

        TestDatabase::exec("rename table centro_custo to centro_custo_fora");
        const auto restore =
            qScopeGuard([] { TestDatabase::exec("rename table centro_custo_fora to centro_custo"); });
        window->ServidorChat_->ServidorChatClientRead("1;815;3;d.doc");
        QTRY_COMPARE(folder->logMessages().last(), QString::fromUtf8("Mensagem inválida: Exception"));
        QCOMPARE(window->despachante->Fila().size(), 4);
        QVERIFY(window->pnlCentroCusto->isVisible());
    }

    void kindsThatLeaveTheWindowHidden()
    {
        TestDatabase::exec("delete from instancia");
        receive("3;registra");
        QVERIFY(!window->isVisible());
        QCOMPARE(TestDatabase::value("select cod_usuario from instancia where ip = '10.1.2.3'").toInt(), 5);
        receive("10;Sua cota está acabando");
        QVERIFY(!window->isVisible());
        QCOMPARE(window->TrayIcon->lastBalloonTitle(), "Aviso");
        QCOMPARE(window->TrayIcon->lastBalloonText(), QString::fromUtf8("Sua cota está acabando"));
        QVERIFY(window->despachante->Fila().isEmpty());
        QVERIFY(window->Button2D1->isVisibleTo(window.get()));
        QVERIFY(window->pnlMain->isVisibleTo(window.get())); // the next showing is not an empty window
    }

    void messagesThatCannotBeActedOnAreDropped_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("log");
        QTest::newRow("pages not a number")
            << "1;815;três;doc" << QString::fromUtf8("Mensagem inválida Exception");
        QTest::newRow("job not a number") << "2;x;3;doc" << QString::fromUtf8("Mensagem inválida Exception");
        QTest::newRow("pages without their ';'")
            << "1;815;3" << QString::fromUtf8("Mensagem inválida Exception");
        QTest::newRow("quota without its ';'")
            << "0;400;12" << QString::fromUtf8("Mensagem inválida Exception");
        QTest::newRow("kind without handling")
            << "7;qualquer" << QString::fromUtf8("Mensagem ignorada: o tipo 7 não é tratado por esta versão");
    }

    void messagesThatCannotBeActedOnAreDropped()
    {
        QFETCH(QString, message);
        QFETCH(QString, log);
        receive(message);
        QVERIFY(!window->isVisible());
        QCOMPARE(folder->logMessages().last(), log);
        QVERIFY(window->despachante->Fila().isEmpty());
        QVERIFY(window->pnlMain->isVisibleTo(window.get()));
        receive("1;816;3;seguinte.doc"); // the queue moves on
        QCOMPARE(window->pnlCentroCusto->impressao->documento->text(), "seguinte.doc");
    }

    // What the server and the database send is shown as it stands: a document name that looks like
    // markup keeps its tags, in the prompt and in the confirmation, and no label reads markup.
    void markupIsShownAsTyped()
    {
        const QString document = "<b>Relat</b><img src=" + folder->path() + "/x.png>.doc";
        TestDatabase::exec("update usuario set login = '<i>jsilva</i>' where cod_usuario = 5");
        TestRows::costCentres({{30, "<u>Diretoria</u>"}});
        receive("1;815;3;" + document);
        QCOMPARE(window->pnlCentroCusto->impressao->documento->text(), document);
        window->pnlCentroCusto->centroCusto->codigo->setText("30");
        boxes->answerNext(false);
        window->pnlCentroCusto->Button2DCentroCustoSimClick();
        QCOMPARE(boxes->texts().last(),
                 QString::fromUtf8("Confirma a atribuição do centro de custo 30 para a "
                                   "impressão ") +
                     document + '?');
        for (const QLabel* label : window->findChildren<QLabel*>())
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }

    // Real boxes, each with its own nested loop: a code that is not a number gives one box per
    // "Enviar", and the window losing activation (to a box or to another program) is not leaving
    // the code field.
    void badCodeGivesOneRealBoxPerAction()
    {
        boxes.reset();
        MessageBoxWindows::install();
        receive("1;815;3;Contrato.doc");
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QLineEdit* code = window->pnlCentroCusto->centroCusto->codigo;
        code->setFocus();
        QTRY_VERIFY(code->hasFocus());
        code->setText("sete");

        QStringList shown;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                QCOMPARE(box->textFormat(), Qt::PlainText);
                shown.append(box->text());
                box->buttons().first()->click();
            }
        });
        answerer.start(20);
        QTest::mouseClick(window->pnlCentroCusto->Button2DCentroCustoSim, Qt::LeftButton);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), QString::fromUtf8("'sete' não é um valor inteiro válido."));

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(code->hasFocus());
        QWidget otherProgram;
        otherProgram.show();
        otherProgram.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::qWait(100);
        QCOMPARE(shown.size(), 1);
        boxes = std::make_unique<ScriptedMessageBoxes>();
    }

    // A notification served while the quota window opens (its show step lets events through) shows a
    // prompt, which closes the quota window; what is left of the quota window's steps must not take
    // the prompt away.
    void promptServedWhileTheQuotaWindowOpensStays()
    {
        QMetaObject::invokeMethod(
            window.get(), [this] { window->ServidorChat_->ServidorChatClientRead("1;815;3;Contrato.doc"); },
            Qt::QueuedConnection);
        window->ConsultarCota1Click();
        QTest::qWait(50);
        QVERIFY(window->isVisible());
        QVERIFY(window->pnlCentroCusto->isVisible());
        QCOMPARE(window->pnlCentroCusto->impressao->codigo->text(), "815");
        QVERIFY(!window->JanelaDeCota());

        window->pnlCentroCusto->centroCusto->codigo->setText("7");
        window->pnlCentroCusto->Button2DCentroCustoSimClick();
        QCOMPARE(job(815, "cod_centro_custo").toInt(), 7);
    }

    // A prompt that another window or panel takes off the screen goes back to the head of the queue,
    // and comes back once nothing of the agent is on screen in its place.
    void displacedPromptComesBack()
    {
        receive("4;815;3;Contrato.doc");
        receive("1;816;3;Depois.doc");
        window->ConsultarCota1Click();
        QVERIFY(window->JanelaDeCota());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->despachante->Fila(), (QStringList{"4;815;3;Contrato.doc", "1;816;3;Depois.doc"}));
        QCOMPARE(folder->logMessages().last(),
                 QString::fromUtf8("Mensagem devolvida à fila: 4;815;3;Contrato.doc"));
        window->JanelaDeCota()->close();
        QTRY_VERIFY(window->isVisible());
        QVERIFY(window->pnlObservacao->isVisible());
        QCOMPARE(window->pnlObservacao->impressao->codigo->text(), "815");

        window->rocarusurio1Click(); // "Trocar usuário" takes the panel's place
        QVERIFY(window->pnlLogin->isVisible());
        QCOMPARE(window->despachante->Fila().first(), "4;815;3;Contrato.doc");
        QVERIFY(window->Button2D1->isVisible()); // no prompt holds the window now
        window->close();
        QTRY_VERIFY(window->pnlObservacao->isVisible());
        QVERIFY(window->isVisible());
    }

    // However the panel leaves the screen, its prompt goes back; and a hidden panel takes no keys: the
    // ones typed after the window comes back do not write the observation again.
    void minimisedPromptComesBackAndHiddenPanelsTakeNoInput()
    {
        window->TrayIcon->setMinimizeToTray(true);
        receive("4;815;3;Contrato.doc");
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->pnlObservacao->edtObs->setFocus();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(window->despachante->Fila(), QStringList{"4;815;3;Contrato.doc"});

        receive("1;816;3;Depois.doc"); // the prompt given back comes first
        QVERIFY(window->pnlObservacao->isVisible());
        window->pnlObservacao->edtObs->setText("ok");
        boxes->answerNext(true);
        window->pnlObservacao->Button2DEnviarObsClick();
        QCOMPARE(job(815, "obs").toString(), "ok");
        QVERIFY(window->pnlCentroCusto->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget* keys = window->focusWidget();
        QVERIFY(keys && keys->isVisible());
        boxes->setDefaultAnswer(true); // a confirmation the keys raised would write
        QTest::keyClicks(keys, "ok");
        QTest::keyClick(keys, Qt::Key_Return);
        QCOMPARE(job(815, "obs").toString(), "ok");
    }

    // A minimised prompt is given back; the panel opened again from the tray shows the main panel,
    // not the given-back prompt, whose answer would then be written and the prompt served again.
    void minimisedPromptIsNotAnsweredFromTheTray()
    {
        window->TrayIcon->setMinimizeToTray(true);
        receive("4;815;3;Contrato.doc");
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window->isVisible());
        window->TrayIconClick();
        QVERIFY(window->isVisible());
        QVERIFY(!window->pnlObservacao->isVisible());
        QVERIFY(window->pnlMain->isVisible());
    }

    // Choosing another panel over a prompt is not leaving its code field, whatever the field holds.
    void otherPanelOverABadCodeRaisesNoBox()
    {
        receive("1;815;3;Contrato.doc");
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QLineEdit* code = window->pnlCentroCusto->centroCusto->codigo;
        code->setFocus();
        QTRY_VERIFY(code->hasFocus());
        code->setText("abc");
        window->Relatporio1->trigger();
        window->rocarusurio1->trigger();
        QVERIFY(boxes->shown().isEmpty());
    }

    // The session ends while a burst's refresh of the prompt's lists is pending: the refresh goes with
    // the data module that it reads.
    void sessionEndStopsThePendingListRefresh()
    {
        receive("1;815;3;Contrato.doc");
        window->ServidorChat_->ServidorChatClientRead("1;816;3;a.doc");
        const QStringList logBefore = folder->logMessages();
        window->WMEndSession();
        QVERIFY(!TestDatabase::dataModule().dbCorvelLane.isConnected());
        QTest::qWait(Despachante::IntervaloDasListasAdiadas * 2);
        QCOMPARE(folder->logMessages(), logBefore);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("observation");
        QTest::addColumn<QString>("box");
        const QString costCentre = QString::fromUtf8("Favor informar um centro de custo válido.");
        const QString both = QString::fromUtf8("Favor informar um centro de custo válido e uma observação.");
        QTest::newRow("nothing chosen") << "1;815;3;Contrato.doc"
                                        << "-1" << QString() << costCentre;
        QTest::newRow("not in the list") << "1;815;3;Contrato.doc"
                                         << "99" << QString() << costCentre;
        QTest::newRow("code 0 is filtered out") << "1;815;3;Contrato.doc"
                                                << "0" << QString() << costCentre;
        QTest::newRow("a number beyond 32 bits") << "1;815;3;Contrato.doc"
                                                 << "4294967303" << QString() << costCentre;
        QTest::newRow("empty observation") << "4;815;3;Contrato.doc" << QString() << QString()
                                           << QString::fromUtf8("Observação não pode estar em branco.");
        QTest::newRow("both asked, no observation") << "2;815;3;Contrato.doc"
                                                    << "7" << QString() << both;
        QTest::newRow("both asked, code not in the list") << "2;815;3;Contrato.doc"
                                                          << "99"
                                                          << "nota" << both;
    }

    void refusals()
    {
        QFETCH(QString, message);
        QFETCH(QString, code);
        QFETCH(QString, observation);
        QFETCH(QString, box);
        receive(message);
        const Prompt asked = prompt(message.at(0));
        if (asked.code)
            asked.code->setText(code);
        if (asked.observation)
            asked.observation->setText(observation);
        QTest::mouseClick(asked.send, Qt::LeftButton);
        QCOMPARE(boxes->texts(), QStringList{box});
        QVERIFY(asked.panel->isVisible());
        QCOMPARE(TestDatabase::value("select count(*) from impressoes where cod_centro_custo is not null "
                                     "or obs is not null")
                     .toInt(),
                 0);
    }

    void costCentreCodeNotANumberIsAnError()
    {
        receive("1;815;3;Contrato.doc");
        window->pnlCentroCusto->centroCusto->codigo->setText("sete");
        QTest::keyClick(window->pnlCentroCusto->centroCusto->codigo, Qt::Key_Return);
        QCOMPARE(boxes->shown().size(), 1);
        QCOMPARE(boxes->shown().first().kind, MessageBoxes::Kind::ApplicationError);
        QVERIFY(window->isVisible());
    }

    void codeAndNameStayInStep()
    {
        receive("1;815;3;Contrato.doc");
        SeletorCentroCusto* selector = window->pnlCentroCusto->centroCusto;
        selector->codigo->setText("012");
        selector->CodigoExit();
        QCOMPARE(selector->nome->currentText(), "Obras");
        selector->codigo->setText("55");
        selector->CodigoExit();
        QCOMPARE(selector->nome->currentText(), "Obras"); // unknown code: the name stays
        selector->nome->setCurrentIndex(selector->nome->findText("Vendas"));
        selector->NomeCloseUp();
        QCOMPARE(selector->codigo->text(), "7");
        QCOMPARE(selector->nome->count(), 2); // code 0 is never offered
    }

    void costCentreAnswerFailureKeepsThePrompt()
    {
        receive("1;815;3;Contrato.doc");
        window->pnlCentroCusto->centroCusto->codigo->setText("7");
        TestDatabase::exec("alter table impressoes rename column cod_centro_custo to centro_de_custo");
        const auto restore = qScopeGuard([] {
            TestDatabase::exec("alter table impressoes rename column centro_de_custo to cod_centro_custo");
        });
        window->pnlCentroCusto->Button2DCentroCustoSimClick();
        QCOMPARE(boxes->texts().last(), QString::fromUtf8("Falha na atribuição do centro de custo"));
        QVERIFY(window->isVisible());
        QVERIFY(window->pnlCentroCusto->isVisible());
    }

    // With the connection lost, the failure says why, in the connection's words (which say whether the
    // answer may have been written), and the prompt stays with the code typed.
    void costCentreAnswerLostWithTheConnectionSaysWhy()
    {
        receive("1;815;3;Contrato.doc");
        window->pnlCentroCusto->centroCusto->codigo->setText("7");
        TestDatabase::stopServer();
        auto resume = qScopeGuard([] { TestDatabase::resumeServer(); });
        boxes->answerNext(true);
        window->pnlCentroCusto->Button2DCentroCustoSimClick();
        const QString shown = boxes->texts().last();
        QVERIFY2(shown.startsWith(QString::fromUtf8("Falha na atribuição do centro de custo\n\nO servidor do "
                                                    "CorvelLane não está acessível no momento.")),
                 qPrintable(shown));
        QVERIFY(window->pnlCentroCusto->isVisible());
        QCOMPARE(window->pnlCentroCusto->centroCusto->codigo->text(), "7");
        resume.dismiss();
        TestDatabase::resumeServer();
        window->pnlCentroCusto->Button2DCentroCustoSimClick();
        QCOMPARE(job(815, "cod_centro_custo"), QVariant(7));
    }

    // An answer for a job the database does not have changes no row: the prompt closes as after any
    // answer, and the log names the job, so that the administrator can see answers that went nowhere.
    void answerForAMissingJobIsLogged_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("cost centre") << "1;999;3;Sumiu.doc";
        QTest::newRow("observation") << "4;999;3;Sumiu.doc";
        QTest::newRow("cost centre and observation") << "2;999;3;Sumiu.doc";
    }

    void answerForAMissingJobIsLogged()
    {
        QFETCH(QString, message);
        receive(message);
        const Prompt asked = prompt(message.at(0));
        if (asked.code)
            asked.code->setText("7");
        if (asked.observation)
            asked.observation->setText("Obra nova");
        boxes->answerNext(true);
        QTest::mouseClick(asked.send, Qt::LeftButton);
        QVERIFY(!asked.panel->isVisible());
        QCOMPARE(folder->logMessages().last(),
                 QString::fromUtf8(
                     "Resposta sem efeito: a impressão 999 (Sumiu.doc) não existe no banco de dados"));
        QCOMPARE(TestDatabase::value("select count(*) from impressoes where cod_centro_custo is not null "
                                     "or obs is not null")
                     .toInt(),
                 0);
    }

    // Each prompt's answer: "No" at the confirmation writes nothing and keeps the prompt; "Yes" writes
    // the job's columns, and only that job's, and serves what waits next.
    void answers_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("observation");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QVariant>("costCentreWritten");
        QTest::addColumn<QVariant>("observationWritten");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("nextPanel");
        QTest::addColumn<bool>("closeButton");

        // Leading zeros: stored as its number.
        QTest::newRow("cost centre")
            << "1;815;3;Contrato.doc"
            << "012" << QString()
            << QString::fromUtf8(
                   "Confirma a atribuição do centro de custo 012 para a impressão Contrato.doc?")
            << QVariant(12) << QVariant() << "1;816;4;Planilha.xls"
            << "pnlCentroCusto" << false;
        // Quotes, a statement and a backslash are the observation's text; after an observation the next
        // prompt keeps its "X".
        const QString statement = QString::fromUtf8("'; drop table impressoes; -- \"é\" \\");
        QTest::newRow("observation") << "4;815;3;Contrato.doc" << QString() << statement
                                     << QString::fromUtf8("Confirma a atribuição da observação: \"") +
                                            statement + QString::fromUtf8("\" para a impressão Contrato.doc?")
                                     << QVariant() << QVariant(statement) << "1;816;4;Planilha.xls"
                                     << "pnlCentroCusto" << true;
        QTest::newRow("observation of blanks")
            << "4;815;3;Contrato.doc" << QString() << "   "
            << QString::fromUtf8(
                   "Confirma a atribuição da observação: \"   \" para a impressão Contrato.doc?")
            << QVariant() << QVariant("   ") << QString() << QString() << true;
        QTest::newRow("cost centre and observation")
            << "2;815;3;Contrato.doc"
            << "7" << QString::fromUtf8("Ação de marketing")
            << QString::fromUtf8(
                   "Confirma a atribuição do centro de custo 7 e a observação \"Ação de marketing\" "
                   "para a impressão Contrato.doc?")
            << QVariant(7) << QVariant(QString::fromUtf8("Ação de marketing")) << "2;816;4;Planilha.xls"
            << "pnlCentroCustoObs" << false;
    }

    void answers()
    {
        QFETCH(QString, message);
        QFETCH(QString, code);
        QFETCH(QString, observation);
        QFETCH(QString, confirmation);
        QFETCH(QVariant, costCentreWritten);
        QFETCH(QVariant, observationWritten);
        QFETCH(QString, next);
        QFETCH(QString, nextPanel);
        QFETCH(bool, closeButton);
        receive(message);
        if (!next.isEmpty())
            receive(next);
        const Prompt asked = prompt(message.at(0));
        if (asked.code)
            asked.code->setText(code);
        if (asked.observation)
            asked.observation->setText(observation);
        const auto written = [] {
            return TestDatabase::value("select count(*) from impressoes where cod_centro_custo is not null "
                                       "or obs is not null")
                .toInt();
        };

        boxes->answerNext(false);
        QTest::mouseClick(asked.send, Qt::LeftButton);
        QCOMPARE(boxes->texts(), QStringList{confirmation});
        QCOMPARE(written(), 0);
        QVERIFY(asked.panel->isVisible());
        QCOMPARE(window->despachante->Fila(), next.isEmpty() ? QStringList() : QStringList{next});

        boxes->answerNext(true);
        QTest::keyClick(asked.observation ? asked.observation : asked.code, Qt::Key_Return);
        QCOMPARE(boxes->texts(), (QStringList{confirmation, confirmation}));
        QCOMPARE(job(815, "cod_centro_custo"), costCentreWritten);
        QCOMPARE(job(815, "obs"), observationWritten);
        QCOMPARE(written(), 1);

        QCOMPARE(window->isVisible(), !nextPanel.isEmpty());
        QVERIFY(window->despachante->Fila().isEmpty());
        QCOMPARE(window->Button2D1->isVisibleTo(window.get()), closeButton);
        if (nextPanel.isEmpty())
            return;
        const Prompt shown = prompt(next.at(0));
        QCOMPARE(shown.panel->objectName(), nextPanel);
        QVERIFY(shown.panel->isVisible());
        QCOMPARE(shown.panel->impressao->documento->text(), "Planilha.xls");
        if (shown.panel != asked.panel)
            return;
        // What was typed stays for the next prompt of the same kind.
        if (shown.code)
            QCOMPARE(shown.code->text(), code);
        if (shown.observation)
            QCOMPARE(shown.observation->text(), observation);
    }
};

QTEST_MAIN(tst_Notificacoes)
#include "tst_Notificacoes.moc"
