#include "ReportLayout.h"

#include <iterator>

// Band heights are tenths of a millimetre; the sums must not lose a band to rounding.
constexpr double tolerance = 1e-6;

double ReportLayout::heightOf(ReportBand::Kind kind)
{
    using namespace ReportGeometry;
    constexpr double heights[] = {TitleHeight, HeaderHeight, DetailHeight, SummaryHeight}; // in Kind's order
    static_assert(std::size(heights) == int(ReportBand::Kind::Summary) + 1, "one height for each kind");
    return heights[int(kind)];
}

QList<ReportPage> ReportLayout::paginate(qsizetype rowCount, double areaHeight)
{
    QList<ReportPage> pages;
    double top = 0.0;
    const auto place = [&](ReportBand::Kind kind, qsizetype row) {
        pages.last().bands.append({kind, top, row});
        top += heightOf(kind);
    };
    const auto newPage = [&] {
        pages.append(ReportPage{});
        top = 0.0;
        place(ReportBand::Kind::ColumnHeader, -1);
    };
    // A band on a page that holds nothing but the header goes there even when it is too tall, so
    // that a page area smaller than one band still ends.
    const auto fits = [&](ReportBand::Kind kind) {
        return top + heightOf(kind) <= areaHeight + tolerance || pages.last().bands.size() == 1;
    };

    pages.append(ReportPage{});
    place(ReportBand::Kind::Title, -1);
    place(ReportBand::Kind::ColumnHeader, -1);
    for (qsizetype row = 0; row < rowCount; ++row) {
        if (!fits(ReportBand::Kind::Detail))
            newPage();
        place(ReportBand::Kind::Detail, row);
    }
    if (!fits(ReportBand::Kind::Summary))
        newPage();
    place(ReportBand::Kind::Summary, -1);
    return pages;
}
