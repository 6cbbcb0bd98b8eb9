#include "Fonts.h"
#include "ReportCanvas.h"

#include <QImage>
#include <QMap>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTest>
#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <optional>
#include <vector>

namespace {

// One piece of text as it reaches the paint engine: its text, when it comes as text rather than as
// glyphs, where its ink goes, the clip it is drawn under, if any, and the fills and images drawn
// before it.
struct TextPiece {
    QString text;
    QRectF ink;
    std::optional<QRectF> clip;
    int layer;
};

// Pixels to a millionth: the sums that place a glyph's outline leave different last bits when taken
// in another order, never a millionth.
QString number(double value)
{
    return QString::number(value, 'f', 6);
}

// The contours of glyph outlines, each written out exactly: two drawings put the same ink in the same
// places when they have the same contours, however their glyphs were grouped into pieces.
QStringList contours(const QPainterPath& outline)
{
    QStringList found;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element element = outline.elementAt(i);
        if (element.isMoveTo() || found.isEmpty())
            found.append(QString());
        found.last() +=
            QStringLiteral("%1:%2,%3 ").arg(int(element.type)).arg(number(element.x), number(element.y));
    }
    return found;
}

QString describe(const QRectF& rect)
{
    return QStringLiteral("%1,%2 %3×%4")
        .arg(number(rect.x()), number(rect.y()), number(rect.width()), number(rect.height()));
}

// Records what a page is made of. Text is kept as the outlines of its glyphs, drawn text and runs of
// glyphs alike, each contour after the number of fills and images drawn before it: text covers
// neither rules nor other text, so only a fill or an image drawn after it changes what shows. Rules,
// frames, fills and images are kept in the order they are drawn, since they meet.
class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(Type type) : QPaintEngine(QPaintEngine::AllFeatures), m_type(type) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return m_type; }

    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        m_outline = QPainterPath();
        m_outlining = true;
        QPaintEngine::drawTextItem(position, item); // fills the glyphs' outlines through drawPath
        m_outlining = false;
        std::optional<QRectF> clip;
        if (painter()->hasClipping())
            clip = painter()->clipBoundingRect();
        pieces.append({item.text(), m_outline.boundingRect(), clip, m_layer});
        for (const QString& contour : contours(m_outline))
            glyphs.append(QStringLiteral("%1 %2").arg(m_layer).arg(contour));
    }
    void drawPath(const QPainterPath& path) override
    {
        if (m_outlining)
            m_outline.addPath(painter()->transform().map(path));
    }
    void drawLines(const QLineF* lines, int count) override
    {
        for (const QLineF& line : std::vector<QLineF>(lines, lines + count))
            shapes.append(
                QStringLiteral("line %1,%2 %3,%4")
                    .arg(number(line.x1()), number(line.y1()), number(line.x2()), number(line.y2())));
    }
    void drawRects(const QRectF* rects, int count) override
    {
        const bool fills = painter()->brush().style() != Qt::NoBrush;
        for (const QRectF& rect : std::vector<QRectF>(rects, rects + count))
            shapes.append((fills ? QStringLiteral("fill %1 in %2").arg(painter()->brush().color().name())
                                 : QStringLiteral("frame")) +
                          ' ' + describe(rect));
        m_layer += fills;
    }
    void drawPixmap(const QRectF& rect, const QPixmap&, const QRectF&) override
    {
        shapes.append("image " + describe(rect));
        ++m_layer;
    }

    QStringList glyphs;
    QStringList shapes;
    QList<TextPiece> pieces;

private:
    Type m_type;
    QPainterPath m_outline;
    bool m_outlining = false;
    int m_layer = 0;
};

// A page at the resolution the report prints at, on an engine of the given type.
class RecordingPage : public QPaintDevice {
public:
    static constexpr int dpi = 1200;

    explicit RecordingPage(QPaintEngine::Type type) : m_engine(type) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    RecordingEngine& engine() const { return m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 20000;
        case PdmWidthMM:
        case PdmHeightMM:
            return int(20000 * 25.4 / dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    mutable RecordingEngine m_engine;
};

struct Drawing {
    QStringList glyphs; // sorted: the order text is drawn in shows nowhere
    QStringList shapes;
    QList<TextPiece> pieces;
};

using Steps = std::function<void(ReportCanvas&, QPaintDevice&)>;

// What reaches the page when the steps draw on a canvas over an engine of the given type, up to the
// end of the page.
Drawing record(QPaintEngine::Type type, const Steps& steps)
{
    RecordingPage page(type);
    QPainter painter(&page);
    ReportCanvas canvas(painter, page);
    steps(canvas, page);
    canvas.flush();
    painter.end();
    RecordingEngine& engine = page.engine();
    std::sort(engine.glyphs.begin(), engine.glyphs.end());
    return {engine.glyphs, engine.shapes, engine.pieces};
}

// The PDF engine takes runs of glyphs; QPicture, behind the preview, only text.
constexpr std::array engines{QPaintEngine::Pdf, QPaintEngine::Picture};

const QString document = QStringLiteral("Relatório trimestral de despesas operacionais número 1234.xlsx");

} // namespace

class tst_ReportCanvas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A cell puts the same ink in the same places as the full text layout, whether it fits, fits only
    // just, is elided into one line or wraps, on the PDF engine and on the preview's; and none of its ink
    // crosses the box's sides unless under a clip to the box, as the layout's always is. The box is as
    // wide as the text plus a margin in pixels, at odd offsets so that positions fall between pixels.
    void cellMatchesTheFullLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("lines"); // the box's height, in lines of the font
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("alignment");

        const int centred = Qt::AlignHCenter;
        const int left = Qt::AlignLeft;
        QTest::newRow("fits with room, centred") << "HP-Financeiro" << 40.0 << 1.3 << false << centred;
        QTest::newRow("fits with room, bold") << "Cancelado" << 40.0 << 1.3 << true << centred;
        QTest::newRow("fits, left and centred in a taller box")
            << "Observação 12" << 40.0 << 1.7 << false << int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("fits, right-aligned") << "12" << 40.0 << 1.3 << false << int(Qt::AlignRight);
        QTest::newRow("two pixels to spare") << "16/03/2024" << 2.0 << 1.3 << false << centred;
        QTest::newRow("exactly as wide as its box") << "Impresso" << 0.0 << 1.3 << false << centred;
        QTest::newRow("a 64th of a pixel too wide") << "Impresso" << -1.0 / 64 << 1.3 << false << centred;
        QTest::newRow("a 200th of a pixel too wide") << "Impresso" << -0.005 << 1.3 << false << left;
        QTest::newRow("last letter's ink past the box") << "planilha_" << 3.0 << 1.3 << false << centred;
        QTest::newRow("first letter's ink before the box") << "já impresso" << 40.0 << 1.3 << false << left;
        QTest::newRow("kerned pairs, bold, last letter's ink past its advance")
            << "AV To.xlsx Wa" << 40.0 << 1.3 << true << centred;
        QTest::newRow("ink below the descent, box as low as a line")
            << "Financeiro | HP" << 40.0 << 1.0 << false << centred;
        QTest::newRow("too wide for one line: elided") << document << -300.0 << 1.3 << false << centred;
        QTest::newRow("too wide, first letter's ink before the box")
            << "já " + document << -300.0 << 1.3 << false << left;
        QTest::newRow("too wide, bold, by a few pixels") << document << -3.0 << 1.3 << true << centred;
        QTest::newRow("too wide, ink below the line it is elided into")
            << "Financeiro | " + document << -300.0 << 1.3 << false << centred;
        QTest::newRow("too wide, room for two lines: wraps") << document << -300.0 << 2.3 << false << left;
        QTest::newRow("too wide for three lines: wraps and elides")
            << document + ' ' + document + ' ' + document << -200.0 << 3.2 << false << centred;
        QTest::newRow("spaces at the end hang past the box")
            << "EST-01    " << -30.0 << 1.3 << false << centred;
        QTest::newRow("a space and a letter too wide") << " W" << -3.0 << 1.3 << false << centred;
        QTest::newRow("one letter wider than its box") << "W" << -0.3 << 1.3 << false << centred;
        QTest::newRow("a soft hyphen at the end") << "Relatório\u00ad" << 40.0 << 1.3 << false << centred;
        QTest::newRow("right-to-left") << "Relatório שלום" << 40.0 << 1.3 << false << centred;
        QTest::newRow("a letter from a fallback font") << "Relatório ☺ ✓" << 40.0 << 1.3 << false << centred;
        QTest::newRow("empty") << "" << 10.0 << 1.3 << false << centred;
    }
    void cellMatchesTheFullLayout()
    {
        QFETCH(QString, text);
        QFETCH(double, margin);
        QFETCH(double, lines);
        QFETCH(bool, bold);
        QFETCH(int, alignment);

        RecordingPage measuring(QPaintEngine::Pdf);
        const QFontMetricsF metrics(Fonts::arial(8, bold), &measuring);
        const QRectF box(1000.37, 2000.71, metrics.horizontalAdvance(text) + margin,
                         lines * metrics.height());
        const auto draw = [&](bool full) {
            return [&, full](ReportCanvas& canvas, QPaintDevice& page) {
                const ReportCanvas::Font font(Fonts::arial(8, bold), &page);
                if (full)
                    canvas.formattedText(box, text, font, Qt::Alignment(alignment), {});
                else
                    canvas.text(box, text, font, Qt::Alignment(alignment));
            };
        };

        for (const QPaintEngine::Type engine : engines) {
            const Drawing cell = record(engine, draw(false));
            QCOMPARE(cell.glyphs, record(engine, draw(true)).glyphs);
            // A 64th of a pixel over the top and the left side: the layout's own rounding.
            const QRectF inside = box.adjusted(-1.0 / 64, -1.0 / 64, 0, 0);
            for (const TextPiece& piece : cell.pieces) {
                const bool clipped = piece.clip && box.contains(*piece.clip);
                QVERIFY2(clipped || inside.contains(piece.ink),
                         qPrintable(QStringLiteral("'%1', ink %2").arg(piece.text, describe(piece.ink))));
            }
        }
    }

    // A band's cells held back and drawn together put the same ink where drawing each at once through
    // the full layout does: bold and regular cells side by side, one string in two fonts, a cell that
    // wraps through the layout between held ones, elided ones, text under and over a white fill that
    // covers a rule, as the observation's caption does. Held text stays under the fill or the image
    // drawn after it.
    void bandMatchesTheFullLayout()
    {
        const auto band = [](bool held) {
            return [held](ReportCanvas& canvas, QPaintDevice& page) {
                const ReportCanvas::Font regular(Fonts::arial(8), &page);
                const ReportCanvas::Font bold(Fonts::arial(8, true), &page);
                const ReportCanvas::Font caption(Fonts::arial(9, true), &page);
                const auto cell = [&](const QRectF& box, const QString& text, const ReportCanvas::Font& font,
                                      Qt::Alignment alignment = Qt::AlignHCenter) {
                    if (held)
                        canvas.text(box, text, font, alignment);
                    else
                        canvas.formattedText(box, text, font, alignment, {});
                };
                // Drawn at once too, where the held drawing holds its rules back.
                const auto settle = [&] {
                    if (!held)
                        canvas.flush();
                };

                cell(canvas.rect(0.5, 1.9, 9.3, 4.5), QStringLiteral("1060"), regular);
                QImage logo(40, 30, QImage::Format_RGB32);
                logo.fill(Qt::darkBlue);
                canvas.image(canvas.rect(0, 0, 64.8, 20.6), logo);
                cell(canvas.rect(10.3, 20, 17.7, 4.2), QStringLiteral("16/03/2024"), bold);
                cell(canvas.rect(28.8, 20, 21.7, 4.2), QStringLiteral("Impresso"), regular);
                cell(canvas.rect(51.3, 20, 33.9, 9.0), document + ' ' + document, regular, Qt::AlignLeft);
                cell(canvas.rect(86.0, 20, 36.8, 4.2), QStringLiteral("Impresso"), bold);
                cell(canvas.rect(123.6, 20, 40.0, 4.2), document, regular);
                cell(canvas.rect(165.0, 20, 40.0, 4.2), "Financeiro | " + document, bold, Qt::AlignLeft);
                cell(canvas.rect(207.7, 20, 13.2, 4.2), QStringLiteral("16/03/2024"), regular);
                canvas.vertical(10.1, 20, 8.7);
                settle();
                canvas.horizontal(10.3, 24.2, 266.7);
                settle();
                canvas.fill(canvas.rect(10.1, 24.8, 22.8, 4.2), Qt::white);
                cell(canvas.rect(10.1, 24.8, 22.8, 4.2), QStringLiteral("Observações:"), caption);
                cell(canvas.rect(33.3, 24.8, 243.9, 4.2), QStringLiteral("Impresso"), regular, Qt::AlignLeft);
                canvas.vertical(277, 24.2, 5.3); // meets the frame's corner, under it
                settle();
                canvas.frame(canvas.rect(0, 20, 277, 9.5));
                cell(canvas.rect(0.8, 29.5, 206.6, 4.8), QStringLiteral("Observações:"), regular);
            };
        };

        for (const QPaintEngine::Type engine : engines) {
            const Drawing held = record(engine, band(true));
            const Drawing atOnce = record(engine, band(false));
            QCOMPARE(held.glyphs, atOnce.glyphs);
            QCOMPARE(held.shapes, atOnce.shapes);
            QMap<int, int> runs; // of glyphs, by the fills and images drawn before them
            for (const TextPiece& piece : held.pieces) {
                if (piece.text.isEmpty())
                    ++runs[piece.layer];
            }
            if (engine == QPaintEngine::Picture)
                QVERIFY2(runs.isEmpty(), "the preview gets glyphs it keeps only as outlines");
            else // one for each font between two fills
                QCOMPARE(runs, (QMap<int, int>{{0, 1}, {1, 2}, {2, 2}}));
        }
    }
};

QTEST_MAIN(tst_ReportCanvas)
#include "tst_ReportCanvas.moc"
