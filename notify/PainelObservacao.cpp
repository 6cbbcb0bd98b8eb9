#include "PainelObservacao.h"

#include "BlocoImpressao.h"
#include "FormatoMensagem.h"
#include "JanelaDeNotificacoes.h"
#include "MessageBoxes.h"
#include "TButton2D.h"

#include <QLabel>
#include <QLineEdit>

PainelObservacao::PainelObservacao(JanelaDeNotificacoes& janela, QWidget* parent)
    : PainelPrompt(janela, "pnlObservacao", 122, parent)
{
    titulo(QStringLiteral("Observações"), 88, 3, 75);
    impressao = new BlocoImpressao(this, "lblCodImpressao2", "lblDocumento2", "lblPaginas2");
    edtObs = new QLineEdit(this);
    edtObs->setObjectName(QStringLiteral("edtObs"));
    edtObs->setGeometry(8, 73, 234, 21);
    Button2DEnviarObs =
        botaoEnviar("Button2DEnviarObs", QRect(173, 98, 68, 21), [this] { Button2DEnviarObsClick(); });
    Button2DEnviarObs->setToolTip(QStringLiteral("Visualizar Relatório"));
    enviaComEnter({edtObs});
}

void PainelObservacao::Preenche(const DecisaoDaMensagem& decisao)
{
    PainelPrompt::Preenche(decisao);
    edtObs->clear();
}

void PainelObservacao::Button2DEnviarObsClick()
{
    const QString observacao = edtObs->text();
    if (observacao.isEmpty()) {
        MessageBoxes::plain(QStringLiteral("Observação não pode estar em branco."));
        return;
    }
    const QString pergunta = QStringLiteral("Confirma a atribuição da observação: \"") + observacao +
                             QStringLiteral("\" para a impressão ") + impressao->documento->text() +
                             QLatin1Char('?');
    if (!MessageBoxes::confirm(pergunta))
        return;
    AtribuiAImpressao(QStringLiteral("update impressoes set obs =:p1 \r\nwhere cod_impressoes = :p2 "),
                      {observacao, FormatoMensagem::Inteiro(impressao->codigo->text())});
    m_janela.FechaJanela();
    m_janela.MostrarNotificacao();
    // After the next prompt has been shown: so that one shows its close button.
    m_janela.MostraBotaoFechar();
}
