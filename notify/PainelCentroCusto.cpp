#include "PainelCentroCusto.h"

#include "BlocoImpressao.h"
#include "FormatoMensagem.h"
#include "JanelaDeNotificacoes.h"
#include "LocalizaCentroCusto.h"
#include "MessageBoxes.h"
#include "SeletorCentroCusto.h"
#include "TdtmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

PainelCentroCusto::PainelCentroCusto(JanelaDeNotificacoes& janela, QWidget* parent)
    : PainelPrompt(janela, "pnlCentroCusto", 132, parent)
{
    titulo(QStringLiteral("Atribuir centro de custo"), 0, 1, 134);
    impressao = new BlocoImpressao(this, "lblCodImpressao", "lblDocumento", "lblPaginas");
    centroCusto = new SeletorCentroCusto(this, "cbCodigo", "cbNome");
    Button2DCentroCustoSim = botaoEnviar("Button2DCentroCustoSim", QRect(165, 109, 73, 19),
                                         [this] { Button2DCentroCustoSimClick(); });
    enviaComEnter({centroCusto->codigo, centroCusto->nome});
}

void PainelCentroCusto::Button2DCentroCustoSimClick()
{
    const QString codigo = centroCusto->codigo->text();
    if (codigo == QLatin1String("-1") || !LocalizaCentroCusto(dtmMain->cdsCentroCusto->result(), codigo)) {
        MessageBoxes::plain(QStringLiteral("Favor informar um centro de custo válido."));
        return;
    }
    try {
        const QString pergunta = QStringLiteral("Confirma a atribuição do centro de custo ") + codigo +
                                 QStringLiteral(" para a impressão ") + impressao->documento->text() +
                                 QLatin1Char('?');
        if (MessageBoxes::confirm(pergunta)) {
            AtribuiAImpressao(
                QStringLiteral("update impressoes set cod_centro_custo =:p1 \r\nwhere cod_impressoes = :p2 "),
                {codigo, FormatoMensagem::Inteiro(impressao->codigo->text())});
            m_janela.MostraBotaoFechar();
            m_janela.FechaJanela();
        }
        m_janela.MostrarNotificacao();
    } catch (const std::exception&) {
        MessageBoxes::plain(QStringLiteral("Falha na atribuição do centro de custo"));
    }
}
