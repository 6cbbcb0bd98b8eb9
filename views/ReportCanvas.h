#pragma once

#include "ReportGeometry.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QRectF>
#include <QTextLayout>

class QPainter;
class QPaintDevice;

// Millimetres on the area inside the margins, turned into the device's pixels: the report's rules and
// its text cells. A cell has no background of its own: the text goes straight on what lies beneath.
class ReportCanvas {
public:
    // A font as the device measures it, built once for a render rather than for every cell.
    struct Font {
        Font(const QFont& font, const QPaintDevice* device) : font(font), metrics(font, device) {}
        QFont font;
        QFontMetricsF metrics;
    };

    ReportCanvas(QPainter& painter, QPaintDevice& device);

    QRectF rect(const ReportGeometry::Box& box, double bandTop) const;
    QRectF rect(double left, double top, double width, double height) const;

    void vertical(double x, double top, double height);
    void horizontal(double left, double y, double length);

    // Wraps the text at word boundaries inside its box and draws the lines that fit whole; when text
    // is left over, the last line shown ends in an ellipsis. Nothing is drawn outside the box.
    void text(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment);
    // The same through a full text layout, with runs in other formats (the title's bold words).
    void formattedText(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment,
                       const QList<QTextLayout::FormatRange>& formats);

private:
    // Each draws the text as the full layout would, without it, and answers true; or answers false
    // and draws nothing when the text is not theirs to draw.
    bool wholeLine(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment,
                   double advance);
    bool elidedLine(const QRectF& box, const QString& content, const Font& font, Qt::Alignment alignment,
                    double advance);
    void useFont(const Font& font);

    QPainter& m_painter;
    QPaintDevice& m_device;
    double m_scale;
    const Font* m_font = nullptr; // the painter's, as last set through useFont
};
