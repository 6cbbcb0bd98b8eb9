#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

// A static, client-side copy of one statement's rows with a cursor over them. A NULL field is an
// invalid QVariant, kept apart from 0 and from empty text.
class ResultSet {
public:
    using Row = QList<QVariant>;

    ResultSet(QStringList columnNames, QList<Row> rows);

    const QStringList& columnNames() const { return m_columns; }
    qsizetype columnCount() const { return m_columns.size(); }
    // -1 when no column has that name; names compare without regard to case, as the driver's do.
    qsizetype columnIndex(const QString& name) const;

    // Cursor over the rows, in the statement's order.
    qsizetype recordCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    void first() { m_cursor = 0; }
    void next();
    bool eof() const { return m_cursor >= m_rows.size(); }

    // The current row's fields. Reading past the end, or a column that does not exist, throws AppError.
    QVariant field(qsizetype column) const;
    QVariant field(const QString& name) const;

    // Any row, whatever the cursor.
    QVariant value(qsizetype row, const QString& name) const;

private:
    const Row& currentRow() const;

    QStringList m_columns;
    QList<Row> m_rows;
    qsizetype m_cursor = 0;
};
