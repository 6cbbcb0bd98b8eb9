#pragma once

#include "ReportGeometry.h"

#include <QList>

// Where each band of the report goes: the title once at the top of the first page, the column header
// at the top of every page, one detail band per row while it fits above the bottom of the area, and
// the summary after the last row (on a new page, under its header, when it does not fit).
struct ReportBand {
    enum class Kind { Title, ColumnHeader, Detail, Summary };
    Kind kind;
    double top;    // millimetres from the top of the area inside the margins
    qsizetype row; // the detail's row; -1 for the other bands

    bool operator==(const ReportBand&) const = default;
};

struct ReportPage {
    QList<ReportBand> bands;
};

struct ReportLayout {
    static QList<ReportPage> paginate(qsizetype rowCount, double areaHeight = ReportGeometry::AreaHeight);
    static double heightOf(ReportBand::Kind kind);
};
