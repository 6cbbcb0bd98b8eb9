#include "PainelCentroCustoObs.h"

#include "BlocoImpressao.h"
#include "PlainLabel.h"
#include "RespostasDosPrompts.h"
#include "SeletorCentroCusto.h"

#include <QComboBox>
#include <QLineEdit>

PainelCentroCustoObs::PainelCentroCustoObs(RespostasDosPrompts& respostas, QWidget* parent)
    : PainelPrompt(respostas, "pnlCentroCustoObs", 165, parent)
{
    Titulo(QStringLiteral("Atribuir centro de custo e observação"), 0, 1, 215);
    impressao = new BlocoImpressao(this, "lCodImpressaoCCO", "lDocumentoCCO", "lPaginasCCO");
    centroCusto = new SeletorCentroCusto(this, respostas, "cbCodigoObs", "cbNomeObs");
    auto* rotuloObs = new PlainLabel(QStringLiteral("Observação"), this);
    rotuloObs->move(7, 108);
    eObsCC = new QLineEdit(this);
    rotuloObs->setBuddy(eObsCC);
    eObsCC->setObjectName(QStringLiteral("eObsCC"));
    eObsCC->setGeometry(8, 121, 234, 21);
    bEnviarCCObs = BotaoEnviar("bEnviarCCObs", QRect(165, 143, 73, 19), [this] { bEnviarCCObsClick(); });
    EnviaComEnter({centroCusto->codigo, centroCusto->nome, eObsCC});
    RespostaEm(centroCusto->codigo);
}

void PainelCentroCustoObs::bEnviarCCObsClick()
{
    m_respostas.CentroCustoObs(centroCusto->codigo->text(), eObsCC->text(), impressao->Impressao());
}
