#include "ReportRow.h"

#include "CampoData.h"
#include "ResultSet.h"

#include <QDate>
#include <QLocale>

namespace {

// A field's printed text. The locale and its date format are taken once for all the rows.
class FieldText {
public:
    QString operator()(const QVariant& value) const
    {
        if (!value.isValid())
            return QString();
        if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
            return m_locale.toString(value.toDate(), m_dateFormat);
        return value.toString();
    }

private:
    QLocale m_locale = QLocale::system();
    QString m_dateFormat = CampoData::formato();
};

} // namespace

QList<ReportRow> ReportRow::fromResult(ResultSet result)
{
    // Each column's place is looked up once, not by name on every row.
    const auto column = [&result](const char* name) { return result.columnIndex(QLatin1String(name)); };
    const qsizetype job = column("COD_IMPRESSOES");
    const qsizetype date = column("data_impressao");
    const qsizetype group = column("nome_grupo");
    const qsizetype printer = column("nome_impressora");
    const qsizetype station = column("estacao");
    const qsizetype document = column("nome_documento");
    const qsizetype pages = column("paginas");
    const qsizetype status = column("nome_status");
    const qsizetype observation = column("obs");
    const qsizetype statusCode = column("cod_status_impressao");

    const FieldText text;
    QList<ReportRow> rows;
    rows.reserve(result.recordCount());
    for (result.first(); !result.eof(); result.next()) {
        const auto field = [&result, &text](qsizetype at) { return text(result.field(at)); };
        rows.append({field(job), field(date), field(group), field(printer), field(station), field(document),
                     field(pages), field(status), field(observation), result.field(statusCode)});
    }
    return rows;
}
