#include "TdtmMain.h"

#include "AppError.h"
#include "DataSourceStore.h"
#include "MessageBoxes.h"
#include "TUtil.h"
#include "Termination.h"

#include <utility>

const QString TdtmMain::MensagemFalhaConexao =
    QStringLiteral("Atenção. O sistema não conseguiu conectar ao servidor do CorvelLane. Verifique com o "
                   "administrador do sistema.");

TdtmMain::TdtmMain(FonteDeDados fonte) : m_fonte(std::move(fonte)) {}

bool TdtmMain::Abre(const std::function<void(TdtmMain&)>& pedeFonteDeDados)
{
    if (!DataSourceStore::systemDataSourceExists(m_fonte.Nome) && pedeFonteDeDados)
        pedeFonteDeDados(*this);
    if (!Conecta())
        return false;
    if (Termination::requested()) {
        // The user cancelled the settings dialog while someone else created the data source: the
        // program still ends.
        dbCorvelLane.close();
        return false;
    }
    try {
        dbCorvelLane.execute(QStringLiteral("USE CORVELLANE"), {}, OdbcConnection::Effect::Repeatable);
    } catch (const AppError& error) {
        TUtil::GravaLog(error.message());
    }
    return true;
}

bool TdtmMain::Conecta()
{
    if (dbCorvelLane.isConnected())
        return true;
    dbCorvelLane.setConnectionString(m_fonte.CadeiaDeConexao());
    try {
        dbCorvelLane.open();
        return true;
    } catch (const AppError&) {
        // The driver's own text stays out of the box and the log: it names servers and accounts.
        TUtil::GravaLog(MensagemFalhaConexao);
        MessageBoxes::error(MensagemFalhaConexao);
        return false;
    }
}
