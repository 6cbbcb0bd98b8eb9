#include "ResultSet.h"

#include "AppError.h"

ResultSet::ResultSet(QStringList columnNames, QList<Row> rows)
    : m_columns(std::move(columnNames)), m_rows(std::move(rows))
{
}

qsizetype ResultSet::columnIndex(const QString& name) const
{
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void ResultSet::next()
{
    if (!eof())
        ++m_cursor;
}

const ResultSet::Row& ResultSet::currentRow() const
{
    if (eof())
        throw AppError(QStringLiteral("Não há registro corrente no resultado da consulta"));
    return m_rows.at(m_cursor);
}

QVariant ResultSet::field(qsizetype column) const
{
    const Row& row = currentRow();
    if (column < 0 || column >= row.size())
        throw AppError(QStringLiteral("Coluna %1 não existe no resultado da consulta").arg(column));
    return row.at(column);
}

QVariant ResultSet::field(const QString& name) const
{
    const qsizetype column = columnIndex(name);
    if (column < 0)
        throw AppError(QStringLiteral("Campo '%1' não encontrado").arg(name));
    return field(column);
}

QVariant ResultSet::value(qsizetype row, const QString& name) const
{
    const qsizetype column = columnIndex(name);
    if (column < 0)
        throw AppError(QStringLiteral("Campo '%1' não encontrado").arg(name));
    return m_rows.at(row).at(column);
}
