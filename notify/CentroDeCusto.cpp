#include "CentroDeCusto.h"

#include "ConsultasDosPrompts.h"
#include "Dataset.h"
#include "FormatoMensagem.h"

QList<CentroDeCusto> CentroDeCusto::LeLista(OdbcConnection& conexao)
{
    using Kind = Dataset::FieldKind;
    Dataset consulta(conexao);
    consulta.setSql(ConsultasDosPrompts::CentrosDeCusto);
    consulta.setFields({{QStringLiteral("cod_centro_custo"), Kind::Integer},
                        {QStringLiteral("nome_centro_custo"), Kind::Text}});
    consulta.open();
    ResultSet& lista = consulta.result();
    QList<CentroDeCusto> centros;
    for (lista.first(); !lista.eof(); lista.next()) {
        if (const int codigo = lista.field(QStringLiteral("cod_centro_custo")).toInt(); codigo != 0)
            centros.append({codigo, lista.field(QStringLiteral("nome_centro_custo")).toString()});
    }
    return centros;
}

std::optional<int> CentroDeCusto::Localiza(const QList<CentroDeCusto>& lista, const QString& codigo)
{
    if (lista.isEmpty())
        return std::nullopt;
    int procurado = 0;
    // A code too long for any entry's code is simply not in the list.
    if (FormatoMensagem::LeNumero(codigo, procurado) == FormatoMensagem::Numero::ForaDoIntervalo)
        return std::nullopt;
    procurado = FormatoMensagem::Inteiro(codigo);
    for (const CentroDeCusto& centro : lista) {
        if (centro.codigo == procurado)
            return centro.codigo;
    }
    return std::nullopt;
}
