#include "Clock.h"

#include <QTest>

class tst_Clock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stampTimeIsTheCurrentSecond()
    {
        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime stamp = Clock::stampTime();
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(stamp.timeSpec(), Qt::LocalTime);
        QVERIFY(stamp.toSecsSinceEpoch() >= before.toSecsSinceEpoch());
        QVERIFY(stamp.toSecsSinceEpoch() <= after.toSecsSinceEpoch());
        if (stamp.time().hour() != 0 || stamp.time().minute() != 0 || stamp.time().second() != 0)
            QCOMPARE(stamp.time().msec(), 0);
    }

    void installedSourceIsTakenAsItIs()
    {
        const QDateTime moment(QDate(2026, 12, 10), QTime(0, 0, 0, 250));
        Clock::setSourceForTesting([moment] { return moment; });
        QCOMPARE(Clock::stampTime(), moment); // exact midnight must stay told apart from this
        QCOMPARE(Clock::now(), moment);
        Clock::setSourceForTesting({});
    }
};

QTEST_GUILESS_MAIN(tst_Clock)
#include "tst_Clock.moc"
