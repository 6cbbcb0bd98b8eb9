#pragma once

#include "Dataset.h"
#include "OdbcConnection.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The data module: the agent's one database connection.
// Creating it makes sure the data source exists, connects and selects the database.
class TdtmMain : public QObject {
    Q_OBJECT

public:
    static const QString MensagemFalhaConexao;

    // pedeFonteDeDados runs when the workstation has no data source yet, before the first connection
    // attempt; how it ends does not matter here: that attempt tells.
    explicit TdtmMain(QObject* parent = nullptr, const std::function<void()>& pedeFonteDeDados = {});
    ~TdtmMain() override;

    // True when dbCorvelLane is connected on return; otherwise the user was told and the log has a line.
    bool Conecta();

    OdbcConnection dbCorvelLane;
    std::unique_ptr<Dataset> QryAux;

    QString Servidor;
    QString NomeBanco;
    QString UsuarioBanco;
    QString SenhaBanco;

private:
    void DataModuleCreate(const std::function<void()>& pedeFonteDeDados);
    void DataModuleDestroy();
    void CriaFonteODBC(const std::function<void()>& pedeFonteDeDados);
    QString CadeiaDeConexao() const;
};

// The process-wide reference: set while the data module exists.
inline TdtmMain* dtmMain = nullptr;
