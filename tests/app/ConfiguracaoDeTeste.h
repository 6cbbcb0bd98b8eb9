#pragma once

#include "Configuracao.h"

// A workstation for the window's tests: the desktop account given, no list of senders, and a port
// the system chooses, so that a test never needs the right to port 900.
inline Configuracao configuracaoDeTeste(const QString& conta = QStringLiteral("jsilva"))
{
    Configuracao configuracao;
    configuracao.Porta = 0;
    configuracao.Conta = conta;
    return configuracao;
}
