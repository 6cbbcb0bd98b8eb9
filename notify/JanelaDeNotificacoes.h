#pragma once

#include "CentroDeCusto.h"

#include <QList>
#include <QString>

struct DecisaoDaMensagem;

// What the dispatcher tells the window that shows its messages: the main window implements it, a
// recording fake stands in for it in tests. The window only shows; none of these calls back into the
// dispatcher. What throws (the workstation's registration, the quota figures) reaches the dispatcher's
// caller as it does.
class JanelaDeNotificacoes {
public:
    virtual ~JanelaDeNotificacoes() = default;

    virtual bool JanelaNaTela() const = 0;
    // Whether another window of the agent (the quota window, a report) is up in the window's place.
    virtual bool OutraJanelaNaTela() const = 0;

    // A message of kind 0, 1, 2 or 4: fills that panel, shows it alone at its height and brings the
    // window up; the close button is hidden while the panel is a prompt.
    virtual void MostraMensagem(const DecisaoDaMensagem& decisao) = 0;
    // The main panel alone, with its close button: what the window shows when next opened.
    virtual void MostraPainelPrincipal() = 0;
    virtual void MostraBotaoFechar() = 0;
    // The answered prompt goes: the window hides and shows its main panel again.
    virtual void FechaJanela() = 0;
    virtual void RegistraEstacao() = 0;
    virtual void MostraAviso(const QString& texto) = 0;
    // The quota labels and the tray image, read again.
    virtual void AtualizaPainel() = 0;
    virtual void AtualizaListas(const QList<CentroDeCusto>& centros) = 0;
};
