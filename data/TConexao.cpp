#include "TConexao.h"

TConexao::TConexao(OdbcConnection& conexaoADO) : ConexaoADO(conexaoADO)
{
    ConexaoADO.open();
}

std::unique_ptr<Dataset> TConexao::Prepara(const QString& sql, const QList<QVariant>& valores)
{
    auto query = std::make_unique<Dataset>(ConexaoADO);
    query->setSql(sql);
    // Values beyond the markers are ignored; a marker without a value stays unbound, and the
    // statement then fails before it reaches the driver.
    const qsizetype bound = std::min(query->parameterCount(), valores.size());
    for (qsizetype i = 0; i < bound; ++i)
        query->setParameter(i, valores.at(i));
    return query;
}

std::unique_ptr<Dataset> TConexao::AbreConsulta(const QString& sql, const QList<QVariant>& valores)
{
    auto query = Prepara(sql, valores);
    query->open();
    return query;
}

QVariant TConexao::ConsultaValor(const QString& sql, const QList<QVariant>& valores, const QVariant& padrao)
{
    const auto query = AbreConsulta(sql, valores);
    ResultSet& result = query->result();
    if (result.isEmpty() || result.columnCount() == 0)
        return padrao;
    const QVariant value = result.field(0);
    return value.isValid() ? value : padrao;
}

int TConexao::ExecutaComando(const QString& sql, const QList<QVariant>& valores)
{
    return static_cast<int>(Prepara(sql, valores)->execute(OdbcConnection::Effect::Write));
}
