#pragma once

#include "CentroDeCusto.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;
class RespostasDosPrompts;

// The code field and the name list of a cost-centre prompt, kept in step: leaving the code field
// selects that code's name, choosing a name writes its code. The code field starts at "-1", which
// means that nothing was chosen, and keeps what it holds from one prompt to the next.
class SeletorCentroCusto : public QObject {
    Q_OBJECT

public:
    SeletorCentroCusto(QWidget* painel, const RespostasDosPrompts& respostas, const char* nomeCodigo,
                       const char* nomeNome);

    // Fills the name list from the cost-centre list again, keeping the chosen code.
    void AtualizaLista(const QList<CentroDeCusto>& lista);

    // The handlers behind leaving the code field and closing the name list.
    void CodigoExit();
    void NomeCloseUp();

    QLineEdit* codigo;
    QComboBox* nome;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    const RespostasDosPrompts& m_respostas;
};
