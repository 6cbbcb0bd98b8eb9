#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class JanelaDeNotificacoes;
class TdtmMain;

// The dispatcher and the queue it serves. The listener appends accepted messages to FilaMensagens;
// MostrarNotificacao serves the oldest one while the window is hidden, so that at most one prompt is on
// screen. A prompt that leaves the screen unanswered goes back to the head of the queue and comes back
// once nothing of the agent is on screen in its place: no prompt is ever lost.
class Despachante : public QObject {
    Q_OBJECT

public:
    // How long a prompt on screen may show cost-centre lists older than the latest message (ms).
    static constexpr int IntervaloDasListasAdiadas = 200;

    Despachante(JanelaDeNotificacoes& janela, TdtmMain& dados, QObject* parent = nullptr);

    QStringList FilaMensagens;
    int ContadorLogFila = 0;

    // Refreshes the cost-centre lists, then serves the oldest pending message if the window is hidden.
    void MostrarNotificacao();
    // The listener accepted a message.
    void NotificacaoRecebida();

    // The prompt on screen was answered: the window closes with nothing to give back.
    void PromptRespondido();
    // Whatever the window is about to show instead, the prompt on screen (if any) is not answered.
    void PromptDeixaATela();
    // The window was hidden, or a window that stood in its place went: a prompt given back returns.
    void RetomaPromptDevolvido();

    // The end of the session: nothing pending may run after the data module goes.
    void Encerra();

private:
    void AtendeMensagem(const QString& mensagem);
    void AtualizaListas();
    void AtualizaListasAdiadas();

    JanelaDeNotificacoes& m_janela;
    QPointer<TdtmMain> m_dados;
    // Pending while a prompt on screen waits for the cost-centre lists of a burst's messages.
    QTimer m_listasAdiadas;
    QString m_promptNaTela; // the message of the prompt on screen, until it is answered
    bool m_promptDevolvido = false;
};
