#include "ReportRenderer.h"

#include "AppError.h"
#include "Fonts.h"
#include "ReportGeometry.h"
#include "ReportLayout.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace RG = ReportGeometry;

namespace {

constexpr double ruleWidth = 0.2; // mm
constexpr double fit = 1e-6;

// Millimetres on the area inside the margins, turned into the device's pixels.
class Canvas {
public:
    Canvas(QPainter& painter, QPaintDevice& device)
        : painter(painter), device(device), scale(device.logicalDpiX() / 25.4)
    {
        painter.setPen(QPen(Qt::black, ruleWidth * scale, Qt::SolidLine, Qt::FlatCap));
    }

    QRectF rect(const RG::Box& box, double bandTop) const
    {
        return QRectF(box.left * scale, (bandTop + box.top) * scale, box.width * scale, box.height * scale);
    }
    QRectF rect(double left, double top, double width, double height) const
    {
        return QRectF(left * scale, top * scale, width * scale, height * scale);
    }

    void vertical(double x, double top, double height)
    {
        painter.drawLine(QPointF(x * scale, top * scale), QPointF(x * scale, (top + height) * scale));
    }
    void horizontal(double left, double y, double length)
    {
        painter.drawLine(QPointF(left * scale, y * scale), QPointF((left + length) * scale, y * scale));
    }

    // Wraps the text at word boundaries inside its box and draws the lines that fit whole; when text
    // is left over, the last line shown ends in an ellipsis. Nothing is drawn outside the box.
    void text(const QRectF& box, const QString& content, const QFont& font, Qt::Alignment alignment,
              const QList<QTextLayout::FormatRange>& formats = {}, bool opaque = true)
    {
        painter.save();
        painter.setClipRect(box);
        if (opaque)
            painter.fillRect(box, Qt::white);
        QTextLayout layout(content, font, &device);
        QTextOption option(alignment & Qt::AlignHorizontal_Mask);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.setFormats(formats);
        layout.beginLayout();
        double y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();

        int shown = 0;
        while (shown < layout.lineCount()) {
            const QTextLine line = layout.lineAt(shown);
            if (shown > 0 && line.y() + line.height() > box.height() + fit)
                break;
            ++shown;
        }
        double offset = 0;
        if (alignment & Qt::AlignVCenter)
            offset = std::max(0.0, (box.height() - layout.lineAt(shown - 1).rect().bottom()) / 2);
        const QPointF origin(box.left(), box.top() + offset);
        for (int i = 0; i < shown - 1; ++i)
            layout.lineAt(i).draw(&painter, origin);
        const QTextLine last = layout.lineAt(shown - 1);
        if (shown == layout.lineCount()) {
            last.draw(&painter, origin);
        } else {
            const QFontMetricsF metrics(font, &device);
            const QString rest = content.mid(last.textStart());
            painter.setFont(font);
            painter.drawText(QRectF(box.left(), origin.y() + last.y(), box.width(), last.height()),
                             int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop,
                             metrics.elidedText(rest, Qt::ElideRight, box.width()));
        }
        painter.restore();
    }

    QPainter& painter;
    QPaintDevice& device;
    double scale;
};

} // namespace

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
    Canvas canvas(painter, printer);

    const QFont titleFont = Fonts::arial(10);
    const QFont headerFont = Fonts::arial(9, true);
    const QFont detailFont = Fonts::arial(8);
    const QFont detailBold = Fonts::arial(8, true);
    const QFont summaryFont = Fonts::arial(10, true);

    const QList<ReportPage> pages = ReportLayout::paginate(m_rows.size());
    for (qsizetype pageIndex = 0; pageIndex < pages.size(); ++pageIndex) {
        if (pageIndex > 0)
            printer.newPage();
        for (const ReportBand& band : pages.at(pageIndex).bands) {
            const double top = band.top;
            switch (band.kind) {
            case ReportBand::Kind::Title: {
                if (!m_logo.isNull())
                    painter.drawImage(canvas.rect(RG::Logo, top), m_logo);
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
                canvas.text(canvas.rect(RG::Title, top), title, titleFont, Qt::AlignLeft, formats);
                break;
            }
            case ReportBand::Kind::ColumnHeader: {
                const QRectF area = canvas.rect(0, top, RG::AreaWidth, RG::HeaderHeight);
                painter.fillRect(area, RG::HeaderColor);
                painter.drawRect(area);
                for (std::size_t i = 0; i < RG::HeaderCaptions.size(); ++i) {
                    const RG::Caption& caption = RG::HeaderCaptions[i];
                    canvas.text(canvas.rect(caption.left, top, caption.width, RG::HeaderHeight),
                                QString::fromUtf16(caption.text), headerFont,
                                Qt::AlignHCenter | Qt::AlignVCenter, {}, false);
                    if (i + 1 < RG::HeaderCaptions.size())
                        canvas.vertical(caption.left + caption.width, top, RG::HeaderHeight);
                }
                break;
            }
            case ReportBand::Kind::Detail: {
                const ReportRow& row = m_rows.at(band.row);
                const bool bold = m_hooks.beforeDetail ? m_hooks.beforeDetail(row) : false;
                const QFont& first = bold ? detailBold : detailFont;
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
                canvas.text(canvas.rect(RG::ObservationCaption, top), QStringLiteral("Observações:"),
                            headerFont, Qt::AlignHCenter);
                canvas.text(canvas.rect(RG::Observation, top), row.observation, detailFont, Qt::AlignLeft);
                // The frame last, so that no field's white background covers it.
                painter.drawRect(canvas.rect(0, top, RG::AreaWidth, RG::DetailHeight));
                break;
            }
            case ReportBand::Kind::Summary: {
                const QString total = m_hooks.beforeSummary ? m_hooks.beforeSummary() : QString();
                const QRectF area = canvas.rect(0, top, RG::AreaWidth, RG::SummaryHeight);
                painter.fillRect(area, RG::SummaryColor);
                painter.drawLine(area.topLeft(), area.bottomLeft());
                painter.drawLine(area.bottomLeft(), area.bottomRight());
                painter.drawLine(area.topRight(), area.bottomRight());
                canvas.text(canvas.rect(RG::SummaryCaption, top),
                            QStringLiteral("Total de páginas Impressas...:"), summaryFont,
                            Qt::AlignLeft | Qt::AlignVCenter, {}, false);
                canvas.vertical(RG::SummaryCaption.left + RG::SummaryCaption.width, top, RG::SummaryHeight);
                canvas.text(canvas.rect(RG::SummaryTotal, top), total, summaryFont,
                            Qt::AlignHCenter | Qt::AlignVCenter, {}, false);
                break;
            }
            }
        }
        canvas.horizontal(0, RG::AreaHeight, RG::AreaWidth);
    }
    painter.end();
    return int(pages.size());
}
