#pragma once

#include <QFrame>

class QLabel;

// The framed block every prompt shows first: the job's code, document name and pages, as the
// notification gave them.
class BlocoImpressao : public QFrame {
    Q_OBJECT

public:
    // The labels take the names the prompt gives them (lblCodImpressao, lDocumentoCCO, ...).
    BlocoImpressao(QWidget* painel, const char* nomeCodigo, const char* nomeDocumento,
                   const char* nomePaginas);

    // Fills the block from what follows the kind: the job's code and pages (whole numbers, else
    // AppError) and the document name, which runs to the end of the text, ';' included.
    void Preenche(QString resto);

    QLabel* codigo;
    QLabel* documento;
    QLabel* paginas;
};
