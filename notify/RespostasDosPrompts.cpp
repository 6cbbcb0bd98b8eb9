#include "RespostasDosPrompts.h"

#include "AppError.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "Despachante.h"
#include "ExecutableFolder.h"
#include "FormatoMensagem.h"
#include "JanelaDeNotificacoes.h"
#include "LocalizaCentroCusto.h"
#include "MessageBoxes.h"
#include "TUtil.h"
#include "TdtmMain.h"

RespostasDosPrompts::RespostasDosPrompts(Despachante& despachante, JanelaDeNotificacoes& janela,
                                         TdtmMain& dados)
    : m_despachante(despachante), m_janela(janela), m_dados(&dados)
{
}

std::optional<QVariant> RespostasDosPrompts::CodigoNaLista(const QString& codigo) const
{
    if (!m_dados)
        return std::nullopt;
    ResultSet& lista = m_dados->cdsCentroCusto->result();
    if (!LocalizaCentroCusto(lista, codigo))
        return std::nullopt;
    return lista.field(QStringLiteral("cod_centro_custo"));
}

bool RespostasDosPrompts::CentroCustoValido(const QString& codigo) const
{
    return codigo != QLatin1String("-1") && CodigoNaLista(codigo).has_value();
}

void RespostasDosPrompts::AtribuiAImpressao(const QString& sql, const QList<QVariant>& valores,
                                            const ImpressaoDoPrompt& impressao) const
{
    if (!m_dados)
        throw AppError(QStringLiteral("A conexão com o banco de dados foi encerrada"));
    Dataset consulta(m_dados->dbCorvelLane);
    consulta.setSql(sql);
    for (qsizetype i = 0; i < valores.size(); ++i)
        consulta.setParameter(i, valores.at(i));
    // A job the database does not have: the answer goes nowhere, which only the log can tell the
    // administrator.
    if (consulta.execute() == 0)
        TUtil::GravaLog(
            ExecutableFolder::path(),
            QStringLiteral("Resposta sem efeito: a impressão %1 (%2) não existe no banco de dados")
                .arg(impressao.codigo, impressao.documento));
}

void RespostasDosPrompts::FechaRespondido()
{
    m_despachante.PromptRespondido();
    m_janela.FechaJanela();
}

void RespostasDosPrompts::CentroCusto(const QString& codigo, const ImpressaoDoPrompt& impressao)
{
    if (!CentroCustoValido(codigo)) {
        MessageBoxes::plain(QStringLiteral("Favor informar um centro de custo válido."));
        return;
    }
    try {
        const QString pergunta = QStringLiteral("Confirma a atribuição do centro de custo ") + codigo +
                                 QStringLiteral(" para a impressão ") + impressao.documento +
                                 QLatin1Char('?');
        if (MessageBoxes::confirm(pergunta)) {
            AtribuiAImpressao(
                QStringLiteral("update impressoes set cod_centro_custo =:p1 \r\nwhere cod_impressoes = :p2 "),
                {codigo, FormatoMensagem::Inteiro(impressao.codigo)}, impressao);
            m_janela.MostraBotaoFechar();
            FechaRespondido();
        }
        m_despachante.MostrarNotificacao();
    } catch (const DatabaseError& erro) {
        // A lost connection says whether the answer may have been written all the same.
        MessageBoxes::plain(QStringLiteral("Falha na atribuição do centro de custo") +
                            (erro.isConnectionLost() ? QStringLiteral("\n\n") + erro.message() : QString()));
    } catch (const std::exception&) {
        MessageBoxes::plain(QStringLiteral("Falha na atribuição do centro de custo"));
    }
}

void RespostasDosPrompts::Observacao(const QString& observacao, const ImpressaoDoPrompt& impressao)
{
    if (observacao.isEmpty()) {
        MessageBoxes::plain(QStringLiteral("Observação não pode estar em branco."));
        return;
    }
    const QString pergunta = QStringLiteral("Confirma a atribuição da observação: \"") + observacao +
                             QStringLiteral("\" para a impressão ") + impressao.documento + QLatin1Char('?');
    if (!MessageBoxes::confirm(pergunta))
        return;
    AtribuiAImpressao(QStringLiteral("update impressoes set obs =:p1 \r\nwhere cod_impressoes = :p2 "),
                      {observacao, FormatoMensagem::Inteiro(impressao.codigo)}, impressao);
    FechaRespondido();
    m_despachante.MostrarNotificacao();
    // After the next prompt has been shown: so that one shows its close button.
    m_janela.MostraBotaoFechar();
}

void RespostasDosPrompts::CentroCustoObs(const QString& codigo, const QString& observacao,
                                         const ImpressaoDoPrompt& impressao)
{
    if (!CentroCustoValido(codigo) || observacao.isEmpty()) {
        MessageBoxes::plain(QStringLiteral("Favor informar um centro de custo válido e uma observação."));
        return;
    }
    const QString pergunta = QStringLiteral("Confirma a atribuição do centro de custo ") + codigo +
                             QStringLiteral(" e a observação \"") + observacao +
                             QStringLiteral("\" para a impressão ") + impressao.documento + QLatin1Char('?');
    if (MessageBoxes::confirm(pergunta)) {
        AtribuiAImpressao(
            QStringLiteral(
                "update impressoes set cod_centro_custo =:p1, obs = :p2 \r\nwhere cod_impressoes = :p3 "),
            {codigo, observacao, FormatoMensagem::Inteiro(impressao.codigo)}, impressao);
        m_janela.MostraBotaoFechar();
        FechaRespondido();
    }
    m_despachante.MostrarNotificacao();
}
