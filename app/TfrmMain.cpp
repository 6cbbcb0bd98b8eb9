#include "TfrmMain.h"

#include "TConexao.h"
#include "TdtmMain.h"

#include <QCloseEvent>

TfrmMain::TfrmMain(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    frmMain = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("CorvelLane 1.27"));
    setWindowOpacity(220 / 255.0);
    setFixedWidth(254);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    WMEndSession();
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::FormCreate()
{
    ContadorLogFila = 0;
    resize(254, 0);
    dtmMain->Conecta();
    Conexao = std::make_unique<TConexao>(dtmMain->dbCorvelLane);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The agent has no exit command: closing only hides the window until the next showing.
    hide();
    event->ignore();
}

void TfrmMain::WMEndSession()
{
    Conexao.reset();
    if (dtmMain) {
        dtmMain->dbCorvelLane.close();
        delete dtmMain;
    }
    hide();
}
