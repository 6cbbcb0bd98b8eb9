#pragma once

#include "ReportRow.h"
#include "TitleRun.h"

#include <QImage>
#include <functional>

class QPrinter;

// Draws the banded report on a printer, page after page: the preview's recording printer, a real
// printer or a PDF file. Each render is one generation and calls the hooks in print order.
class ReportRenderer {
public:
    struct Hooks {
        // Before each detail band; answers whether the first line of that row is bold.
        std::function<bool(const ReportRow&)> beforeDetail;
        // When the pages field of a detail band is printed, with its text.
        std::function<void(const QString&)> pagesPrinted;
        // Before the summary band; answers the total's text.
        std::function<QString()> beforeSummary;
    };

    ReportRenderer(const QList<ReportRow>& rows, const QList<TitleRun>& title, const QImage& logo,
                   Hooks hooks)
        : m_rows(rows), m_title(title), m_logo(logo), m_hooks(std::move(hooks))
    {
    }

    // A4 landscape with 10 mm margins: the only page the report has.
    static void setUpPage(QPrinter& printer);

    // One generation; returns the number of pages. Throws AppError when the printer cannot be painted on.
    int render(QPrinter& printer) const;

private:
    const QList<ReportRow>& m_rows;
    const QList<TitleRun>& m_title;
    const QImage& m_logo;
    Hooks m_hooks;
};
