#include "DicaDaBandeja.h"
#include "TTrayIcon.h"
#include "TrayHost.h"
#include "TrayImages.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

class tst_TTrayIcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void imageIndexStopsAtTheLastImage()
    {
        TTrayIcon icon;
        QCOMPARE(icon.IconIndex(), 0);
        icon.setIconIndex(9);
        QCOMPARE(icon.IconIndex(), 9);
        icon.setIconIndex(TrayImages::Count + 5);
        QCOMPARE(icon.IconIndex(), TrayImages::Count - 1);
    }

    void hintIsCutAndOffUntilSwitchedOn()
    {
        TTrayIcon icon;
        QVERIFY(!icon.ShowHint());
        const QString hint = TextoDaDica(QString(200, QLatin1Char('u')), false, 3);
        icon.setHint(hint);
        QCOMPARE(icon.Hint(), hint.left(127));
        icon.setShowHint(true);
        QVERIFY(icon.ShowHint());
    }

    void hintShowsAtOnceWhereNoMouseMoveComes()
    {
        // Offscreen, as on a StatusNotifier tray, there is no XEmbed icon to see the pointer.
        TTrayIcon icon;
        icon.show();
        QVERIFY(!TrayHost::isXEmbed());
        icon.setHint(QStringLiteral("CorvelLane\rUsuário: ana"));
        QVERIFY(!icon.ShowHint());
        QVERIFY(icon.shownToolTip().contains(QStringLiteral("ana")));
    }

    void tooltipText_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << "jsilva" << false << 37
                                 << QString::fromUtf8("CorvelLane\rUsuário: jsilva\rCota disponível: 37");
        QTest::newRow("unlimited whatever remains")
            << "ana" << true << 12
            << QString::fromUtf8("CorvelLane\rUsuário: ana\rCota disponível: Infinita");
        QTest::newRow("negative keeps its sign")
            << "bia" << false << -4 << QString::fromUtf8("CorvelLane\rUsuário: bia\rCota disponível: -4");
        QTest::newRow("no grouping") << "c" << false << 123456
                                     << QString::fromUtf8("CorvelLane\rUsuário: c\rCota disponível: 123456");
    }

    void tooltipText()
    {
        QFETCH(QString, login);
        QFETCH(bool, unlimited);
        QFETCH(int, remaining);
        QFETCH(QString, text);
        QCOMPARE(TextoDaDica(login, unlimited, remaining), text);
    }

    void refreshOnlyAfterFiveSeconds()
    {
        const QDateTime last(QDate(2026, 12, 10), QTime(10, 0, 0));
        QVERIFY(!RestantesVencidas(last, last.addSecs(3)));
        QVERIFY(!RestantesVencidas(last, last.addSecs(5)));
        QVERIFY(RestantesVencidas(last, last.addMSecs(5001)));
    }

    void doubleClickIsReportedOnce()
    {
        TTrayIcon icon;
        QSignalSpy clicks(&icon, &TTrayIcon::Click);
        QSignalSpy doubles(&icon, &TTrayIcon::DblClick);
        icon.handleActivation(QSystemTrayIcon::Trigger);
        icon.handleActivation(QSystemTrayIcon::DoubleClick);
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(clicks.count(), 0);

        icon.handleActivation(QSystemTrayIcon::Trigger);
        QCOMPARE(clicks.count(), 0); // not before the double-click time has passed
        QVERIFY(clicks.wait(QApplication::doubleClickInterval() + 500));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(doubles.count(), 1);

        // A StatusNotifier host reports a double click as two activations, each a Trigger.
        icon.handleActivation(QSystemTrayIcon::Trigger);
        icon.handleActivation(QSystemTrayIcon::Trigger);
        QTRY_COMPARE(clicks.count(), 2);
        QCOMPARE(doubles.count(), 1);
    }

    void balloonLimits()
    {
        TTrayIcon icon;
        icon.ShowBalloonHint(QString(80, QLatin1Char('t')), QString(300, QLatin1Char('x')),
                             QSystemTrayIcon::Information, 10);
        QCOMPARE(icon.lastBalloonTitle().size(), 63);
        QCOMPARE(icon.lastBalloonText().size(), 255);
    }

    void minimiseToTrayHidesTheWindow()
    {
        QWidget window;
        TTrayIcon icon;
        icon.setMainForm(&window);
        icon.ShowMainForm();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        QTRY_VERIFY(window.windowHandle()->windowStates() & Qt::WindowMinimized);
        QTest::qWait(200); // the option is off: nothing hides the window, not even a moment later
        QVERIFY(window.isVisible());
        icon.ShowMainForm();
        QVERIFY(!window.isMinimized());
        icon.setMinimizeToTray(true);
        window.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!window.isVisible());
        icon.ShowMainForm();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(tst_TTrayIcon)
#include "tst_TTrayIcon.moc"
