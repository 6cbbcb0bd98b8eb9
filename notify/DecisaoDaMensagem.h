#pragma once

#include <QString>

// What the dispatcher does with a queued message, decided from its text alone: the window only
// carries the decision out, and the fuzz target checks it without a window.
struct DecisaoDaMensagem {
    enum class Acao {
        MostraCota,             // kind 0: the main panel with the figures the message carries
        PerguntaCentroCusto,    // kind 1
        PerguntaCentroCustoObs, // kind 2
        PerguntaObservacao,     // kind 4
        RegistraEstacao,        // kind 3
        MostraAviso,            // kind 10: a balloon with texto
        Ignora,                 // a kind this version does not handle
        Invalida,               // no kind, or a field that must be a whole number is not one
    };

    Acao acao = Acao::Invalida;
    // The kind; -1 when the text has none.
    int tipo = -1;
    // Kinds 0, 1, 2 and 4: the two number fields as the labels show them, and their values (the
    // quota and pages printed, or the job's code and its pages).
    QString campo1;
    QString campo2;
    int numero1 = 0;
    int numero2 = 0;
    // Kind 0: pages remaining, up to the next ';'. Kinds 1, 2, 4: the document name, to the end of
    // the text, ';' included. Kind 10: the notice.
    QString texto;

    static DecisaoDaMensagem Decide(const QString& mensagem);

    // True for the kinds that open a prompt and fill its job block.
    bool Pergunta() const;
};
