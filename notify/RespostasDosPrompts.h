#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class Despachante;

// The job that a prompt shows, as its labels hold it.
struct ImpressaoDoPrompt {
    QString codigo;
    QString documento;
};

// What the three prompts do with an answer: validate it, ask for confirmation and write the job's row;
// the dispatcher then moves the prompt's life on. The panels hand over what the user typed; nothing here
// touches a widget.
class RespostasDosPrompts {
public:
    // Runs one of the job's update statements with its values: how many rows it matched. Throws when the
    // row was not written.
    using Gravacao = std::function<int(const QString& sql, const QList<QVariant>& valores)>;

    RespostasDosPrompts(Despachante& despachante, Gravacao grava);

    void CentroCusto(const QString& codigo, const ImpressaoDoPrompt& impressao);
    void Observacao(const QString& observacao, const ImpressaoDoPrompt& impressao);
    void CentroCustoObs(const QString& codigo, const QString& observacao, const ImpressaoDoPrompt& impressao);

    // The code of the cost-centre list's entry for codigo (compared as numbers); nothing when the list
    // has no such entry. Throws AppError when codigo is not a number.
    std::optional<int> CodigoNaLista(const QString& codigo) const;

private:
    bool CentroCustoValido(const QString& codigo) const;
    // Asks, and writes the row when the user confirms; whether it was written.
    bool Atribui(const QString& pergunta, const QString& sql, const QList<QVariant>& valores,
                 const ImpressaoDoPrompt& impressao);

    Despachante& m_despachante;
    Gravacao m_grava;
};
