#include "ReportCanvas.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
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
// Lines a font keeps shaped: a report of many jobs has as many codes and documents, and past this
// many the cache starts over rather than hold them all.
constexpr qsizetype cachedLines = 4096;

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

// The text as a layout with no width to keep to shapes it: one line, kerned as drawText kerns it. The
// layout keeps its shaping past endLayout(), or glyphRuns() would shape the text all over again.
ReportCanvas::Line shape(const QString& text, const QFont& font, QPaintDevice* device)
{
    QTextLayout layout(text, font, device);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return {line.horizontalAdvance(), line.glyphRuns()};
}

// Where the line's glyphs put ink, from its top left. Only an elided line needs it: a whole line is
// judged by its first and last letters alone.
QRectF inkOf(const ReportCanvas::Line& line)
{
    QRectF ink;
    for (const QGlyphRun& run : line.runs) {
        const QRawFont rawFont = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            ink |= rawFont.boundingRect(glyphs.at(i)).translated(positions.at(i));
    }
    return ink;
}

} // namespace

ReportCanvas::Font::Font(const QFont& font, QPaintDevice* device)
    : font(font), metrics(font, device), m_device(device)
{
}

ReportCanvas::Line ReportCanvas::Font::line(const QString& text) const
{
    if (const auto found = m_lines.constFind(text); found != m_lines.cend())
        return *found;
    if (m_lines.size() >= cachedLines)
        m_lines.clear();
    return *m_lines.insert(text, shape(text, font, m_device));
}

ReportCanvas::ReportCanvas(QPainter& painter, QPaintDevice& device)
    : m_painter(painter), m_device(device), m_scale(device.logicalDpiX() / 25.4),
      m_holdsText(painter.paintEngine()->type() == QPaintEngine::Pdf)
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
    m_rules.append(QLineF(x * m_scale, top * m_scale, x * m_scale, (top + height) * m_scale));
}

void ReportCanvas::horizontal(double left, double y, double length)
{
    m_rules.append(QLineF(left * m_scale, y * m_scale, (left + length) * m_scale, y * m_scale));
}

void ReportCanvas::frame(const QRectF& area)
{
    flushRules();
    m_painter.drawRect(area);
}

void ReportCanvas::fill(const QRectF& area, const QColor& color)
{
    flush();
    m_painter.fillRect(area, color);
}

void ReportCanvas::image(const QRectF& area, const QImage& image)
{
    flush();
    m_painter.drawImage(area, image);
}

// Most cells hold one short line, or one line too long for a box one line high: those are shaped once
// as a line and drawn without wrapping, a clip or a saved state, to the same result. The rest, and
// whatever comes too near the box's sides to judge from the measure, take the full layout.
void ReportCanvas::text(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment)
{
    if (content.isEmpty())
        return;
    if (isLeftOrCentred(alignment) && isPlainLine(content) &&
        holdsTheInkOfALine(box, font.metrics, alignment)) {
        const Line line = font.line(content);
        if (wholeLine(box, content, line, font, alignment) ||
            elidedLine(box, content, line.advance, font, alignment))
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
// advance, its top on a layout unit, its baseline one ascent below.
bool ReportCanvas::wholeLine(const QRectF& box, const QString& content, const Line& line, const Font& font,
                             Qt::Alignment alignment)
{
    double x = inLayoutUnits(box.left());
    if (alignment & Qt::AlignHCenter)
        x += inLayoutUnits((inLayoutUnits(box.width()) - line.advance) / 2);
    if (!inkInside(box, x, line.advance, content, font.metrics))
        return false;
    const double top = inLayoutUnits(box.top() + verticalOffset(box, font.metrics.height(), alignment));
    if (m_holdsText) {
        hold(line, QPointF(x, top));
    } else {
        useFont(font);
        m_painter.drawText(QPointF(x, top + font.metrics.ascent()), content);
    }
    return true;
}

// Text wider than a box one line high wraps, and its first line, the only one shown, ends in an
// ellipsis in place of the rest: the whole text elided into the box's width, drawn through the very
// call the layout's drawing makes. That call clips to the line itself when the line overflows it,
// as one rounded up to whole pixels mostly does; only ink beyond the first glyph's or the last one's
// advance could cross the box's sides unclipped. Nothing clips a run of glyphs held back: the line is
// held back only when its ink stays inside that clip, and drawn through the call otherwise.
bool ReportCanvas::elidedLine(const QRectF& box, const QString& content, double advance, const Font& font,
                              Qt::Alignment alignment)
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
    const QRectF lineBox(box.left(), box.top() + verticalOffset(box, lineHeight, alignment), box.width(),
                         lineHeight);
    if (m_holdsText) {
        const Line line = font.line(elided);
        const double centring = alignment & Qt::AlignHCenter ? (lineBox.width() - line.advance) / 2 : 0;
        const QPointF topLeft(inLayoutUnits(lineBox.left() + centring), inLayoutUnits(lineBox.top()));
        if (lineBox.contains(inkOf(line).translated(topLeft))) {
            hold(line, topLeft);
            return true;
        }
    }
    useFont(font);
    m_painter.drawText(lineBox, int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop, elided);
    return true;
}

void ReportCanvas::hold(const Line& line, QPointF topLeft)
{
    for (const QGlyphRun& run : line.runs) {
        HeldRun& held = heldRun(run.rawFont());
        held.glyphs.append(run.glyphIndexes());
        for (const QPointF& position : run.positions())
            held.positions.append(topLeft + position);
    }
}

ReportCanvas::HeldRun& ReportCanvas::heldRun(const QRawFont& font)
{
    const auto found =
        std::find_if(m_text.begin(), m_text.end(), [&font](const HeldRun& run) { return run.font == font; });
    if (found != m_text.end())
        return *found;
    return m_text.emplace_back(HeldRun{font, {}, {}});
}

void ReportCanvas::flush()
{
    flushRules();
    flushText();
}

void ReportCanvas::flushRules()
{
    if (m_rules.isEmpty())
        return;
    m_painter.drawLines(m_rules);
    m_rules.clear();
}

void ReportCanvas::flushText()
{
    for (HeldRun& held : m_text) {
        if (held.glyphs.isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(held.font);
        run.setGlyphIndexes(held.glyphs);
        run.setPositions(held.positions);
        m_painter.drawGlyphRun(QPointF(), run);
        held.glyphs.clear();
        held.positions.clear();
    }
}

void ReportCanvas::useFont(const Font& font)
{
    if (m_font == &font)
        return;
    m_painter.setFont(font.font);
    m_font = &font;
}
