#pragma once

#include "RespostasDosPrompts.h"

#include <QFrame>

class QLabel;
struct DecisaoDaMensagem;

// The framed block every prompt shows first: the job's code, document name and pages, as the
// notification gave them.
class BlocoImpressao : public QFrame {
    Q_OBJECT

public:
    // The labels take the names the prompt gives them (lblCodImpressao, lDocumentoCCO, ...).
    BlocoImpressao(QWidget* painel, const char* nomeCodigo, const char* nomeDocumento,
                   const char* nomePaginas);

    // Shows the job's code, pages and document name as the notification gave them.
    void Preenche(const DecisaoDaMensagem& decisao);
    // The job as the labels show it, for the prompt's answer.
    ImpressaoDoPrompt Impressao() const;

    QLabel* codigo;
    QLabel* documento;
    QLabel* paginas;
};
