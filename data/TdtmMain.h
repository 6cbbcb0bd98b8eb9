#pragma once

#include "FonteDeDados.h"
#include "OdbcConnection.h"

#include <functional>

// The data module: the agent's one database connection. main makes it and hands it to whoever needs
// the database; building it touches nothing.
class TdtmMain {
public:
    static const QString MensagemFalhaConexao;

    explicit TdtmMain(FonteDeDados fonte = {});

    // Makes sure the data source exists, connects and selects the database. pedeFonteDeDados runs when
    // the workstation has no data source yet, before the first connection attempt; how it ends does not
    // matter here: that attempt tells. False when the program must end: no connection (the user was
    // told and the log has a line), or the session ending meanwhile.
    bool Abre(const std::function<void(TdtmMain&)>& pedeFonteDeDados = {});

    // True when dbCorvelLane is connected on return; otherwise the user was told and the log has a line.
    bool Conecta();

    const FonteDeDados& Fonte() const { return m_fonte; }

    OdbcConnection dbCorvelLane;
    // The server's address, as typed on a workstation that had no data source.
    QString Servidor;

private:
    const FonteDeDados m_fonte;
};
