#pragma once

#include "PainelPrompt.h"

class ResultSet;
class SeletorCentroCusto;

// pnlCentroCusto: asks for the cost centre of a print job.
class PainelCentroCusto : public PainelPrompt {
    Q_OBJECT

public:
    PainelCentroCusto(RespostasDosPrompts& respostas, QWidget* parent = nullptr);

    void Button2DCentroCustoSimClick();

    SeletorCentroCusto* centroCusto;
    TButton2D* Button2DCentroCustoSim;
};
