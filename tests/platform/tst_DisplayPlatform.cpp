#include "DisplayPlatform.h"

#include <QTest>

class tst_DisplayPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void x11WheneverAnXDisplayIsOffered_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("preferred");
        QTest::newRow("Wayland session with XWayland")
            << QByteArray() << QByteArray(":1") << QByteArray("xcb");
        QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray("xcb");
        QTest::newRow("Wayland only") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("someone chose Wayland") << QByteArray("wayland") << QByteArray(":1") << QByteArray();
        QTest::newRow("someone chose offscreen") << QByteArray("offscreen") << QByteArray() << QByteArray();
    }

    void x11WheneverAnXDisplayIsOffered()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, preferred);
        QCOMPARE(DisplayPlatform::preferred(chosen, display), preferred);
    }

    void onlyWaylandCannotPlaceWindows()
    {
        QVERIFY(DisplayPlatform::placesOwnWindows("xcb"));
        QVERIFY(DisplayPlatform::placesOwnWindows("offscreen"));
        QVERIFY(!DisplayPlatform::placesOwnWindows("wayland"));
        QVERIFY(!DisplayPlatform::placesOwnWindows("wayland-egl"));
    }
};

QTEST_GUILESS_MAIN(tst_DisplayPlatform)
#include "tst_DisplayPlatform.moc"
