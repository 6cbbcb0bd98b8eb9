#include "ReportRenderer.h"

#include "AppError.h"
#include "Fonts.h"
#include "ReportFont.h"
#include "ReportLayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace RG = ReportGeometry;

namespace {

constexpr double ruleWidth = 0.2; // mm

// Millimetres on the area inside the margins, drawn in the printer's pixels. A cell has no background
// of its own: its text goes straight on what lies beneath.
class PagePainter {
public:
    PagePainter(QPainter& painter, QPaintDevice& device)
        : m_painter(painter), m_scale(device.logicalDpiX() / 25.4)
    {
        m_painter.setPen(QPen(Qt::black, ruleWidth * m_scale, Qt::SolidLine, Qt::FlatCap));
    }

    QRectF rect(const RG::Box& box, double bandTop) const
    {
        return rect(box.left, bandTop + box.top, box.width, box.height);
    }
    QRectF rect(double left, double top, double width, double height) const
    {
        return QRectF(left * m_scale, top * m_scale, width * m_scale, height * m_scale);
    }

    QLineF vertical(double x, double top, double height) const
    {
        return QLineF(x * m_scale, top * m_scale, x * m_scale, (top + height) * m_scale);
    }
    QLineF horizontal(double left, double y, double length) const
    {
        return QLineF(left * m_scale, y * m_scale, (left + length) * m_scale, y * m_scale);
    }

    // Nothing is drawn outside the cell.
    void text(const QRectF& cell, const QString& content, const ReportFont& font, Qt::Alignment alignment)
    {
        if (content.isEmpty())
            return;
        // The preview records every change of font with the page: only real changes are made.
        if (m_font != &font) {
            m_painter.setFont(font.font());
            m_font = &font;
        }
        m_painter.drawText(cell, int(alignment), font.shownText(content, cell.size()));
    }

    // The title: regular text with bold runs, wrapped within its cell.
    void title(const QRectF& cell, const QList<TitleRun>& runs, const QFont& font, QPaintDevice* device)
    {
        QString text;
        QList<QTextLayout::FormatRange> formats;
        for (const TitleRun& run : runs) {
            if (run.bold) {
                QTextCharFormat bold;
                bold.setFontWeight(QFont::Bold);
                formats.append({int(text.size()), int(run.text.size()), bold});
            }
            text += run.text;
        }
        QTextLayout layout(text, font, device);
        layout.setFormats(formats);
        layOutWrapped(layout, cell.width());
        m_painter.save();
        m_painter.setClipRect(cell);
        layout.draw(&m_painter, cell.topLeft());
        m_painter.restore();
    }

private:
    QPainter& m_painter;
    double m_scale;
    const ReportFont* m_font = nullptr; // the painter's, as text() last set it
};

} // namespace

void ReportRenderer::setUpPage(QPrinter& printer)
{
    printer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(RG::PageMargin, RG::PageMargin, RG::PageMargin, RG::PageMargin), QPageLayout::Millimeter));
}

int ReportRenderer::render(QPrinter& printer) const
{
    setUpPage(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(QStringLiteral("Não foi possível iniciar a impressão do relatório"));
    PagePainter page(painter, printer);

    const ReportFont headerFont(Fonts::arial(9, true), &printer);
    const ReportFont detailFont(Fonts::arial(8), &printer);
    const ReportFont detailBold(Fonts::arial(8, true), &printer);
    const ReportFont summaryFont(Fonts::arial(10, true), &printer);

    const QList<ReportPage> pages = ReportLayout::paginate(m_rows.size());
    for (qsizetype pageIndex = 0; pageIndex < pages.size(); ++pageIndex) {
        if (pageIndex > 0)
            printer.newPage();
        for (const ReportBand& band : pages.at(pageIndex).bands) {
            const double top = band.top;
            switch (band.kind) {
            case ReportBand::Kind::Title:
                if (!m_logo.isNull())
                    painter.drawImage(page.rect(RG::Logo, top), m_logo);
                page.title(page.rect(RG::Title, top), m_title, Fonts::arial(10), &printer);
                break;
            case ReportBand::Kind::ColumnHeader: {
                const QRectF area = page.rect(0, top, RG::AreaWidth, RG::HeaderHeight);
                painter.fillRect(area, RG::HeaderColor);
                painter.drawRect(area);
                QList<QLineF> rules;
                for (const RG::Caption& caption : RG::HeaderCaptions) {
                    page.text(page.rect(caption.left, top, caption.width, RG::HeaderHeight),
                              QString::fromUtf16(caption.text), headerFont,
                              Qt::AlignHCenter | Qt::AlignVCenter);
                    rules.append(page.vertical(caption.left + caption.width, top, RG::HeaderHeight));
                }
                rules.removeLast(); // the area's border closes the last column
                painter.drawLines(rules);
                break;
            }
            case ReportBand::Kind::Detail: {
                const ReportRow& row = m_rows.at(band.row);
                const bool bold = m_hooks.beforeDetail && m_hooks.beforeDetail(row);
                const ReportFont& first = bold ? detailBold : detailFont;
                const auto field = [&](const RG::Box& box, const QString& text) {
                    page.text(page.rect(box, top), text, first, Qt::AlignHCenter);
                };
                field(RG::JobCode, row.job);
                field(RG::Date, row.date);
                field(RG::Group, row.group);
                field(RG::Printer, row.printer);
                field(RG::Station, row.station);
                field(RG::Document, row.document);
                field(RG::Pages, row.pages);
                if (m_hooks.pagesPrinted)
                    m_hooks.pagesPrinted(row.pages);
                field(RG::Status, row.status);
                QList<QLineF> rules;
                for (double x : RG::ShortRules)
                    rules.append(page.vertical(x, top, RG::ShortRuleHeight));
                rules.append(page.vertical(RG::JobRuleLeft, top, RG::JobRuleHeight));
                rules.append(
                    page.horizontal(RG::MiddleRuleLeft, top + RG::MiddleRuleTop, RG::MiddleRuleLength));
                painter.drawLines(rules);
                // The caption's white background hides the part of the job rule that runs under it.
                const QRectF caption = page.rect(RG::ObservationCaption, top);
                painter.fillRect(caption, Qt::white);
                page.text(caption, QStringLiteral("Observações:"), headerFont, Qt::AlignHCenter);
                page.text(page.rect(RG::Observation, top), row.observation, detailFont, Qt::AlignLeft);
                painter.drawRect(page.rect(0, top, RG::AreaWidth, RG::DetailHeight));
                break;
            }
            case ReportBand::Kind::Summary: {
                const QString total = m_hooks.beforeSummary ? m_hooks.beforeSummary() : QString();
                const QRectF area = page.rect(0, top, RG::AreaWidth, RG::SummaryHeight);
                painter.fillRect(area, RG::SummaryColor);
                painter.drawLines(QList<QLineF>{page.vertical(0, top, RG::SummaryHeight),
                                                page.horizontal(0, top + RG::SummaryHeight, RG::AreaWidth),
                                                page.vertical(RG::AreaWidth, top, RG::SummaryHeight)});
                page.text(page.rect(RG::SummaryCaption, top),
                          QStringLiteral("Total de páginas Impressas...:"), summaryFont,
                          Qt::AlignLeft | Qt::AlignVCenter);
                painter.drawLine(page.vertical(RG::SummaryCaption.left + RG::SummaryCaption.width, top,
                                               RG::SummaryHeight));
                page.text(page.rect(RG::SummaryTotal, top), total, summaryFont,
                          Qt::AlignHCenter | Qt::AlignVCenter);
                break;
            }
            }
        }
        painter.drawLine(page.horizontal(0, RG::AreaHeight, RG::AreaWidth));
    }
    painter.end();
    return int(pages.size());
}
