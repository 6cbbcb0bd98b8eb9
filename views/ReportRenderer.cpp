#include "ReportRenderer.h"

#include "AppError.h"
#include "Fonts.h"
#include "ReportCanvas.h"
#include "ReportGeometry.h"
#include "ReportLayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace RG = ReportGeometry;

ReportRenderer::ReportRenderer(const QList<ReportRow>& rows, const QList<TitleRun>& title, const QImage& logo,
                               Hooks hooks)
    : m_rows(rows), m_title(title), m_logo(logo), m_hooks(std::move(hooks))
{
}

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
    ReportCanvas canvas(painter, printer);

    using Font = ReportCanvas::Font;
    const Font titleFont(Fonts::arial(10), &printer);
    const Font headerFont(Fonts::arial(9, true), &printer);
    const Font detailFont(Fonts::arial(8), &printer);
    const Font detailBold(Fonts::arial(8, true), &printer);
    const Font summaryFont(Fonts::arial(10, true), &printer);

    const QList<ReportPage> pages = ReportLayout::paginate(m_rows.size());
    for (qsizetype pageIndex = 0; pageIndex < pages.size(); ++pageIndex) {
        if (pageIndex > 0)
            printer.newPage();
        for (const ReportBand& band : pages.at(pageIndex).bands) {
            const double top = band.top;
            switch (band.kind) {
            case ReportBand::Kind::Title: {
                if (!m_logo.isNull())
                    canvas.image(canvas.rect(RG::Logo, top), m_logo);
                QString title;
                QList<QTextLayout::FormatRange> formats;
                for (const TitleRun& run : m_title) {
                    if (run.bold) {
                        QTextCharFormat bold;
                        bold.setFontWeight(QFont::Bold);
                        formats.append({int(title.size()), int(run.text.size()), bold});
                    }
                    title += run.text;
                }
                canvas.formattedText(canvas.rect(RG::Title, top), title, titleFont, Qt::AlignLeft, formats);
                break;
            }
            case ReportBand::Kind::ColumnHeader: {
                const QRectF area = canvas.rect(0, top, RG::AreaWidth, RG::HeaderHeight);
                canvas.fill(area, RG::HeaderColor);
                canvas.frame(area);
                for (std::size_t i = 0; i < RG::HeaderCaptions.size(); ++i) {
                    const RG::Caption& caption = RG::HeaderCaptions[i];
                    canvas.text(canvas.rect(caption.left, top, caption.width, RG::HeaderHeight),
                                QString::fromUtf16(caption.text), headerFont,
                                Qt::AlignHCenter | Qt::AlignVCenter);
                    if (i + 1 < RG::HeaderCaptions.size())
                        canvas.vertical(caption.left + caption.width, top, RG::HeaderHeight);
                }
                break;
            }
            case ReportBand::Kind::Detail: {
                const ReportRow& row = m_rows.at(band.row);
                const bool bold = m_hooks.beforeDetail ? m_hooks.beforeDetail(row) : false;
                const Font& first = bold ? detailBold : detailFont;
                const auto field = [&](const RG::Box& box, const QString& text) {
                    canvas.text(canvas.rect(box, top), text, first, Qt::AlignHCenter);
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
                for (double x : RG::ShortRules)
                    canvas.vertical(x, top, RG::ShortRuleHeight);
                canvas.vertical(RG::JobRuleLeft, top, RG::JobRuleHeight);
                canvas.horizontal(RG::MiddleRuleLeft, top + RG::MiddleRuleTop, RG::MiddleRuleLength);
                // The caption's white background hides the part of the job rule that runs under it.
                const QRectF caption = canvas.rect(RG::ObservationCaption, top);
                canvas.fill(caption, Qt::white);
                canvas.text(caption, QStringLiteral("Observações:"), headerFont, Qt::AlignHCenter);
                canvas.text(canvas.rect(RG::Observation, top), row.observation, detailFont, Qt::AlignLeft);
                canvas.frame(canvas.rect(0, top, RG::AreaWidth, RG::DetailHeight));
                break;
            }
            case ReportBand::Kind::Summary: {
                const QString total = m_hooks.beforeSummary ? m_hooks.beforeSummary() : QString();
                const QRectF area = canvas.rect(0, top, RG::AreaWidth, RG::SummaryHeight);
                canvas.fill(area, RG::SummaryColor);
                canvas.vertical(0, top, RG::SummaryHeight);
                canvas.horizontal(0, top + RG::SummaryHeight, RG::AreaWidth);
                canvas.vertical(RG::AreaWidth, top, RG::SummaryHeight);
                canvas.text(canvas.rect(RG::SummaryCaption, top),
                            QStringLiteral("Total de páginas Impressas...:"), summaryFont,
                            Qt::AlignLeft | Qt::AlignVCenter);
                canvas.vertical(RG::SummaryCaption.left + RG::SummaryCaption.width, top, RG::SummaryHeight);
                canvas.text(canvas.rect(RG::SummaryTotal, top), total, summaryFont,
                            Qt::AlignHCenter | Qt::AlignVCenter);
                break;
            }
            }
        }
        canvas.horizontal(0, RG::AreaHeight, RG::AreaWidth);
        canvas.flush();
    }
    painter.end();
    return int(pages.size());
}
