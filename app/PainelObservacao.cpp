#include "PainelObservacao.h"

#include "BlocoImpressao.h"
#include "RespostasDosPrompts.h"
#include "TButton2D.h"

#include <QLabel>
#include <QLineEdit>

PainelObservacao::PainelObservacao(RespostasDosPrompts& respostas, QWidget* parent)
    : PainelPrompt(respostas, "pnlObservacao", 122, parent)
{
    QLabel* rotulo = Titulo(QStringLiteral("Observações"), 88, 3, 75);
    impressao = new BlocoImpressao(this, "lblCodImpressao2", "lblDocumento2", "lblPaginas2");
    edtObs = new QLineEdit(this);
    edtObs->setObjectName(QStringLiteral("edtObs"));
    edtObs->setGeometry(8, 73, 234, 21);
    rotulo->setBuddy(edtObs); // the title is the only label this field has
    Button2DEnviarObs =
        BotaoEnviar("Button2DEnviarObs", QRect(173, 98, 68, 21), [this] { Button2DEnviarObsClick(); });
    Button2DEnviarObs->setToolTip(QStringLiteral("Visualizar Relatório"));
    EnviaComEnter({edtObs});
    RespostaEm(edtObs);
}

void PainelObservacao::Preenche(const DecisaoDaMensagem& decisao)
{
    PainelPrompt::Preenche(decisao);
    edtObs->clear();
}

void PainelObservacao::Button2DEnviarObsClick()
{
    m_respostas.Observacao(edtObs->text(), impressao->Impressao());
}
