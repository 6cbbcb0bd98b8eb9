#include "ReportCanvas.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double ruleWidth = 0.2; // mm
constexpr double fit = 1e-6;
// The unit QTextLayout keeps positions in, in pixels.
constexpr double grain = 1.0 / 64;
// What a line keeps to spare on the right to be judged without the full layout, in pixels: the
// layout's sums of widths round, and it breaks a line that a measure puts right at the box's side.
constexpr double borderline = 1.0;

// Pixels as QTextLayout keeps them: truncated to its unit. A line drawn on such a position lands on
// the very spot the layout would have drawn it.
double inLayoutUnits(double pixels)
{
    return std::trunc(pixels / grain) * grain;
}

// Text that a layout would draw as one run of the font's own glyphs: printable Latin-1, which every
// font the report asks for covers, but the soft hyphen, which a layout shows or hides by where it
// breaks; and no spaces at either end (a layout lets trailing ones hang past the box and keeps
// leading ones with the first word whatever its width).
bool isPlainLine(const QString& text)
{
    if (text.front() == u' ' || text.back() == u' ')
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x20 && u < 0x7f) || (u >= 0xa0 && u <= 0xff && u != 0xad);
    });
}

// Alignments the single-line drawing knows; any other goes through the full layout.
bool isLeftOrCentred(Qt::Alignment alignment)
{
    return !(alignment & (Qt::AlignRight | Qt::AlignJustify));
}

// Where text of that height starts below the box's top.
double verticalOffset(const QRectF& box, double textHeight, Qt::Alignment alignment)
{
    return alignment & Qt::AlignVCenter ? std::max(0.0, (box.height() - textHeight) / 2) : 0.0;
}

// Whether the box's first line holds the font's ink: the ascent holds all of it above the baseline,
// the descent nearly all below, and a quarter of the descent to spare holds the rest ('|', '(').
bool holdsTheInkOfALine(const QRectF& box, const QFontMetricsF& metrics, Qt::Alignment alignment)
{
    const double lineHeight = metrics.height();
    return box.top() + verticalOffset(box, lineHeight, alignment) + lineHeight + metrics.descent() / 4 <=
           box.bottom();
}

// The ink a glyph puts before and after its advance, which a clip to the box would cut at its sides.
double inkBefore(QChar first, const QFontMetricsF& metrics)
{
    return std::max(0.0, -metrics.leftBearing(first));
}
double inkAfter(QChar last, const QFontMetricsF& metrics)
{
    return std::max(0.0, -metrics.rightBearing(last));
}

// Whether a line drawn from x keeps its ink between the box's sides, with the borderline to spare on
// the right.
bool inkInside(const QRectF& box, double x, double advance, const QString& text, const QFontMetricsF& metrics)
{
    return x - inkBefore(text.front(), metrics) >= box.left() - grain &&
           x + advance + inkAfter(text.back(), metrics) + borderline <= box.right();
}

} // namespace

ReportCanvas::ReportCanvas(QPainter& painter, QPaintDevice& device)
    : m_painter(painter), m_device(device), m_scale(device.logicalDpiX() / 25.4)
{
    m_painter.setPen(QPen(Qt::black, ruleWidth * m_scale, Qt::SolidLine, Qt::FlatCap));
}

QRectF ReportCanvas::rect(const ReportGeometry::Box& box, double bandTop) const
{
    return QRectF(box.left * m_scale, (bandTop + box.top) * m_scale, box.width * m_scale,
                  box.height * m_scale);
}

QRectF ReportCanvas::rect(double left, double top, double width, double height) const
{
    return QRectF(left * m_scale, top * m_scale, width * m_scale, height * m_scale);
}

void ReportCanvas::vertical(double x, double top, double height)
{
    m_painter.drawLine(QPointF(x * m_scale, top * m_scale), QPointF(x * m_scale, (top + height) * m_scale));
}

void ReportCanvas::horizontal(double left, double y, double length)
{
    m_painter.drawLine(QPointF(left * m_scale, y * m_scale), QPointF((left + length) * m_scale, y * m_scale));
}

// Most cells hold one short line, or one line too long for a box one line high: those are measured
// and drawn without a layout, a clip or a saved state, to the same result. The rest, and whatever
// comes too near the box's sides to judge from the measure, take the full layout.
void ReportCanvas::text(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment)
{
    if (content.isEmpty())
        return;
    if (isLeftOrCentred(alignment) && isPlainLine(content) &&
        holdsTheInkOfALine(box, font.metrics, alignment)) {
        const double advance = font.metrics.horizontalAdvance(content);
        if (wholeLine(box, content, font, alignment, advance) ||
            elidedLine(box, content, font, alignment, advance))
            return;
    }
    formattedText(box, content, font, alignment, {});
}

void ReportCanvas::formattedText(const QRectF& box, const QString& content, const Font& font,
                                 Qt::Alignment alignment, const QList<QTextLayout::FormatRange>& formats)
{
    m_painter.save();
    m_painter.setClipRect(box);
    QTextLayout layout(content, font.font, &m_device);
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
    const QTextLine last = layout.lineAt(shown - 1);
    const QPointF origin(box.left(), box.top() + verticalOffset(box, last.rect().bottom(), alignment));
    for (int i = 0; i < shown - 1; ++i)
        layout.lineAt(i).draw(&m_painter, origin);
    if (shown == layout.lineCount()) {
        last.draw(&m_painter, origin);
    } else {
        const QString rest = content.mid(last.textStart());
        m_painter.setFont(font.font);
        m_painter.drawText(QRectF(box.left(), origin.y() + last.y(), box.width(), last.height()),
                           int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop,
                           font.metrics.elidedText(rest, Qt::ElideRight, box.width()));
    }
    m_painter.restore(); // the painter's font too
}

// A line that fits goes where the layout puts it: its left end on the box's left or centred by its
// advance, its baseline one ascent below its top.
bool ReportCanvas::wholeLine(const QRectF& box, const QString& content, const Font& font,
                             Qt::Alignment alignment, double advance)
{
    double x = inLayoutUnits(box.left());
    if (alignment & Qt::AlignHCenter)
        x += inLayoutUnits((inLayoutUnits(box.width()) - advance) / 2);
    if (!inkInside(box, x, advance, content, font.metrics))
        return false;
    const double top = box.top() + verticalOffset(box, font.metrics.height(), alignment);
    useFont(font);
    m_painter.drawText(QPointF(x, inLayoutUnits(top) + font.metrics.ascent()), content);
    return true;
}

// Text wider than a box one line high wraps, and its first line, the only one shown, ends in an
// ellipsis in place of the rest: the whole text elided into the box's width, drawn through the very
// call the layout's drawing makes. That call clips to the line itself when the line overflows it;
// only ink beyond the first glyph's or the last one's advance could cross the box's sides unclipped.
bool ReportCanvas::elidedLine(const QRectF& box, const QString& content, const Font& font,
                              Qt::Alignment alignment, double advance)
{
    const QFontMetricsF& metrics = font.metrics;
    const double lineHeight = metrics.height();
    const bool holdsOneLine = 2 * lineHeight > box.height() + fit;
    if (!holdsOneLine || advance <= box.width())
        return false;
    const QString elided = metrics.elidedText(content, Qt::ElideRight, box.width());
    // A single character is never elided, and a layout keeps it whole on its line.
    if (elided == content || elided.isEmpty() || inkBefore(elided.front(), metrics) > 0 ||
        inkAfter(elided.back(), metrics) > 0)
        return false;
    const double top = box.top() + verticalOffset(box, lineHeight, alignment);
    useFont(font);
    m_painter.drawText(QRectF(box.left(), top, box.width(), lineHeight),
                       int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop, elided);
    return true;
}

void ReportCanvas::useFont(const Font& font)
{
    if (m_font == &font)
        return;
    m_painter.setFont(font.font);
    m_font = &font;
}
