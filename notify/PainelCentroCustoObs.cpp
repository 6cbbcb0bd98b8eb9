#include "PainelCentroCustoObs.h"

#include "BlocoImpressao.h"
#include "FormatoMensagem.h"
#include "JanelaDeNotificacoes.h"
#include "LocalizaCentroCusto.h"
#include "MessageBoxes.h"
#include "PlainLabel.h"
#include "SeletorCentroCusto.h"
#include "TdtmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

PainelCentroCustoObs::PainelCentroCustoObs(JanelaDeNotificacoes& janela, QWidget* parent)
    : PainelPrompt(janela, "pnlCentroCustoObs", 165, parent)
{
    titulo(QStringLiteral("Atribuir centro de custo e observação"), 0, 1, 215);
    impressao = new BlocoImpressao(this, "lCodImpressaoCCO", "lDocumentoCCO", "lPaginasCCO");
    centroCusto = new SeletorCentroCusto(this, "cbCodigoObs", "cbNomeObs");
    (new PlainLabel(QStringLiteral("Observação"), this))->move(7, 108);
    eObsCC = new QLineEdit(this);
    eObsCC->setObjectName(QStringLiteral("eObsCC"));
    eObsCC->setGeometry(8, 121, 234, 21);
    bEnviarCCObs = botaoEnviar("bEnviarCCObs", QRect(165, 143, 73, 19), [this] { bEnviarCCObsClick(); });
    enviaComEnter({centroCusto->codigo, centroCusto->nome, eObsCC});
}

void PainelCentroCustoObs::bEnviarCCObsClick()
{
    const QString codigo = centroCusto->codigo->text();
    const QString observacao = eObsCC->text();
    if (codigo == QLatin1String("-1") || !LocalizaCentroCusto(dtmMain->cdsCentroCusto->result(), codigo) ||
        observacao.isEmpty()) {
        MessageBoxes::plain(QStringLiteral("Favor informar um centro de custo válido e uma observação."));
        return;
    }
    const QString pergunta = QStringLiteral("Confirma a atribuição do centro de custo ") + codigo +
                             QStringLiteral(" e a observação \"") + observacao +
                             QStringLiteral("\" para a impressão ") + impressao->documento->text() +
                             QLatin1Char('?');
    if (MessageBoxes::confirm(pergunta)) {
        AtribuiAImpressao(
            QStringLiteral(
                "update impressoes set cod_centro_custo =:p1, obs = :p2 \r\nwhere cod_impressoes = :p3 "),
            {codigo, observacao, FormatoMensagem::Inteiro(impressao->codigo->text())});
        m_janela.MostraBotaoFechar();
        m_janela.FechaJanela();
    }
    m_janela.MostrarNotificacao();
}
