#include "AppError.h"
#include "Configuracao.h"
#include "DisplayPlatform.h"
#include "Fonts.h"
#include "MessageBoxWindows.h"
#include "MessageBoxes.h"
#include "SessionEnd.h"
#include "TUtil.h"
#include "TdtmMain.h"
#include "Termination.h"
#include "TfrmDadosConexao.h"
#include "TfrmMain.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    DisplayPlatform::choose();
    QApplication app(argc, argv);
    MessageBoxWindows::install();
    // The agent's windows are drawn in "MS Sans Serif", 11 px; so are its boxes and menus, as on the
    // desktops the agent comes from. It also spares loading the desktop's own face at start-up: a line
    // edit lays out its empty text in the application's font before it takes its own.
    QApplication::setFont(Fonts::msSansSerif(11));
    QApplication::setApplicationName(QStringLiteral("CorvelLane"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!DisplayPlatform::placesOwnWindows(QGuiApplication::platformName()))
        TUtil::GravaLog(DisplayPlatform::cannotDockMessage());

    // The session can end at any moment, even while start-up waits on a box: the box goes away,
    // start-up stops at the next step, and the loop ends if it runs.
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::ended, &app, &Termination::request);

    const Configuracao configuracao = Configuracao::DaEstacao();
    TdtmMain dados(configuracao.Fonte);
    if (!dados.Abre(&TfrmDadosConexao::PedeServidor))
        return 0; // without a connection the user was told and the log has its line; no window, no port

    const auto window = std::make_unique<TfrmMain>(dados, configuracao);
    try {
        window->Inicia();
    } catch (const AppError& error) {
        // Without its user context the window could show nothing true: say why and end, as when the
        // connection fails.
        TUtil::GravaLog(error.message());
        MessageBoxes::applicationError(error.message());
        return 0;
    }
    window->show();
    window->activateWindow();
    if (!Termination::requested())
        QApplication::exec();

    // However the loop ended (log-out, SIGTERM, SIGHUP), the teardown runs in full, then the window goes.
    window->WMEndSession();
    return 0;
}
