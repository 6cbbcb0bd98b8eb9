#pragma once

#include "Dataset.h"
#include "ReportRow.h"

#include <QList>
#include <QString>

class OdbcConnection;
class QDate;

// The report's statement and the fields the report binds to by name.
namespace ConsultaRelatorio {

extern const QString Sql;
// What the result must have, each of its kind; a result without them is an error, not a report.
extern const QList<Dataset::Field> Campos;

// The user's print jobs between the two dates, newest first. Each step is noted in the log: the
// administrator follows a run there.
QList<ReportRow> Le(OdbcConnection& conexao, int codUsuario, const QDate& inicio, const QDate& fim);

} // namespace ConsultaRelatorio
