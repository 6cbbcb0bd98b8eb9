#include "ReportRow.h"

#include "CampoData.h"
#include "ResultSet.h"

#include <QDate>
#include <QLocale>

namespace {

QString text(const QVariant& value)
{
    if (!value.isValid())
        return QString();
    if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
        return QLocale::system().toString(value.toDate(), CampoData::formato());
    return value.toString();
}

} // namespace

QList<ReportRow> ReportRow::fromResult(ResultSet result)
{
    QList<ReportRow> rows;
    rows.reserve(result.recordCount());
    for (result.first(); !result.eof(); result.next()) {
        const auto field = [&result](const char* name) { return text(result.field(QLatin1String(name))); };
        rows.append({field("COD_IMPRESSOES"), field("data_impressao"), field("nome_grupo"),
                     field("nome_impressora"), field("estacao"), field("nome_documento"), field("paginas"),
                     field("nome_status"), field("obs"),
                     result.field(QStringLiteral("cod_status_impressao"))});
    }
    return rows;
}
