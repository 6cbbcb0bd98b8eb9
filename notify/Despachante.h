#pragma once

#include "CentroDeCusto.h"
#include "ConteudoDaFila.h"
#include "DecisaoDaMensagem.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class JanelaDeNotificacoes;

// The dispatcher owns the queue of accepted messages and the life of the one prompt on screen. It serves
// the oldest message while the window is hidden, and tells the window what to show; the window shows it
// and reports the user's acts, and nothing it does calls back here while a message is served. A prompt
// that leaves the screen unanswered goes back to the head of the queue and comes back once nothing of the
// agent is on screen in its place: no prompt is ever lost, and an answered one never returns.
class Despachante : public QObject {
    Q_OBJECT

public:
    // How long a prompt on screen may show cost-centre lists older than the latest message (ms).
    static constexpr int IntervaloDasListasAdiadas = 200;
    // Messages waiting for an answer, the prompt on screen included, past which new ones are dropped.
    static constexpr int LimiteDaFila = 5000;

    enum class EstadoDoPrompt {
        Nenhum,
        NaTela,
        Confirmando, // on screen, its answer's confirmation box open: it is not given back
        Devolvido,   // back at the head of the queue, to be shown again
    };

    // leCentrosDeCusto reads the cost-centre list from the database; it throws when it cannot.
    Despachante(JanelaDeNotificacoes& janela, std::function<QList<CentroDeCusto>()> leCentrosDeCusto,
                QObject* parent = nullptr);

    // The listener accepted a message: it is queued (within the bound), the queue's snapshot is written,
    // and it is served when the window is hidden.
    void Recebe(const QString& mensagem);
    // Refreshes the cost-centre lists, then serves the oldest pending message if nothing is on screen.
    void MostrarNotificacao();

    // The prompt's panel left the screen unanswered (another panel, the window hidden or minimised, the
    // quota window): it is given back, unless its answer is being confirmed.
    void PromptDeixaATela();
    // Nothing of the agent stands on screen any more: a prompt given back returns.
    void RetomaPromptDevolvido();
    // Another user logged in: the given-back prompt belongs to the one before, and is dropped.
    void UsuarioTrocado();

    // The answer of the prompt on screen: the confirmation box opens, then it was answered (the window
    // closes and the next message is served) or it was not (the prompt stays, or goes back if it left
    // the screen meanwhile).
    void ConfirmacaoAberta();
    void Respondido();
    void NaoRespondido();

    EstadoDoPrompt Estado() const { return m_estado; }
    const QStringList& Fila() const { return m_fila; }
    // The cost-centre list as last read, which the prompts' answers are checked against.
    const QList<CentroDeCusto>& CentrosDeCusto() const { return m_centrosDeCusto; }

    // The end of the session: nothing pending may run after the database goes.
    void Encerra();

private:
    void Atende(const DecisaoDaMensagem& decisao);
    void AtualizaListas();
    void AtualizaListasAdiadas();
    bool PromptOcupaATela() const;
    void GravaInstantaneo();

    JanelaDeNotificacoes& m_janela;
    std::function<QList<CentroDeCusto>()> m_leCentrosDeCusto;
    QList<CentroDeCusto> m_centrosDeCusto;
    QStringList m_fila;
    int m_contadorLogFila = 0;
    ConteudoDaFila m_conteudo;
    // Pending while a prompt on screen waits for the cost-centre lists of a burst's messages.
    QTimer m_listasAdiadas;
    EstadoDoPrompt m_estado = EstadoDoPrompt::Nenhum;
    QString m_prompt; // the message of the prompt on screen or given back
    bool m_encerrado = false;
};
