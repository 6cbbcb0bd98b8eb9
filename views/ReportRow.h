#pragma once

#include <QList>
#include <QString>
#include <QVariant>

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

    // Every row of the report query's result, in its order; dates in the system's short date format.
    static QList<ReportRow> fromResult(ResultSet result);
};
