#include "Clock.h"

#include <QTest>

class tst_Clock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bothFormsTellTheSameMoment()
    {
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        const qint64 msecs = Clock::msecsSinceEpoch();
        QVERIFY(msecs >= before && msecs <= QDateTime::currentMSecsSinceEpoch());

        const QDateTime moment(QDate(2026, 12, 10), QTime(0, 0, 0, 250));
        Clock::setSourceForTesting([moment] { return moment; });
        QCOMPARE(Clock::now(), moment);
        QCOMPARE(Clock::msecsSinceEpoch(), moment.toMSecsSinceEpoch());
        Clock::setSourceForTesting({});
    }
};

QTEST_GUILESS_MAIN(tst_Clock)
#include "tst_Clock.moc"
