#include "RespostasDosPrompts.h"

#include "ConsultasDosPrompts.h"
#include "DatabaseError.h"
#include "Despachante.h"
#include "FormatoMensagem.h"
#include "MessageBoxes.h"
#include "TUtil.h"

#include <QScopeGuard>

RespostasDosPrompts::RespostasDosPrompts(Despachante& despachante, Gravacao grava)
    : m_despachante(despachante), m_grava(std::move(grava))
{
}

std::optional<int> RespostasDosPrompts::CodigoNaLista(const QString& codigo) const
{
    return CentroDeCusto::Localiza(m_despachante.CentrosDeCusto(), codigo);
}

bool RespostasDosPrompts::CentroCustoValido(const QString& codigo) const
{
    return codigo != QLatin1String("-1") && CodigoNaLista(codigo).has_value();
}

bool RespostasDosPrompts::Atribui(const QString& pergunta, const QString& sql, const QList<QVariant>& valores,
                                  const ImpressaoDoPrompt& impressao)
{
    m_despachante.ConfirmacaoAberta();
    bool gravado = false;
    const auto naoRespondido = qScopeGuard([&] {
        if (!gravado)
            m_despachante.NaoRespondido();
    });
    if (!MessageBoxes::confirm(pergunta))
        return false;
    const int linhas = m_grava(sql, valores);
    gravado = true;
    // A job the database does not have: the answer goes nowhere, which only the log can tell the
    // administrator.
    if (linhas == 0)
        TUtil::GravaLog(
            QStringLiteral("Resposta sem efeito: a impressão %1 (%2) não existe no banco de dados")
                .arg(impressao.codigo, impressao.documento));
    return true;
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
        if (Atribui(pergunta, ConsultasDosPrompts::AtribuiCentroCusto,
                    {codigo, FormatoMensagem::Inteiro(impressao.codigo)}, impressao))
            m_despachante.Respondido();
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
    if (Atribui(pergunta, ConsultasDosPrompts::AtribuiObservacao,
                {observacao, FormatoMensagem::Inteiro(impressao.codigo)}, impressao))
        m_despachante.Respondido();
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
    if (Atribui(pergunta, ConsultasDosPrompts::AtribuiCentroCustoObs,
                {codigo, observacao, FormatoMensagem::Inteiro(impressao.codigo)}, impressao))
        m_despachante.Respondido();
}
