#include "Fonts.h"
#include "ReportCanvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTest>
#include <climits>
#include <optional>

namespace {

// One piece of text as it reaches the paint engine, what a PDF or the preview is made of: where and
// in which font, and the clip it is drawn under, if any.
struct DrawnText {
    QPointF position;
    QString text;
    QFont font;
    QRectF ink;
    std::optional<QRectF> clip;

    // Same text in the same place: where the ink goes follows, whatever the clip.
    bool operator==(const DrawnText& other) const
    {
        return position == other.position && text == other.text && font == other.font;
    }
};

QString describe(const DrawnText& drawn)
{
    return QStringLiteral("'%1' at %2, %3 in %4, ink %5, %6, %7 × %8")
        .arg(drawn.text)
        .arg(drawn.position.x(), 0, 'f', 6)
        .arg(drawn.position.y(), 0, 'f', 6)
        .arg(drawn.font.toString())
        .arg(drawn.ink.x(), 0, 'f', 2)
        .arg(drawn.ink.y(), 0, 'f', 2)
        .arg(drawn.ink.width(), 0, 'f', 2)
        .arg(drawn.ink.height(), 0, 'f', 2);
}

char* toString(const DrawnText& drawn)
{
    return qstrdup(describe(drawn).toUtf8().constData());
}

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        const QRectF ink =
            QFontMetricsF(item.font(), paintDevice()).tightBoundingRect(item.text()).translated(position);
        std::optional<QRectF> clip;
        if (painter()->hasClipping())
            clip = painter()->clipBoundingRect();
        drawn.append({position, item.text(), item.font(), ink, clip});
    }
    Type type() const override { return QPaintEngine::User; }

    QList<DrawnText> drawn;
};

// A page at the resolution the report prints at, keeping the text drawn on it.
class RecordingPage : public QPaintDevice {
public:
    static constexpr int dpi = 1200;

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<DrawnText>& drawn() const { return m_engine.drawn; }

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

using CellDrawing = void (*)(ReportCanvas&, const QRectF&, const QString&, const ReportCanvas::Font&,
                             Qt::Alignment);

QList<DrawnText> draw(CellDrawing drawing, const QRectF& box, const QString& text, bool bold,
                      Qt::Alignment alignment)
{
    RecordingPage page;
    QPainter painter(&page);
    ReportCanvas canvas(painter, page);
    const ReportCanvas::Font font(Fonts::arial(8, bold), &page);
    drawing(canvas, box, text, font, alignment);
    return page.drawn();
}

} // namespace

class tst_ReportCanvas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A cell draws what the full text layout draws (the same pieces of text, in the same places and
    // fonts), whether it fits, fits only just, is elided into one line or wraps; and none of its ink
    // crosses the box's sides unless under a clip to the box, as the layout's always is. The box is
    // as wide as the text plus a margin in pixels, at odd offsets so that positions fall between pixels.
    void cellMatchesTheFullLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("lines"); // the box's height, in lines of the font
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("alignment");

        const QString document =
            QStringLiteral("Relatório trimestral de despesas operacionais número 1234.xlsx");
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
        QTest::newRow("ink below the descent, box as low as a line")
            << "Financeiro | HP" << 40.0 << 1.0 << false << centred;
        QTest::newRow("too wide for one line: elided") << document << -300.0 << 1.3 << false << centred;
        QTest::newRow("too wide, first letter's ink before the box")
            << "já " + document << -300.0 << 1.3 << false << left;
        QTest::newRow("too wide, bold, by a few pixels") << document << -3.0 << 1.3 << true << centred;
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

        RecordingPage page;
        const QFontMetricsF metrics(Fonts::arial(8, bold), &page);
        const QRectF box(1000.37, 2000.71, metrics.horizontalAdvance(text) + margin,
                         lines * metrics.height());

        const QList<DrawnText> cell = draw(
            [](ReportCanvas& canvas, const QRectF& box, const QString& text, const ReportCanvas::Font& font,
               Qt::Alignment alignment) { canvas.text(box, text, font, alignment); },
            box, text, bold, Qt::Alignment(alignment));
        const QList<DrawnText> layout = draw(
            [](ReportCanvas& canvas, const QRectF& box, const QString& text, const ReportCanvas::Font& font,
               Qt::Alignment alignment) { canvas.formattedText(box, text, font, alignment, {}); },
            box, text, bold, Qt::Alignment(alignment));
        QCOMPARE(cell, layout);
        // A 64th of a pixel over the top and the left side: the layout's own rounding.
        const QRectF inside = box.adjusted(-1.0 / 64, -1.0 / 64, 0, 0);
        for (const DrawnText& piece : cell) {
            const bool clipped = piece.clip && box.contains(*piece.clip);
            QVERIFY2(clipped || inside.contains(piece.ink), qPrintable(describe(piece)));
        }
    }
};

QTEST_MAIN(tst_ReportCanvas)
#include "tst_ReportCanvas.moc"
