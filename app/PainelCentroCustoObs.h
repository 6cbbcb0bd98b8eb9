#pragma once

#include "PainelPrompt.h"

class QLineEdit;
class SeletorCentroCusto;

// pnlCentroCustoObs: asks for the cost centre and an observation of a print job.
class PainelCentroCustoObs : public PainelPrompt {
    Q_OBJECT

public:
    PainelCentroCustoObs(RespostasDosPrompts& respostas, QWidget* parent = nullptr);

    void bEnviarCCObsClick();

    SeletorCentroCusto* centroCusto;
    QLineEdit* eObsCC;
    TButton2D* bEnviarCCObs;
};
