#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

class Despachante;
class JanelaDeNotificacoes;
class TdtmMain;

// The job that a prompt shows, as its labels hold it.
struct ImpressaoDoPrompt {
    QString codigo;
    QString documento;
};

// What the three prompts do with an answer: validate it, ask for confirmation, write the job's row and
// move the queue on. The panels hand over what the user typed; nothing here touches a widget.
class RespostasDosPrompts {
public:
    RespostasDosPrompts(Despachante& despachante, JanelaDeNotificacoes& janela, TdtmMain& dados);

    void CentroCusto(const QString& codigo, const ImpressaoDoPrompt& impressao);
    void Observacao(const QString& observacao, const ImpressaoDoPrompt& impressao);
    void CentroCustoObs(const QString& codigo, const QString& observacao, const ImpressaoDoPrompt& impressao);

    // The code of the cost-centre list's row for codigo (compared as numbers), as the name lists key
    // their entries; nothing when the list has no such row, or is gone with the end of the session.
    // Throws AppError when codigo is not a number.
    std::optional<QVariant> CodigoNaLista(const QString& codigo) const;

private:
    bool CentroCustoValido(const QString& codigo) const;
    void AtribuiAImpressao(const QString& sql, const QList<QVariant>& valores,
                           const ImpressaoDoPrompt& impressao) const;
    void FechaRespondido();

    Despachante& m_despachante;
    JanelaDeNotificacoes& m_janela;
    QPointer<TdtmMain> m_dados;
};
