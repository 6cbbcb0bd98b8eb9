#pragma once

#include "ReportGeometry.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QLineF>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QTextLayout>
#include <vector>

class QColor;
class QImage;
class QPainter;
class QPaintDevice;

// Millimetres on the area inside the margins, turned into the device's pixels: the report's rules, fills
// and text cells. A cell has no background of its own: the text goes straight on what lies beneath.
//
// Each call a PDF takes costs on top of what it draws, so the canvas holds rules and text back and draws
// them together: the rules in one call, the text in one run of glyphs per font. Rules, frames and text
// are all the same black and text touches neither: which goes on top shows nowhere, but rules and
// frames meet at the corners and keep their order. A fill or an image covers what came before it, so it
// draws everything held back first; flush() draws the rest before the page turns.
class ReportCanvas {
public:
    // A text shaped as one line of the full layout: its glyphs, placed from the line's top left.
    struct Line {
        double advance = 0; // what QFontMetricsF::horizontalAdvance answers for the text
        QList<QGlyphRun> runs;
    };

    // A font as the device measures and shapes it, built once for a render rather than for every cell.
    struct Font {
        Font(const QFont& font, QPaintDevice* device);
        // The text shaped once for the render: the cells of a column repeat their texts row after row.
        Line line(const QString& text) const;

        QFont font;
        QFontMetricsF metrics;

    private:
        QPaintDevice* m_device;
        mutable QHash<QString, Line> m_lines;
    };

    ReportCanvas(QPainter& painter, QPaintDevice& device);

    QRectF rect(const ReportGeometry::Box& box, double bandTop) const;
    QRectF rect(double left, double top, double width, double height) const;

    void vertical(double x, double top, double height);
    void horizontal(double left, double y, double length);
    // Areas in pixels, as rect() answers them; a frame is an area's outline.
    void frame(const QRectF& area);
    void fill(const QRectF& area, const QColor& color);
    void image(const QRectF& area, const QImage& image);

    // Wraps the text at word boundaries inside its box and draws the lines that fit whole; when text
    // is left over, the last line shown ends in an ellipsis. Nothing is drawn outside the box.
    void text(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment);
    // The same through a full text layout, with runs in other formats (the title's bold words).
    void formattedText(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment,
                       const QList<QTextLayout::FormatRange>& formats);

    // Draws what is held back; before the page turns and before the painter ends.
    void flush();

private:
    // The glyphs of one font held back, in the places they are drawn at.
    struct HeldRun {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    // Each draws the text as the full layout would, without it, and answers true; or answers false
    // and draws nothing when the text is not theirs to draw.
    bool wholeLine(const QRectF& box, const QString& content, const Line& line, const Font& font,
                   Qt::Alignment alignment);
    bool elidedLine(const QRectF& box, const QString& content, double advance, const Font& font,
                    Qt::Alignment alignment);
    void hold(const Line& line, QPointF topLeft);
    HeldRun& heldRun(const QRawFont& font);
    void flushRules();
    void flushText();
    void useFont(const Font& font);

    QPainter& m_painter;
    QPaintDevice& m_device;
    double m_scale;
    // The PDF engine writes a run of glyphs as it writes drawn text; QPicture, behind the preview, keeps
    // one only as outlines. Where runs are not kept as text, each cell is drawn as text at once.
    bool m_holdsText;
    const Font* m_font = nullptr; // the painter's, as last set through useFont
    QList<QLineF> m_rules;
    std::vector<HeldRun> m_text;
};
