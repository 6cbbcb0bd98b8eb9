#pragma once

#include "OdbcConnection.h"
#include "ParameterMarkers.h"

#include <optional>

// A query bound to the shared connection: its text with named markers, one value per marker, and once
// opened a static result with a cursor. Each subsystem's reads (the cost-centre list, the report) and
// each helper call make one for their statement.
class Dataset {
public:
    enum class FieldKind { Integer, Text, Date };
    struct Field {
        QString name;
        FieldKind kind;
    };

    explicit Dataset(OdbcConnection& connection) : m_connection(connection) {}

    void setSql(const QString& sql);

    qsizetype parameterCount() const { return m_markers.names.size(); }
    void setParameter(qsizetype index, const QVariant& value);
    // Every marker with that name, compared without regard to case; throws when there is none.
    void setParameter(const QString& name, const QVariant& value);

    // Fields whose presence and kind the result must match when it opens (what the report and the
    // cost-centre lists bind to); a mismatch throws, as opening a query with persistent fields does.
    void setFields(QList<Field> fields) { m_fields = std::move(fields); }

    // Runs the query; when it fails, the rows of the last opening stay.
    void open();
    void close() { m_result.reset(); }
    bool isOpen() const { return m_result.has_value(); }
    qint64 execute(OdbcConnection::Effect effect);

    // The open result; throws when the dataset is closed.
    ResultSet& result();

private:
    QList<QVariant> boundValues() const;
    void checkFields(const ResultSet& result) const;

    OdbcConnection& m_connection;
    QString m_sql;
    ParameterMarkers m_markers;
    QList<std::optional<QVariant>> m_values;
    QList<Field> m_fields;
    std::optional<ResultSet> m_result;
};
