#include "AppError.h"
#include "Clock.h"
#include "Despachante.h"
#include "InstantaneoDaFila.h"
#include "JanelaGravada.h"
#include "ScratchFolder.h"
#include "ServidorChat.h"
#include "TcpConnection.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QTest>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

// The listener over real TCP on a free port: what is logged, queued, saved and dispatched.
class tst_ServidorChat : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    // On screen, so that the dispatcher only queues what the listener hands it.
    JanelaGravada window;
    std::unique_ptr<Despachante> dispatcher;
    int dispatched = 0;

    const QStringList& queue() const { return dispatcher->Fila(); }
    static qsizetype counter() { return QDir().entryList({"logfila*.txt"}, QDir::Files).size(); }
    // Starts the listener (again), on a fresh log.
    void listen(std::function<QList<CentroDeCusto>()> lists = [] { return QList<CentroDeCusto>(); })
    {
        server.reset();
        QFile::remove(folder->path() + "Log.txt");
        dispatcher = std::make_unique<Despachante>(window, std::move(lists));
        server = std::make_unique<ServidorChat>([this](const QString& message) {
            ++dispatched;
            dispatcher->Recebe(message);
        });
        server->Escuta(0, RemetentesPermitidos::DoArquivo(settingsPath()));
    }
    std::unique_ptr<ServidorChat> server;
    QString previousDir;

    // Sends the bytes on a fresh connection, as the server does, and waits until they were read.
    void send(const QByteArray& bytes)
    {
        const qsizetype logBefore = folder->logMessages().size();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, server->Porta());
        QVERIFY(socket.waitForConnected(5000));
        socket.write(bytes);
        QVERIFY(socket.waitForBytesWritten(5000));
        QTRY_VERIFY(folder->logMessages().size() > logBefore);
        socket.disconnectFromHost();
    }

    qsizetype openConnections() const { return server->findChildren<TcpConnection*>().size(); }

    QString settingsPath() const { return folder->path() + "corvellane.conf"; }

    // Starts the listener again, on a fresh log, with this settings file beside the executable.
    void listenWithSettings(const QByteArray& settings)
    {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
        file.close();
        listen();
    }

    QString anyone() const
    {
        return QString::fromUtf8("Remetentes permitidos: qualquer endereço (nenhuma lista em %1)")
            .arg(settingsPath());
    }

    // Connects from the address, sends a message and tells whether the agent closed the connection
    // rather than reading it.
    bool refused(const QHostAddress& from)
    {
        QTcpSocket socket;
        socket.connectToHost(from, server->Porta());
        if (!socket.waitForConnected(5000))
            return false;
        socket.write("1;815;3;a.doc");
        socket.waitForBytesWritten(5000);
        return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 3000);
    }

    QByteArray snapshot(int number) const
    {
        QFile file(QStringLiteral("logfila%1.txt").arg(number));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder->path()); // snapshots go to the working directory
        window = JanelaGravada();
        window.naTela = true;
        dispatched = 0;
        listen();
        // Without a settings file anyone may send, and the log says so at every start.
        QCOMPARE(folder->logMessages(), QStringList{anyone()});
        QVERIFY(QFile::remove(folder->path() + "Log.txt"));
    }

    void cleanup()
    {
        Clock::setSourceForTesting({});
        server.reset();
        dispatcher.reset();
        QDir::setCurrent(previousDir);
        folder.reset();
    }

    void checksKindAndLength_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("queued");
        QTest::addColumn<QStringList>("log");

        const QString received = "Mensagem recebida: ";
        const QString invalid = QString::fromUtf8("Mensagem inválida: Exception");
        QTest::newRow("6 characters dropped")
            << QByteArray("3;abcd") << false << QStringList{received + "3;abcd"};
        QTest::newRow("7 characters queued")
            << QByteArray("3;abcde") << true << QStringList{received + "3;abcde"};
        const QByteArray longest = "10;" + QByteArray(296, 'x');
        QTest::newRow("299 queued") << longest << true << QStringList{received + longest};
        QTest::newRow("300 dropped") << longest + "x" << false << QStringList{received + longest + "x"};
        QTest::newRow("negative kind dropped")
            << QByteArray("-1;1;2;doc") << false << QStringList{received + "-1;1;2;doc"};
        QTest::newRow("no separator")
            << QByteArray("1 815 3 doc") << false << QStringList{received + "1 815 3 doc", invalid};
        QTest::newRow("kind not a number")
            << QByteArray("x;815;3;doc") << false << QStringList{received + "x;815;3;doc", invalid};
        QTest::newRow("kind 7 queued")
            << QByteArray("7;qualquer") << true << QStringList{received + "7;qualquer"};
        QTest::newRow("Windows-1252 text")
            << QByteArray("1;815;3;Relat\xf3rio de produ\xe7\xe3o.doc") << true
            << QStringList{received + QString::fromUtf8("1;815;3;Relatório de produção.doc")};
    }

    void checksKindAndLength()
    {
        QFETCH(QByteArray, message);
        QFETCH(bool, queued);
        QFETCH(QStringList, log);
        send(message);
        QCOMPARE(folder->logMessages(), log);
        QCOMPARE(queue().size(), queued ? 1 : 0);
        QCOMPARE(counter(), queued ? 1 : 0);
        QCOMPARE(dispatched, queued ? 1 : 0);
        QCOMPARE(QFile::exists("logfila0.txt"), queued);
    }

    void emptyReadIsInvalid()
    {
        server->ServidorChatClientRead(QByteArray());
        QCOMPARE(folder->logMessages(),
                 (QStringList{"Mensagem recebida: ", QString::fromUtf8("Mensagem inválida: Exception")}));
        QVERIFY(queue().isEmpty());
    }

    void snapshotsHoldThePendingMessagesOldestFirst()
    {
        // Nothing is served here, so every message stays pending.
        for (const char* message : {"1;1;1;a.doc", "1;2;2;b.doc", "1;3;3;c;d.doc", "10;aviso!"})
            send(message);
        QCOMPARE(counter(), 4);
        QCOMPARE(snapshot(3), QByteArray("1;1;1;a.doc\r\n1;2;2;b.doc\r\n1;3;3;c;d.doc\r\n10;aviso!\r\n"));
        QCOMPARE(snapshot(0), QByteArray("1;1;1;a.doc\r\n"));
        QCOMPARE(queue().at(2), "1;3;3;c;d.doc"); // a ';' in the document name arrives whole
    }

    void twoMessagesInOneReadAreOne()
    {
        send("1;815;3;a.doc1;816;4;b.doc");
        QCOMPARE(queue(), QStringList{"1;815;3;a.doc1;816;4;b.doc"});
    }

    void snapshotThatCannotBeWrittenKeepsTheMessage()
    {
        QVERIFY(QDir().mkdir("logfila0.txt")); // a folder where the file should go
        send("1;815;3;a.doc");
        QCOMPARE(queue(), QStringList{"1;815;3;a.doc"});
        QCOMPARE(counter(), 0);
        QCOMPARE(folder->logMessages().last(), QString::fromUtf8("Mensagem inválida: Exception"));
    }

    void dispatcherFailureIsLoggedAsInvalid()
    {
        window.naTela = false; // served at once, and reading the lists fails
        listen([]() -> QList<CentroDeCusto> { throw std::runtime_error("lista"); });
        send("1;815;3;a.doc");
        QCOMPARE(queue().size(), 1);
        QCOMPARE(counter(), 1);
        QCOMPARE(folder->logMessages().last(), QString::fromUtf8("Mensagem inválida: Exception"));
    }

    void floodsAreBounded()
    {
        // A huge read is logged by its start and its size only.
        server->ServidorChatClientRead(QByteArray(1 << 20, 'z'));
        const QString received = folder->logMessages().at(folder->logMessages().size() - 2);
        QVERIFY(received.size() < 1200);
        QVERIFY(received.endsWith("[... 1048576 bytes recebidos]"));

        // Only the last snapshots are kept: writing one deletes the one that many numbers back. A file
        // left with the new one's number, longer than the new snapshot, holds exactly the snapshot.
        for (int i = 0; i < InstantaneoDaFila::Guardados; ++i)
            server->ServidorChatClientRead("1;1;1;x.doc");
        QFile old(InstantaneoDaFila::Nome(0));
        QFile leftOver(InstantaneoDaFila::Nome(InstantaneoDaFila::Guardados));
        for (QFile* file : {&old, &leftOver}) {
            QVERIFY(file->open(QIODevice::WriteOnly));
            file->write(QByteArray(4096, 'o'));
            file->close();
        }
        server->ServidorChatClientRead("1;3;3;z.doc");
        QCOMPARE(snapshot(InstantaneoDaFila::Guardados),
                 QByteArray("1;1;1;x.doc\r\n").repeated(InstantaneoDaFila::Guardados) + "1;3;3;z.doc\r\n");
        QVERIFY(!old.exists());
    }

    void connectionsHeldOpenAreBounded()
    {
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < ServidorChat::LimiteDeConexoes + 20; ++i) {
            held.push_back(std::make_unique<QTcpSocket>());
            held.back()->connectToHost(QHostAddress::LocalHost, server->Porta());
            QVERIFY(QTest::qWaitFor([&] { return held.back()->state() == QAbstractSocket::ConnectedState; }));
        }
        // Silent connections go once they have been silent for a while; one more arrival shows it.
        QTest::qWait(ServidorChat::EsperaPorDados + 200);
        held.push_back(std::make_unique<QTcpSocket>());
        held.back()->connectToHost(QHostAddress::LocalHost, server->Porta());
        QVERIFY(QTest::qWaitFor([&] { return held.back()->state() == QAbstractSocket::ConnectedState; }));
        QTRY_COMPARE(held.front()->state(), QAbstractSocket::UnconnectedState); // the oldest silent one
        QCOMPARE(held.at(1)->state(), QAbstractSocket::ConnectedState);
        // The newest connection still carries its message.
        held.back()->write("1;815;3;a.doc");
        QTRY_COMPARE(queue().size(), 1);
    }

    // Once accepting pauses, connections wait in the kernel's queue, not one more is taken; those that
    // waited are served when the silent ones have gone.
    void hardLimitHoldsExactly()
    {
        const int waiting = 60;
        rlimit usual{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &usual) == 0);
        rlimit roomy = usual;
        roomy.rlim_cur = std::max<rlim_t>(usual.rlim_cur, std::min<rlim_t>(usual.rlim_max, 8192));
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &roomy) == 0);
        QVERIFY2(roomy.rlim_cur > 2 * (ServidorChat::LimiteRigidoDeConexoes + waiting) + 64,
                 "too few descriptors");
        std::vector<int> clients;
        auto restore = qScopeGuard([&] {
            for (int client : clients)
                ::close(client);
            server.reset();
            ::setrlimit(RLIMIT_NOFILE, &usual);
        });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(server->Porta());
        // All connected before the listener runs: the kernel completes them in its queue().
        for (int i = 0; i < ServidorChat::LimiteRigidoDeConexoes + waiting; ++i) {
            clients.push_back(::socket(AF_INET, SOCK_STREAM, 0));
            QVERIFY(::connect(clients.back(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
                    0);
        }
        QVERIFY(::write(clients.back(), "1;815;3;a.doc", 13) == 13); // the last one in the queue
        QTRY_VERIFY(openConnections() >= ServidorChat::LimiteRigidoDeConexoes);
        QTest::qWait(300);
        QCOMPARE(openConnections(), qsizetype(ServidorChat::LimiteRigidoDeConexoes));
        QVERIFY(queue().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(queue(), QStringList{"1;815;3;a.doc"}, 3 * ServidorChat::EsperaPorDados);
        QVERIFY(openConnections() <= ServidorChat::LimiteRigidoDeConexoes);
    }

    // With a list of who may send, any other sender is closed unread, and logged once a minute.
    void onlyAllowedSendersAreRead()
    {
        QDateTime now = QDateTime::currentDateTime();
        Clock::setSourceForTesting([&now] { return now; });
        listenWithSettings("# only the IPv6 loopback\nallowed-senders = ::1\n");
        const QString listed = QStringLiteral("Remetentes permitidos: ::1 (lista em %1)").arg(settingsPath());
        const QString refusal = QString::fromUtf8(
            "Conexão de 127.0.0.1 recusada: o endereço não está na lista de remetentes permitidos");

        QVERIFY(refused(QHostAddress::LocalHost));
        QCOMPARE(folder->logMessages(), (QStringList{listed, refusal}));
        now = now.addSecs(59);
        QVERIFY(refused(QHostAddress::LocalHost));
        QCOMPARE(folder->logMessages(), (QStringList{listed, refusal}));
        now = now.addSecs(1);
        QVERIFY(refused(QHostAddress::LocalHost));
        QCOMPARE(folder->logMessages(), (QStringList{listed, refusal, refusal}));
        QVERIFY(queue().isEmpty());
        QCOMPARE(openConnections(), 0);

        const qsizetype before = folder->logMessages().size();
        QTcpSocket allowed;
        allowed.connectToHost(QHostAddress::LocalHostIPv6, server->Porta());
        QVERIFY(allowed.waitForConnected(5000));
        allowed.write("1;815;3;a.doc");
        QTRY_COMPARE(queue(), QStringList{"1;815;3;a.doc"});
        QCOMPARE(folder->logMessages().mid(before), QStringList{"Mensagem recebida: 1;815;3;a.doc"});
        QCOMPARE(allowed.state(), QAbstractSocket::ConnectedState); // closing stays the sender's business
    }

    // A list the agent cannot understand is said once, and lets no one in.
    void malformedListIsLoggedAndRefusesEveryone()
    {
        listenWithSettings("allowed-senders = ::1, 127.0.0.1/33\n");
        const QString path = settingsPath();
        QCOMPARE(folder->logMessages(),
                 QStringList{QString::fromUtf8("Lista de remetentes permitidos inválida em %1, linha 1: "
                                               "\"127.0.0.1/33\" não é um endereço nem uma rede: nenhuma "
                                               "notificação será aceita até que seja corrigida")
                                 .arg(path)});
        QVERIFY(refused(QHostAddress::LocalHostIPv6));
        QVERIFY(refused(QHostAddress::LocalHost));
        QCOMPARE(folder->logMessages().size(), 3);
        QVERIFY(queue().isEmpty());
    }

    // Who may send is said at start-up, whatever the file: a link to a file that is not there leaves
    // the port open as a missing file does, and says so; entries parted by any Unicode blank (a
    // no-break space, an em space) are a list like any other.
    void whoMaySendIsSaidAtStart()
    {
        QVERIFY(QFile::link(folder->path() + "gone.conf", settingsPath()));
        listen();
        QCOMPARE(folder->logMessages(), QStringList{anyone()});

        QVERIFY(QFile::remove(settingsPath()));
        listenWithSettings(
            QString::fromUtf8("allowed-senders = ::1\u00a0127.0.0.1,\u2003192.0.2.0/24\u00a0\n").toUtf8());
        QCOMPARE(
            folder->logMessages(),
            QStringList{QStringLiteral("Remetentes permitidos: ::1, 127.0.0.1, 192.0.2.0/24 (lista em %1)")
                            .arg(settingsPath())});
        QVERIFY(!refused(QHostAddress::LocalHost));
        QTRY_COMPARE(queue(), QStringList{"1;815;3;a.doc"});
    }

    // Out of descriptors, the listener closes the silent connections holding them, which lets it log
    // the shortage and accept again; a shortage within the minute after is not logged again.
    void descriptorsRunningOut()
    {
        QDateTime now = QDateTime::currentDateTime();
        Clock::setSourceForTesting([&now] { return now; });
        const QString message = QStringLiteral("1;815;3;a.doc");
        for (int shortage = 1; shortage <= 2; ++shortage) {
            std::vector<std::unique_ptr<QTcpSocket>> silent;
            for (int i = 0; i < 20; ++i) {
                silent.push_back(std::make_unique<QTcpSocket>());
                silent.back()->connectToHost(QHostAddress::LocalHost, server->Porta());
                QVERIFY(silent.back()->waitForConnected(5000));
            }
            QTRY_COMPARE(openConnections(), qsizetype(20));
            QTest::qWait(ServidorChat::EsperaPorDados + 200);
            const int sender = ::socket(AF_INET, SOCK_STREAM, 0);
            rlimit usual{};
            QVERIFY(::getrlimit(RLIMIT_NOFILE, &usual) == 0);
            auto restore = qScopeGuard([&] {
                ::setrlimit(RLIMIT_NOFILE, &usual);
                ::close(sender);
            });
            // No descriptor is left for the listener's next accept, nor for the log.
            const int lowestFree = ::dup(0);
            ::close(lowestFree);
            rlimit none = usual;
            none.rlim_cur = static_cast<rlim_t>(lowestFree);
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &none) == 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            address.sin_port = htons(server->Porta());
            QVERIFY(::connect(sender, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
            QVERIFY(::write(sender, "1;815;3;a.doc", 13) == 13);
            QTRY_COMPARE(queue().size(), shortage);
            QCOMPARE(queue().last(), message);
            QCOMPARE(openConnections(), qsizetype(1));
            const QStringList log = folder->logMessages();
            QCOMPARE(log.filter(QStringLiteral("Erro no socket")).size(), 1);
            QCOMPARE(log.last(), QStringLiteral("Mensagem recebida: ") + message);
            now = now.addSecs(59);
        }
        QVERIFY2(
            folder->logMessages().first().contains(QString::fromUtf8("não há descritores de arquivo livres")),
            qPrintable(folder->logMessages().first()));
    }

    void portTakenTellsWhatToDo()
    {
        ServidorChat second([](const QString&) {});
        try {
            second.Escuta(server->Porta(), {});
            QFAIL("the port is taken");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QString::fromUtf8("já está em uso")),
                     qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ServidorChat)
#include "tst_ServidorChat.moc"
