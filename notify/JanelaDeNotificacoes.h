#pragma once

#include <QString>

struct DecisaoDaMensagem;
class ResultSet;

// What the dispatcher and the prompts' answers need of the window that shows them: the main window
// implements it. The window only shows; what to show, and when, is decided in notify/.
class JanelaDeNotificacoes {
public:
    virtual ~JanelaDeNotificacoes() = default;

    virtual bool JanelaNaTela() const = 0;
    // Whether another window of the agent (the quota window, a report) is up in the window's place.
    virtual bool OutraJanelaNaTela() const = 0;

    // Hides the six panels, in the dispatcher's order.
    virtual void EscondePaineis() = 0;
    // Fills the panel of the message's kind (0, 1, 2 or 4), shows it and sets the window's height.
    virtual void MostraPainelDaMensagem(const DecisaoDaMensagem& decisao) = 0;
    // The main panel, which the window shows when it is next opened.
    virtual void MostraPainelPrincipal() = 0;
    virtual void MostraJanela() = 0;
    // The close request: the window hides and shows its main panel again.
    virtual void FechaJanela() = 0;
    // The header's "X", hidden while a prompt waits for its answer.
    virtual void MostraBotaoFechar() = 0;
    virtual void EscondeBotaoFechar() = 0;

    virtual void RegistraEstacao() = 0;
    virtual void MostraAviso(const QString& texto) = 0;
    // The quota labels and the tray image from the user context.
    virtual void AtualizaPainel() = 0;
    // The prompts' lookup lists from the cost-centre list.
    virtual void AtualizaListas(ResultSet& centrosDeCusto) = 0;
};
