#pragma once

#include "FonteDeDados.h"
#include "RemetentesPermitidos.h"
#include "ServidorChat.h"

#include <QString>

// What the agent learns of its workstation once, at start-up, and hands to what needs it.
struct Configuracao {
    // The agent's settings file, in the executable's folder; it says who may send notifications.
    static constexpr const char* Arquivo = "corvellane.conf";

    quint16 Porta = ServidorChat::PortaPadrao;
    RemetentesPermitidos Remetentes;
    FonteDeDados Fonte;
    // The desktop session's account, by which the user is identified.
    QString Conta;

    // This workstation's: the settings file beside the executable, the session's account.
    static Configuracao DaEstacao();
};
