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
    : QObject(parent), QryAux(std::make_unique<Dataset>(dbCorvelLane)),
      cdsCentroCusto(std::make_unique<Dataset>(dbCorvelLane))
{
    setObjectName(QStringLiteral("dtmMain"));
    dtmMain = this;

    using Kind = Dataset::FieldKind;
    qryRelatorio.setFields({{QStringLiteral("COD_IMPRESSOES"), Kind::Integer},
                            {QStringLiteral("data_impressao"), Kind::Date},
                            {QStringLiteral("nome_grupo"), Kind::Text},
                            {QStringLiteral("estacao"), Kind::Text},
                            {QStringLiteral("nome_documento"), Kind::Text},
                            {QStringLiteral("paginas"), Kind::Integer},
                            {QStringLiteral("nome_status"), Kind::Text},
                            {QStringLiteral("nome_impressora"), Kind::Text},
                            {QStringLiteral("cod_status_impressao"), Kind::Integer},
                            {QStringLiteral("obs"), Kind::Text}});

    cdsCentroCusto->setSql(QStringLiteral("select * from centro_custo\r\norder by nome_centro_custo"));
    cdsCentroCusto->setFields({{QStringLiteral("cod_centro_custo"), Kind::Integer},
                               {QStringLiteral("nome_centro_custo"), Kind::Text}});
    // Code 0 is the server's "no cost centre": never offered to the user.
    cdsCentroCusto->setFilter([](const ResultSet& rows, qsizetype row) {
        return rows.value(row, QStringLiteral("cod_centro_custo")).toInt() != 0;
    });

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
        QryAux->execute();
    } catch (const AppError& error) {
        TUtil::GravaLog(ExecutableFolder::path(), error.message());
    }
}

void TdtmMain::DataModuleDestroy()
{
    dbCorvelLane.close();
    if (cdsCentroCusto)
        cdsCentroCusto->close();
    cdsCentroCusto.reset();
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
