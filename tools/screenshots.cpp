// Writes a PNG of the main window in each of its states, and a sheet of the tray images, to a folder:
// for the README and for reviewing the layout. Run through scripts/screenshots, which starts a demo
// database first; the window is the real one, driven through its own handlers.
#include "Configuracao.h"
#include "Despachante.h"
#include "LocalAddress.h"
#include "MessageBoxes.h"
#include "TConexao.h"
#include "TTrayIcon.h"
#include "TdtmMain.h"
#include "TfrmMain.h"
#include "TrayImages.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

QString folder;

void save(QWidget* window, const QString& name)
{
    QTest::qWait(50);
    window->grab().save(folder + name + QStringLiteral(".png"));
    std::printf("%s.png\n", qPrintable(name));
}

void figures(TdtmMain& dados, int printed, int remaining)
{
    TConexao conexao(dados.dbCorvelLane);
    conexao.ExecutaComando(QStringLiteral("update impressoes set paginas = 0 where cod_usuario = 1"), {});
    conexao.ExecutaComando(
        QStringLiteral("update impressoes set paginas = :P1 where cod_impressoes = "
                       "(select c from (select max(cod_impressoes) c from impressoes where "
                       "cod_usuario = 1 and cod_status_impressao = 1) x)"),
        {printed});
    conexao.ExecutaComando(
        QStringLiteral("update impressoes set data_impressao = current_date where paginas = :P1 "
                       "and cod_usuario = 1"),
        {printed});
    conexao.ExecutaComando(QStringLiteral("update modp set quota = :P1 where cod_usuario = 1"), {remaining});
}

// One window per account: the context identifies the account when the window starts. It listens on a
// port the system chooses, so that taking pictures needs no right to port 900.
std::unique_ptr<TfrmMain> windowFor(TdtmMain& dados, const QString& account)
{
    Configuracao configuracao;
    configuracao.Porta = 0;
    configuracao.Conta = account;
    auto window = std::make_unique<TfrmMain>(dados, configuracao);
    window->Inicia();
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        std::fprintf(stderr, "the window for %s never became active\n", qPrintable(account));
    return window;
}

void traySheet()
{
    const QList<int> sizes = {16, 24, 32, 64};
    QImage sheet(TrayImages::Count * 72 + 8, 180, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < TrayImages::Count; ++i) {
        int top = 4;
        for (int size : sizes) {
            painter.drawPixmap(8 + i * 72, top, TrayImages::pixmap(i, size));
            top += size + 4;
        }
    }
    painter.end();
    sheet.save(folder + QStringLiteral("tray-images.png"));
    std::printf("tray-images.png\n");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvellane-screenshots FOLDER\n");
        return 2;
    }
    folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(folder);
    ScriptedMessageBoxes boxes; // the no-policy message would wait for a click
    LocalAddress::setForTesting(QStringLiteral("192.168.10.50"));
    TdtmMain dados;
    if (!dados.Abre()) {
        std::fprintf(stderr, "the demo database is not reachable\n");
        return 1;
    }

    traySheet();
    {
        auto window = windowFor(dados, QStringLiteral("ana.souza"));
        const struct {
            int printed, remaining;
            const char* name;
        } states[] = {{40, 160, "main-quota-low-use"},
                      {100, 80, "main-quota-half-used"},
                      {170, 30, "main-quota-nearly-used"},
                      {200, 0, "main-quota-used-up"}};
        for (const auto& state : states) {
            figures(dados, state.printed, state.remaining);
            window->AtualizaPainel();
            save(window.get(), QLatin1String(state.name));
        }
        window->Relatporio1Click();
        save(window.get(), QStringLiteral("report-panel"));
        const struct {
            const char* message;
            const char* name;
        } prompts[] = {{"1;815;3;Contrato de prestação de serviços.docx", "prompt-cost-centre"},
                       {"2;816;12;Planta baixa - bloco C.pdf", "prompt-cost-centre-and-observation"},
                       {"4;817;1;Ata da reunião.docx", "prompt-observation"}};
        // The queue's snapshot files are the agent's, not the pictures'.
        QTemporaryDir snapshots;
        QDir::setCurrent(snapshots.path());
        for (const auto& prompt : prompts) {
            window->despachante->Respondido(); // each prompt in its turn, the one before done with
            window->despachante->Recebe(QString::fromUtf8(prompt.message));
            save(window.get(), QLatin1String(prompt.name));
        }
    }
    save(windowFor(dados, QStringLiteral("carla.dias")).get(), QStringLiteral("main-unlimited"));
    save(windowFor(dados, QStringLiteral("diego.rocha")).get(), QStringLiteral("main-no-policy"));
    save(windowFor(dados, QStringLiteral("visitante")).get(), QStringLiteral("login-panel"));
    return 0;
}
