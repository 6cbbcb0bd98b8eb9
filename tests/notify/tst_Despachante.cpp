#include "Despachante.h"
#include "InstantaneoDaFila.h"
#include "JanelaGravada.h"
#include "MessageBoxes.h"
#include "RespostasDosPrompts.h"
#include "ScratchFolder.h"

#include <QDir>
#include <QTest>

using Estado = Despachante::EstadoDoPrompt;
Q_DECLARE_METATYPE(Despachante::EstadoDoPrompt)

// The prompt's life against a recording window, with no database and no real window. Each row is a
// script of what the listener, the user and the other windows do, and what the dispatcher must have
// told the window, left in its queue and logged.
class tst_Despachante : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    QString previousDir;
    JanelaGravada window;
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<Despachante> dispatcher;
    std::unique_ptr<RespostasDosPrompts> answers;
    QStringList writes;
    bool writeFails = false;

    // One step: "<message>" arrives; "quota" opens the quota window over the panel (which closes) and
    // "quota-closes" closes it; "minimise" takes the panel off screen; "close" is the user closing it;
    // "report" and "user" are the tray menu's "Relatório" and "Trocar usuário" over the prompt, and
    // "login" is another user logging in; "yes", "no" and "fails" answer the prompt on screen;
    // "menu-while-confirming" picks a panel from the tray menu while the confirmation box is open.
    void step(const QString& what)
    {
        if (what == "quota") {
            window.outraNaTela = true;
            hide();
        } else if (what == "quota-closes") {
            window.outraNaTela = false;
            dispatcher->RetomaPromptDevolvido();
        } else if (what == "minimise") {
            hide();
        } else if (what == "close") {
            hide();
            dispatcher->RetomaPromptDevolvido();
        } else if (what == "report" || what == "user") {
            dispatcher->PromptDeixaATela();
        } else if (what == "login") {
            dispatcher->UsuarioTrocado();
        } else if (what == "yes" || what == "no" || what == "fails") {
            boxes->answerNext(what != "no");
            writeFails = what == "fails";
            answer();
        } else if (what == "menu-while-confirming") {
            dispatcher->ConfirmacaoAberta();
            dispatcher->PromptDeixaATela();
            dispatcher->Respondido();
        } else if (what == "minimise-while-confirming-no") {
            dispatcher->ConfirmacaoAberta();
            hide();
            dispatcher->NaoRespondido();
        } else {
            dispatcher->Recebe(what);
        }
    }

    void hide()
    {
        window.naTela = false;
        dispatcher->PromptDeixaATela();
    }

    void answer()
    {
        const QStringList fields = window.chamadas.filter("mostra").last().split(' ');
        const ImpressaoDoPrompt job{fields.at(2), "doc"};
        if (fields.at(1) == "4")
            answers->Observacao("ok", job);
        else
            answers->CentroCusto("7", job);
    }

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder->path());
        window = JanelaGravada();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        writes.clear();
        writeFails = false;
        dispatcher = std::make_unique<Despachante>(window, [] {
            return QList<CentroDeCusto>{{7, "Vendas"}, {12, "Obras"}};
        });
        answers = std::make_unique<RespostasDosPrompts>(
            *dispatcher, [this](const QString&, const QList<QVariant>& values) {
                if (writeFails)
                    throw std::runtime_error("write");
                writes << values.last().toString();
                return 1;
            });
    }

    void cleanup()
    {
        answers.reset();
        dispatcher.reset();
        boxes.reset();
        QDir::setCurrent(previousDir);
        folder.reset();
    }

    void protocol_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown");   // the prompts and quota panels shown, in order
        QTest::addColumn<QStringList>("written"); // the jobs whose row was written
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<Estado>("state");
        QTest::addColumn<QString>("log"); // the last line

        const QString back = QString::fromUtf8("Mensagem devolvida à fila: ");
        QTest::newRow("an answer serves the next message in order")
            << QStringList{"1;815;3;a", "4;816;3;b", "1;817;3;c", "yes", "yes"}
            << QStringList{"mostra 1 815", "mostra 4 816", "mostra 1 817"} << QStringList{"815", "816"}
            << QStringList{} << Estado::NaTela << QString();
        QTest::newRow("a prompt displaced by the quota window comes back first")
            << QStringList{"4;815;3;a", "1;816;3;b", "quota", "1;817;3;c", "quota-closes"}
            << QStringList{"mostra 4 815", "mostra 4 815"} << QStringList{}
            << QStringList{"1;816;3;b", "1;817;3;c"} << Estado::NaTela << back + "4;815;3;a";
        QTest::newRow("it waits while the quota window is up")
            << QStringList{"4;815;3;a", "quota", "close"} << QStringList{"mostra 4 815"} << QStringList{}
            << QStringList{"4;815;3;a"} << Estado::Devolvido << back + "4;815;3;a";
        QTest::newRow("switching user over a prompt drops it for the next user")
            << QStringList{"1;815;3;a", "1;816;3;b", "user", "login", "close", "1;817;3;c"}
            << QStringList{"mostra 1 815", "mostra 1 816"} << QStringList{} << QStringList{"1;817;3;c"}
            << Estado::NaTela << QString::fromUtf8("Mensagem descartada na troca de usuário: 1;815;3;a");
        QTest::newRow("the same user logging in again keeps it")
            << QStringList{"1;815;3;a", "user", "close"} << QStringList{"mostra 1 815", "mostra 1 815"}
            << QStringList{} << QStringList{} << Estado::NaTela << back + "1;815;3;a";
        QTest::newRow("a malformed message drops only itself")
            << QStringList{"4;815;3;a", "1;x;3;bad", "2;817;3;c", "yes", "1;818;3;d"}
            << QStringList{"mostra 4 815", "mostra 2 817"} << QStringList{"815"} << QStringList{"1;818;3;d"}
            << Estado::NaTela << QString::fromUtf8("Mensagem inválida Exception");
        QTest::newRow("a failed write leaves the prompt on screen")
            << QStringList{"1;815;3;a", "1;816;3;b", "fails"} << QStringList{"mostra 1 815"} << QStringList{}
            << QStringList{"1;816;3;b"} << Estado::NaTela << QString();
        QTest::newRow("no leaves the prompt on screen")
            << QStringList{"4;815;3;a", "no"} << QStringList{"mostra 4 815"} << QStringList{} << QStringList{}
            << Estado::NaTela << QString();
        QTest::newRow("a prompt being confirmed is not given back, and once answered never returns")
            << QStringList{"1;815;3;a", "1;816;3;b", "menu-while-confirming"}
            << QStringList{"mostra 1 815", "mostra 1 816"} << QStringList{} << QStringList{} << Estado::NaTela
            << QString();
        QTest::newRow("a minimise gives the prompt back, and the next message brings it first")
            << QStringList{"1;815;3;a", "minimise", "4;816;3;b"}
            << QStringList{"mostra 1 815", "mostra 1 815"} << QStringList{} << QStringList{"4;816;3;b"}
            << Estado::NaTela << back + "1;815;3;a";
        QTest::newRow("a panel minimised while confirming gives the prompt back after no")
            << QStringList{"4;815;3;a", "minimise-while-confirming-no"} << QStringList{"mostra 4 815"}
            << QStringList{} << QStringList{"4;815;3;a"} << Estado::Devolvido << back + "4;815;3;a";
    }

    void protocol()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, written);
        QFETCH(QStringList, queue);
        QFETCH(Estado, state);
        QFETCH(QString, log);
        for (const QString& what : steps)
            step(what);
        QCOMPARE(window.chamadas.filter("mostra"), shown);
        QCOMPARE(writes, written);
        QCOMPARE(dispatcher->Fila(), queue);
        QCOMPARE(dispatcher->Estado(), state);
        const QStringList logged = folder->logMessages();
        QCOMPARE(logged.isEmpty() ? QString() : logged.last(), log);
    }

    // After the prompt went, the window is left as a closed one: its close button back, its main panel.
    void answeredPromptClosesTheWindow()
    {
        step("4;815;3;a");
        step("yes");
        QCOMPARE(window.chamadas,
                 (QStringList{"mostra 4 815", "painel", "X", "fecha", "X"})); // the observation's X stays
        QVERIFY(!window.naTela);
    }

    // The queue's bound and its snapshot hold for a prompt given back as for a message received.
    void givenBackPromptKeepsTheBoundAndTheSnapshot()
    {
        window.naTela = true; // nothing is served: the queue fills
        for (int i = 0; i < Despachante::LimiteDaFila; ++i)
            step(QStringLiteral("1;%1;1;x").arg(i));
        QCOMPARE(dispatcher->Fila().size(), Despachante::LimiteDaFila);
        step("1;9;1;y");
        QCOMPARE(folder->logMessages().last(),
                 QString::fromUtf8("Mensagem descartada: há 5000 notificações aguardando resposta"));

        // A prompt on screen counts: given back, the queue is at its bound again, never past it.
        window.naTela = false;
        dispatcher->MostrarNotificacao();
        QCOMPARE(dispatcher->Estado(), Estado::NaTela);
        step("1;9;1;y"); // dropped: 4,999 wait in the queue and one on screen
        QCOMPARE(dispatcher->Fila().size(), Despachante::LimiteDaFila - 1);
        step("minimise");
        QCOMPARE(dispatcher->Fila().size(), Despachante::LimiteDaFila);
        QCOMPARE(dispatcher->Fila().first(), "1;0;1;x");
        QFile snapshot(InstantaneoDaFila::Nome(Despachante::LimiteDaFila));
        QVERIFY(snapshot.open(QIODevice::ReadOnly));
        QVERIFY(snapshot.readAll().startsWith("1;0;1;x\r\n1;1;1;x\r\n"));
    }

    // The session's end: nothing pending reads the database any more, and nothing is given back.
    void endOfSession()
    {
        int reads = 0;
        dispatcher = std::make_unique<Despachante>(window, [&reads] {
            ++reads;
            return QList<CentroDeCusto>();
        });
        step("1;815;3;a");
        step("1;816;3;b"); // on screen: the lists' refresh waits
        dispatcher->Encerra();
        step("minimise");
        QTest::qWait(Despachante::IntervaloDasListasAdiadas * 2);
        QCOMPARE(reads, 1);
        QCOMPARE(dispatcher->Fila(), QStringList{"1;816;3;b"});
    }
};

QTEST_MAIN(tst_Despachante)
#include "tst_Despachante.moc"
