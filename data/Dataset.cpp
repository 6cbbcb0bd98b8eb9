#include "Dataset.h"

#include "AppError.h"

namespace {

bool matches(const QVariant& value, Dataset::FieldKind kind)
{
    if (!value.isValid())
        return true; // NULL fits every kind
    switch (kind) {
    case Dataset::FieldKind::Integer:
        return value.metaType().id() == QMetaType::Int || value.metaType().id() == QMetaType::LongLong;
    case Dataset::FieldKind::Text:
        return value.metaType().id() == QMetaType::QString;
    case Dataset::FieldKind::Date:
        return value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime;
    }
    return false;
}

} // namespace

void Dataset::setSql(const QString& sql)
{
    close();
    m_sql = sql;
    m_markers = ParameterMarkers::scan(sql);
    m_values = QList<std::optional<QVariant>>(m_markers.names.size());
}

void Dataset::setParameter(qsizetype index, const QVariant& value)
{
    if (index < 0 || index >= m_values.size())
        throw AppError(QStringLiteral("Parâmetro %1 não existe na consulta").arg(index + 1));
    m_values[index] = value;
}

void Dataset::setParameter(const QString& name, const QVariant& value)
{
    bool found = false;
    for (qsizetype i = 0; i < m_markers.names.size(); ++i) {
        if (m_markers.names.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_values[i] = value;
            found = true;
        }
    }
    if (!found)
        throw AppError(QStringLiteral("Parâmetro '%1' não encontrado").arg(name));
}

QList<QVariant> Dataset::boundValues() const
{
    QList<QVariant> values;
    values.reserve(m_values.size());
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        // Sending the statement with a marker left unbound would read whatever the driver finds there.
        if (!m_values.at(i))
            throw AppError(QStringLiteral("Parâmetro '%1' sem valor").arg(m_markers.names.at(i)));
        values.append(*m_values.at(i));
    }
    return values;
}

void Dataset::checkFields(const ResultSet& result) const
{
    for (const Field& field : m_fields) {
        if (result.columnIndex(field.name) < 0)
            throw AppError(QStringLiteral("Campo '%1' não encontrado").arg(field.name));
        for (qsizetype row = 0; row < result.recordCount(); ++row) {
            if (!matches(result.value(row, field.name), field.kind))
                throw AppError(QStringLiteral("Tipo incompatível no campo '%1'").arg(field.name));
        }
    }
}

void Dataset::open()
{
    // The rows held stay until the new ones have come: a refresh that failed while the server was away
    // leaves what was read before.
    ResultSet result = m_connection.query(m_markers.positionalSql, boundValues());
    checkFields(result);
    m_result = std::move(result);
}

qint64 Dataset::execute(OdbcConnection::Effect effect)
{
    close();
    return m_connection.execute(m_markers.positionalSql, boundValues(), effect);
}

ResultSet& Dataset::result()
{
    if (!m_result)
        throw AppError(QStringLiteral("A consulta não está aberta"));
    return *m_result;
}
