#include "TrayImages.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Every picture is designed on a 16 × 16 grid (the size of the original image list) and scaled;
// strokes sit on half units so that they fall on whole pixels at 16 and 32.
constexpr qreal Grid = 16.0;

QColor shade(const QColor& color, int factor)
{
    return factor >= 100 ? color.lighter(factor) : color.darker(10000 / factor);
}

QPen outline(const QColor& color, qreal width = 1.0)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& upper, const QColor& lower)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setStops({{0, upper}, {1, lower}});
    return gradient;
}

// A glossy disc filling most of the grid, for the status-like images.
void disc(QPainter& p, const QColor& base)
{
    QRadialGradient fill(QPointF(6.5, 5.5), 9.5);
    fill.setStops({{0, shade(base, 150)}, {0.55, base}, {1, shade(base, 75)}});
    p.setPen(outline(shade(base, 55)));
    p.setBrush(fill);
    p.drawEllipse(QPointF(8, 8), 7, 7);
}

void printer(QPainter& p, const QColor& sheet, bool sheetIsColoured)
{
    // Paper waiting in the input tray.
    p.setPen(outline(QColor(120, 120, 120)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));

    // Body.
    p.setPen(outline(QColor(70, 74, 82)));
    p.setBrush(vertical(5.5, 12.5, QColor(226, 229, 234), QColor(150, 156, 166)));
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 7), 1.5, 1.5);
    // Output slot and a ready light.
    p.setPen(outline(QColor(55, 58, 66)));
    p.drawLine(QPointF(3.5, 10.5), QPointF(12.5, 10.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 80));
    p.drawEllipse(QPointF(12.5, 7.8), 0.9, 0.9);

    // The printed sheet coming out at the front.
    p.setPen(outline(sheetIsColoured ? shade(sheet, 60) : QColor(120, 120, 120)));
    p.setBrush(sheetIsColoured ? QBrush(vertical(10.5, 15.5, shade(sheet, 130), sheet)) : QBrush(sheet));
    p.drawRect(QRectF(4.5, 10.5, 7, 5));
    p.setPen(outline(sheetIsColoured ? shade(sheet, 170) : QColor(150, 150, 150), 0.8));
    p.drawLine(QPointF(6, 12.6), QPointF(10, 12.6));
    p.drawLine(QPointF(6, 14.1), QPointF(9, 14.1));
}

void pageUnderGlass(QPainter& p)
{
    QPainterPath page;
    page.addPolygon(QPolygonF({{2.5, 0.5}, {8.5, 0.5}, {11.5, 3.5}, {11.5, 14.5}, {2.5, 14.5}}));
    page.closeSubpath();
    p.setPen(outline(QColor(110, 118, 130)));
    p.setBrush(vertical(0.5, 14.5, Qt::white, QColor(232, 236, 242)));
    p.drawPath(page);
    p.setBrush(QColor(210, 216, 226));
    QPainterPath fold;
    fold.addPolygon(QPolygonF({{8.5, 0.5}, {8.5, 3.5}, {11.5, 3.5}}));
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(outline(QColor(150, 160, 178), 0.8));
    for (qreal y : {5.0, 7.0, 9.0})
        p.drawLine(QPointF(4.2, y), QPointF(7.5, y));

    // The magnifying glass over the lower right of the page.
    p.setPen(QPen(QColor(120, 72, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.6, 12.6), QPointF(14.8, 14.8));
    QRadialGradient glass(QPointF(9.2, 8.6), 4.2);
    glass.setStops({{0, QColor(235, 246, 255, 235)}, {1, QColor(140, 190, 235, 220)}});
    p.setPen(outline(QColor(45, 50, 60), 1.3));
    p.setBrush(glass);
    p.drawEllipse(QPointF(10, 9.8), 3.4, 3.4);
    p.setPen(outline(QColor(255, 255, 255, 200), 0.8));
    p.drawArc(QRectF(7.9, 7.7, 3, 3), 100 * 16, 70 * 16);
}

void redCross(QPainter& p)
{
    disc(p, QColor(214, 40, 40));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.3, 5.3), QPointF(10.7, 10.7));
    p.drawLine(QPointF(10.7, 5.3), QPointF(5.3, 10.7));
}

void barChart(QPainter& p)
{
    const QColor teal(0, 128, 128);
    p.setPen(outline(shade(teal, 70), 1.0));
    p.setBrush(vertical(0.5, 15.5, QColor(250, 253, 253), QColor(214, 236, 236)));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
    p.setPen(outline(teal, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.2, 1.2);

    const std::tuple<qreal, qreal, QColor> bars[] = {
        {3.5, 9.5, QColor(66, 133, 244)}, {6.5, 5.5, QColor(52, 168, 83)}, {9.5, 7.5, QColor(234, 67, 53)}};
    for (const auto& [left, top, color] : bars) {
        p.setPen(outline(shade(color, 65), 0.8));
        p.setBrush(vertical(top, 13, shade(color, 130), color));
        p.drawRect(QRectF(left, top, 2.6, 13 - top));
    }
    p.setPen(outline(QColor(40, 60, 60), 0.9));
    p.drawLine(QPointF(2.8, 13), QPointF(13.2, 13));
}

void lettering(QPainter& p)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(12);
    font.setHintingPreference(QFont::PreferNoHinting);

    QPainterPath black;
    black.addText(QPointF(0.2, 12.6), font, QStringLiteral("A"));
    // A light halo keeps the black letter visible on a dark notification area.
    p.setPen(outline(QColor(255, 255, 255, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(black);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    p.drawPath(black);

    QPainterPath yellow;
    yellow.addText(QPointF(7.6, 14.6), font, QStringLiteral("b"));
    p.setPen(outline(QColor(20, 20, 20), 1.1));
    p.setBrush(QColor(255, 210, 0));
    p.drawPath(yellow);
}

// One coin seen slightly from above: its rim, then its face.
void coin(QPainter& p, qreal left, qreal width, qreal top, const QColor& base)
{
    const qreal height = width * 0.42;
    const qreal thickness = 1.6;
    QPainterPath rim;
    rim.moveTo(left, top + height / 2);
    rim.arcTo(QRectF(left, top + thickness, width, height), 180, 180);
    rim.lineTo(left + width, top + height / 2);
    rim.arcTo(QRectF(left, top, width, height), 0, -180);
    rim.closeSubpath();
    QLinearGradient side(left, 0, left + width, 0);
    side.setStops({{0, shade(base, 70)}, {0.35, shade(base, 105)}, {1, shade(base, 62)}});
    p.setPen(outline(shade(base, 45), 0.7));
    p.setBrush(side);
    p.drawPath(rim);

    QRadialGradient face(QPointF(left + width * 0.4, top + height * 0.35), width * 0.6);
    face.setStops({{0, shade(base, 160)}, {1, shade(base, 110)}});
    p.setBrush(face);
    p.drawEllipse(QRectF(left, top, width, height));
}

void coinStacks(QPainter& p, const QColor& base)
{
    // A tall stack behind and a short one in front, as a pile of money reads at a glance.
    for (int i = 0; i < 5; ++i)
        coin(p, 0.6, 9.4, 10.6 - i * 2.2, base);
    for (int i = 0; i < 2; ++i)
        coin(p, 6.4, 9.0, 11.6 - i * 2.2, base);
}

void infinity(QPainter& p)
{
    disc(p, QColor(46, 160, 67));
    // A lemniscate of Bernoulli, traced as one closed stroke.
    QPolygonF points;
    constexpr int Steps = 72;
    constexpr qreal HalfWidth = 5.4;
    for (int i = 0; i <= Steps; ++i) {
        const qreal t = 2 * M_PI * i / Steps;
        const qreal d = 1 + std::sin(t) * std::sin(t);
        points.append({8 + HalfWidth * std::cos(t) / d, 8 + HalfWidth * std::sin(t) * std::cos(t) / d * 1.3});
    }
    QPainterPath sign;
    sign.addPolygon(points);
    p.setPen(outline(Qt::white, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sign);
}

// In the order of the list in TrayImages.h.
using Picture = void (*)(QPainter&);
constexpr Picture pictures[TrayImages::Count] = {
    [](QPainter& p) { printer(p, Qt::white, false); },
    pageUnderGlass,
    redCross,
    barChart,
    lettering,
    [](QPainter& p) { printer(p, QColor(40, 110, 220), true); },
    [](QPainter& p) { coinStacks(p, QColor(205, 40, 40)); },
    [](QPainter& p) { coinStacks(p, QColor(240, 140, 20)); },
    [](QPainter& p) { coinStacks(p, QColor(150, 150, 150)); },
    infinity,
    [](QPainter& p) { coinStacks(p, QColor(160, 200, 40)); },
};

int clamped(int index)
{
    return std::clamp(index, 0, TrayImages::Count - 1);
}

// Draws a picture at a size only when that size is first asked for: the tray and the menu use one
// or two of the sizes, and drawing all of them for every image held up the start-up.
class DrawnWhenAsked : public QIconEngine {
public:
    explicit DrawnWhenAsked(int index) : m_index(index) {}

    QIconEngine* clone() const override { return new DrawnWhenAsked(*this); }
    QString key() const override { return QStringLiteral("TrayImages"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {20, 20}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        QPixmap& drawn = m_drawn[side];
        if (drawn.isNull())
            drawn = TrayImages::pixmap(m_index, side);
        if (mode != QIcon::Disabled)
            return drawn;
        QStyleOption option;
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, drawn, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap image = pixmap(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

private:
    int m_index;
    QHash<int, QPixmap> m_drawn;
};

} // namespace

namespace TrayImages {

QPixmap pixmap(int index, int size)
{
    if (size <= 0)
        return {};
    QPixmap result(size, size);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Grid, size / Grid);
    pictures[clamped(index)](painter);
    return result;
}

QIcon icon(int index)
{
    return QIcon(new DrawnWhenAsked(clamped(index)));
}

} // namespace TrayImages
