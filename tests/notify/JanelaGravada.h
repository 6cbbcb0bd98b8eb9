#pragma once

#include "DecisaoDaMensagem.h"
#include "JanelaDeNotificacoes.h"

#include <QStringList>

// A window that records what the dispatcher tells it, one line per call, and is on screen as a window
// would be: a message brings it up, closing takes it down. Tests move it as the user would.
class JanelaGravada : public JanelaDeNotificacoes {
public:
    bool naTela = false;
    bool outraNaTela = false;
    QStringList chamadas;
    QList<CentroDeCusto> listas;

    bool JanelaNaTela() const override { return naTela; }
    bool OutraJanelaNaTela() const override { return outraNaTela; }
    void MostraMensagem(const DecisaoDaMensagem& decisao) override
    {
        naTela = true;
        chamadas << QStringLiteral("mostra %1 %2").arg(decisao.tipo).arg(decisao.campo1);
    }
    void MostraPainelPrincipal() override { chamadas << QStringLiteral("principal"); }
    void MostraBotaoFechar() override { chamadas << QStringLiteral("X"); }
    void FechaJanela() override
    {
        naTela = false;
        chamadas << QStringLiteral("fecha");
    }
    void RegistraEstacao() override { chamadas << QStringLiteral("registra"); }
    void MostraAviso(const QString& texto) override { chamadas << QStringLiteral("aviso ") + texto; }
    void AtualizaPainel() override { chamadas << QStringLiteral("painel"); }
    void AtualizaListas(const QList<CentroDeCusto>& centros) override { listas = centros; }
};
