#pragma once

// What the prompts need of the window that hosts them: the main window implements it.
class JanelaDeNotificacoes {
public:
    virtual ~JanelaDeNotificacoes() = default;

    // The close request: the window hides and shows its main panel again.
    virtual void FechaJanela() = 0;
    // Serves the next pending notification, if the window is hidden.
    virtual void MostrarNotificacao() = 0;
    // The header's "X", hidden while a prompt waits for its answer.
    virtual void MostraBotaoFechar() = 0;
};
