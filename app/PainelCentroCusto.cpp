#include "PainelCentroCusto.h"

#include "BlocoImpressao.h"
#include "RespostasDosPrompts.h"
#include "SeletorCentroCusto.h"

#include <QComboBox>
#include <QLineEdit>

PainelCentroCusto::PainelCentroCusto(RespostasDosPrompts& respostas, QWidget* parent)
    : PainelPrompt(respostas, "pnlCentroCusto", 132, parent)
{
    Titulo(QStringLiteral("Atribuir centro de custo"), 0, 1, 134);
    impressao = new BlocoImpressao(this, "lblCodImpressao", "lblDocumento", "lblPaginas");
    centroCusto = new SeletorCentroCusto(this, respostas, "cbCodigo", "cbNome");
    Button2DCentroCustoSim = BotaoEnviar("Button2DCentroCustoSim", QRect(165, 109, 73, 19),
                                         [this] { Button2DCentroCustoSimClick(); });
    EnviaComEnter({centroCusto->codigo, centroCusto->nome});
    RespostaEm(centroCusto->codigo);
}

void PainelCentroCusto::Button2DCentroCustoSimClick()
{
    m_respostas.CentroCusto(centroCusto->codigo->text(), impressao->Impressao());
}
