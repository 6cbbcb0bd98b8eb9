#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

// A static, client-side copy of one statement's rows with a cursor over them. A NULL field is an
// invalid QVariant, kept apart from 0 and from empty text. A filter hides rows from the cursor without
// removing them, so it can be changed or cleared later.
class ResultSet {
public:
    using Row = QList<QVariant>;
    using Filter = std::function<bool(const ResultSet& rows, qsizetype row)>;

    ResultSet(QStringList columnNames, QList<Row> rows);

    const QStringList& columnNames() const { return m_columns; }
    qsizetype columnCount() const { return m_columns.size(); }
    // -1 when no column has that name; names compare without regard to case, as the driver's do.
    qsizetype columnIndex(const QString& name) const;

    void setFilter(Filter filter);

    // Cursor over the rows the filter lets through, in the statement's order.
    qsizetype recordCount() const { return m_visible.size(); }
    bool isEmpty() const { return m_visible.isEmpty(); }
    void first() { m_cursor = 0; }
    void next();
    bool eof() const { return m_cursor >= m_visible.size(); }

    // The current row's fields. Reading past the end, or a column that does not exist, throws AppError.
    QVariant field(qsizetype column) const;
    QVariant field(const QString& name) const;

    // Any row, ignoring cursor and filter: what a filter looks at.
    QVariant value(qsizetype row, const QString& name) const;

private:
    void applyFilter();
    const Row& currentRow() const;

    QStringList m_columns;
    QList<Row> m_rows;
    Filter m_filter;
    QList<qsizetype> m_visible;
    qsizetype m_cursor = 0;
};
