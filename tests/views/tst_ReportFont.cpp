#include "Fonts.h"
#include "ReportFont.h"

#include <QImage>
#include <QTest>

namespace {

// A page at the resolution the report prints at.
QImage printerPage()
{
    QImage page(8, 8, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(1200 / 0.0254);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    return page;
}

const QString document = QStringLiteral("Relatório trimestral de despesas operacionais número 1234.xlsx");
const QString ellipsis = QStringLiteral("…");

} // namespace

class tst_ReportFont : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a cell shows: the whole text when it fits; otherwise the text wrapped within the cell's width,
    // the lines that fit whole in its height (the first one always), and "…" closing the last one shown
    // when text is left over. The cell is as wide as a share of the text plus a margin in pixels, as high
    // as a number of lines.
    void shownText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("share");
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("lines");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("shownLines");
        QTest::addColumn<bool>("elided");

        QTest::newRow("fits with room") << "HP-Financeiro" << 1.0 << 40.0 << 1.3 << false << 1 << false;
        QTest::newRow("fits, bold") << "Cancelado" << 1.0 << 40.0 << 1.3 << true << 1 << false;
        QTest::newRow("exactly as wide as its cell")
            << "Impresso" << 1.0 << 0.0 << 1.3 << false << 1 << false;
        QTest::newRow("a pixel too wide, one line high")
            << "Impresso" << 1.0 << -1.0 << 1.3 << false << 1 << true;
        QTest::newRow("too wide, one line high") << document << 1.0 << -300.0 << 1.3 << false << 1 << true;
        QTest::newRow("too wide, bold") << document << 1.0 << -300.0 << 1.3 << true << 1 << true;
        QTest::newRow("lower than a line: the first line still shows")
            << document << 1.0 << -300.0 << 0.6 << false << 1 << true;
        QTest::newRow("room for two lines: wraps") << document << 1.0 << -300.0 << 2.3 << false << 2 << false;
        QTest::newRow("three lines' worth in room for two: wraps and elides")
            << document + ' ' + document + ' ' + document << 0.4 << 0.0 << 2.3 << false << 2 << true;
        QTest::newRow("a word longer than the line breaks inside")
            << QString(60, u'W') << 1.0 << -200.0 << 2.3 << false << 2 << false;
        QTest::newRow("line breaks in the text show as spaces")
            << "Linha 1\nLinha 2\r\nLinha 3" << 1.0 << 40.0 << 2.3 << false << 1 << false;
        QTest::newRow("empty") << "" << 1.0 << 10.0 << 1.3 << false << 1 << false;
    }
    void shownText()
    {
        QFETCH(QString, text);
        QFETCH(double, share);
        QFETCH(double, margin);
        QFETCH(double, lines);
        QFETCH(bool, bold);
        QFETCH(int, shownLines);
        QFETCH(bool, elided);

        QImage page = printerPage();
        const QFontMetricsF metrics(Fonts::arial(8, bold), &page);
        QString oneParagraph = text;
        oneParagraph.replace("\r\n", "  ").replace('\n', ' ');
        const QSizeF cell(share * metrics.horizontalAdvance(oneParagraph) + margin, lines * metrics.height());

        const QString shown = ReportFont(Fonts::arial(8, bold), &page).shownText(text, cell);
        const QStringList shownAsLines = shown.split(u'\n');
        QCOMPARE(shownAsLines.size(), shownLines);
        QCOMPARE(shown.endsWith(ellipsis), elided);
        QString withoutEllipsis = shownAsLines.join(QString());
        if (elided)
            withoutEllipsis.chop(ellipsis.size());
        QVERIFY2(oneParagraph.startsWith(withoutEllipsis), qPrintable(shown));
        QCOMPARE(withoutEllipsis.size() == oneParagraph.size(), !elided);
        for (const QString& line : shownAsLines)
            QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= cell.width(), qPrintable(line));
    }
};

QTEST_MAIN(tst_ReportFont)
#include "tst_ReportFont.moc"
