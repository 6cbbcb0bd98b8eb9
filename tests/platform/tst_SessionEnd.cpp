#include "SessionEnd.h"

#include <QCloseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <csignal>

namespace {

// A window that answers a close by staying, as the agent's main window and an XEmbed tray icon do.
class StubbornWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

class tst_SessionEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sessionManagersQuitIsReportedWhateverTheWindowsSay()
    {
        SessionEnd sessionEnd;
        QSignalSpy ended(&sessionEnd, &SessionEnd::ended);
        StubbornWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // What Qt's XSMP client does on the session manager's "die".
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
        QCOMPARE(ended.count(), 1);
    }

    void terminationSignalsAreReportedOnTheEventLoop_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void terminationSignalsAreReportedOnTheEventLoop()
    {
        QFETCH(int, signal);
        SessionEnd sessionEnd;
        QSignalSpy ended(&sessionEnd, &SessionEnd::ended);
        std::raise(signal);
        QCOMPARE(ended.count(), 0);
        QTRY_COMPARE(ended.count(), 1);
    }
};

QTEST_MAIN(tst_SessionEnd)
#include "tst_SessionEnd.moc"
