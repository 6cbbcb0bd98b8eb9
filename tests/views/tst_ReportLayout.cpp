#include "CampoData.h"
#include "ReportLayout.h"

#include <QAction>
#include <QCalendarWidget>
#include <QTest>

using Kind = ReportBand::Kind;

class tst_ReportLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Bands never cross the bottom of the area, the header opens every page, the title only the first,
    // every row is placed once and in order, and the summary comes last.
    void pagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::addColumn<bool>("summaryAlone");

        // Page 1 holds 17 details under the title and header (27.2 + 17 × 9.5 = 188.7 mm), later
        // pages 19 (5 + 19 × 9.5 = 185.5 mm); the summary (4.8 mm) fits below neither.
        QTest::newRow("one row") << 1 << QList<int>{1} << false;
        QTest::newRow("first page full, summary moves on") << 17 << QList<int>{17, 0} << true;
        QTest::newRow("one row over the first page") << 18 << QList<int>{17, 1} << false;
        QTest::newRow("summary under the last row of page 2") << 35 << QList<int>{17, 18} << false;
        QTest::newRow("second page full, summary moves on") << 36 << QList<int>{17, 19, 0} << true;
        QTest::newRow("sixty rows") << 60 << QList<int>{17, 19, 19, 5} << false;
    }
    void pagination()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsPerPage);
        QFETCH(bool, summaryAlone);

        const QList<ReportPage> pages = ReportLayout::paginate(rows);
        QCOMPARE(pages.size(), rowsPerPage.size());
        qsizetype expectedRow = 0;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const QList<ReportBand>& bands = pages.at(p).bands;
            qsizetype first = 0;
            if (p == 0) {
                QCOMPARE(bands.at(0), (ReportBand{Kind::Title, 0.0, -1}));
                first = 1;
            }
            QCOMPARE(bands.at(first).kind, Kind::ColumnHeader);
            QCOMPARE(bands.at(first).top, p == 0 ? ReportGeometry::TitleHeight : 0.0);
            int details = 0;
            double previousBottom = 0.0;
            for (const ReportBand& band : bands) {
                QVERIFY2(band.top >= previousBottom - 1e-9, "bands overlap");
                previousBottom = band.top + ReportLayout::heightOf(band.kind);
                QVERIFY2(previousBottom <= ReportGeometry::AreaHeight + 1e-9, "band crosses the page bottom");
                if (band.kind == Kind::Title)
                    QCOMPARE(p, 0);
                if (band.kind == Kind::Detail) {
                    QCOMPARE(band.row, expectedRow++);
                    ++details;
                }
            }
            QCOMPARE(details, rowsPerPage.at(p));
        }
        QCOMPARE(expectedRow, qsizetype(rows));
        const QList<ReportBand>& last = pages.last().bands;
        QCOMPARE(last.last().kind, Kind::Summary);
        QCOMPARE(last.size() == 2, summaryAlone); // header + summary
    }

    // Dates are typed in the workstation's short format (pt_BR here); anything else is no date.
    void dateTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");

        QTest::newRow("short format") << "05/03/2024" << QDate(2024, 3, 5);
        QTest::newRow("last day of a leap February") << "29/02/2024" << QDate(2024, 2, 29);
        QTest::newRow("blanks in the day") << "  /03/2024" << QDate();
        QTest::newRow("blank inside the day") << "1 /03/2024" << QDate();
        QTest::newRow("day that does not exist") << "31/02/2024" << QDate();
        QTest::newRow("month first") << "2024/03/05" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("words") << "hoje" << QDate();
    }
    void dateTexts()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);

        CampoData field;
        field.setText(text);
        const std::optional<QDate> read = field.date();
        QCOMPARE(read.value_or(QDate()), date);
    }

    void setDateWritesTheShortFormat()
    {
        CampoData field;
        field.setDate(QDate(2024, 3, 5));
        QCOMPARE(field.text(), QStringLiteral("05/03/2024"));
    }

    void calendarDropsDownOnTheFieldsDate()
    {
        CampoData field;
        field.setDate(QDate(2024, 3, 5));
        field.show();
        QVERIFY(!field.actions().constFirst()->icon().isNull()); // the button's arrow
        field.AbreCalendario();
        auto* calendar = field.findChild<QCalendarWidget*>();
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2024, 3, 5));
        Q_EMIT calendar->clicked(QDate(2024, 3, 20));
        QCOMPARE(field.text(), QStringLiteral("20/03/2024"));
        QVERIFY(calendar->isHidden());
    }
};

QTEST_MAIN(tst_ReportLayout)
#include "tst_ReportLayout.moc"
