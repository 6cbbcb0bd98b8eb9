#pragma once

#include "Dataset.h"

class OdbcConnection;
class QDate;
class ResultSet;

// One printed job as the report shows it: every field already in its printed text.
struct ReportRow {
    QString job;
    QString date;
    QString group;
    QString printer;
    QString station;
    QString document;
    QString pages;
    QString status;
    QString observation;
    QVariant statusCode; // cod_status_impressao as the query gave it

    // The report's statement, and the fields the report binds to by name: a result without one of them,
    // each of its kind, is an error, not a report.
    static const QString statement;
    static const QList<Dataset::Field> fields;
    // The user's print jobs between the two dates, newest first. Each step is noted in the log: the
    // administrator follows a run there.
    static QList<ReportRow> ofPeriod(OdbcConnection& conexao, int codUsuario, const QDate& inicio,
                                     const QDate& fim);

    // Every row of the report query's result, in its order; dates in the system's short date format.
    static QList<ReportRow> fromResult(ResultSet result);
};
