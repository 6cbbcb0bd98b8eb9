#pragma once

#include "PainelPrompt.h"

class QLineEdit;

// pnlObservacao: asks for an observation on a print job.
class PainelObservacao : public PainelPrompt {
    Q_OBJECT

public:
    PainelObservacao(RespostasDosPrompts& respostas, QWidget* parent = nullptr);

    // An observation prompt always starts empty.
    void Preenche(const DecisaoDaMensagem& decisao) override;
    void Button2DEnviarObsClick();

    QLineEdit* edtObs;
    TButton2D* Button2DEnviarObs;
};
