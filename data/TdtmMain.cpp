#include "TdtmMain.h"

#include "AppError.h"
#include "DataSourceStore.h"
#include "ExecutableFolder.h"
#include "MessageBoxes.h"
#include "TUtil.h"
#include "Termination.h"

const QString TdtmMain::MensagemFalhaConexao =
    QStringLiteral("Atenção. O sistema não conseguiu conectar ao servidor do CorvelLane. Verifique com o "
                   "administrador do sistema.");

namespace {

const QString nomeFonteDados = QStringLiteral("CorvelLane");
const QString usuarioPadrao = QStringLiteral("corvellane");
const QString senhaPadrao = QStringLiteral("mabel7");

QString cadeiaPara(const QString& usuario, const QString& senha)
{
    return QStringLiteral("Provider=MSDASQL.1;Password=") + senha +
           QStringLiteral(";Persist Security Info=True;User ID=") + usuario +
           QStringLiteral(";Data Source=") + nomeFonteDados;
}

} // namespace

TdtmMain::TdtmMain(QObject* parent, const std::function<void()>& pedeFonteDeDados)
    : QObject(parent), QryAux(std::make_unique<Dataset>(dbCorvelLane))
{
    setObjectName(QStringLiteral("dtmMain"));
    dtmMain = this;

    DataModuleCreate(pedeFonteDeDados);
}

TdtmMain::~TdtmMain()
{
    DataModuleDestroy();
    if (dtmMain == this)
        dtmMain = nullptr;
}

void TdtmMain::DataModuleCreate(const std::function<void()>& pedeFonteDeDados)
{
    CriaFonteODBC(pedeFonteDeDados);
    if (!Conecta())
        return; // the start-up gate finds the connection closed and ends the program
    if (Termination::requested()) {
        // The user cancelled the settings dialog while someone else created the data source: the
        // program still ends, so the gate must find the connection closed.
        dbCorvelLane.close();
        return;
    }
    QryAux->setSql(QStringLiteral("USE CORVELLANE"));
    try {
        QryAux->execute(OdbcConnection::Effect::Repeatable);
    } catch (const AppError& error) {
        TUtil::GravaLog(ExecutableFolder::path(), error.message());
    }
}

void TdtmMain::DataModuleDestroy()
{
    dbCorvelLane.close();
    QryAux.reset();
}

void TdtmMain::CriaFonteODBC(const std::function<void()>& pedeFonteDeDados)
{
    NomeBanco = QStringLiteral("CORVELLANE");
    UsuarioBanco = usuarioPadrao;
    SenhaBanco = senhaPadrao;
    if (!DataSourceStore::systemDataSourceExists(nomeFonteDados) && pedeFonteDeDados)
        pedeFonteDeDados();
}

QString TdtmMain::CadeiaDeConexao() const
{
    return cadeiaPara(UsuarioBanco, SenhaBanco);
}

bool TdtmMain::Conecta()
{
    if (dbCorvelLane.isConnected())
        return true;
    dbCorvelLane.setConnectionString(CadeiaDeConexao());
    try {
        dbCorvelLane.open();
        return true;
    } catch (const AppError&) {
        // The driver's own text stays out of the box and the log: it names servers and accounts.
        TUtil::GravaLog(ExecutableFolder::path(), MensagemFalhaConexao);
        MessageBoxes::error(MensagemFalhaConexao);
        return false;
    }
}
