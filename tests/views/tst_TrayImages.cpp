#include "TrayImages.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

namespace {

const int Sizes[] = {16, 20, 24, 32, 48, 64};

// Share of the pixels that are at least half opaque: how much of the square a picture covers.
double coverage(const QImage& image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) >= 128;
    return double(painted) / (image.width() * image.height());
}

QImage imageOf(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_TrayImages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyImageHasEverySizeDrawn()
    {
        for (int index = 0; index < TrayImages::Count; ++index) {
            const QIcon icon = TrayImages::icon(index);
            QVERIFY(!icon.isNull());
            QList<QSize> held = icon.availableSizes();
            for (int size : Sizes) {
                QVERIFY2(held.contains(QSize(size, size)),
                         qPrintable(QStringLiteral("image %1 at %2").arg(index).arg(size)));
                const QImage image = imageOf(icon, size);
                QCOMPARE(image.size(), QSize(size, size));
                // Drawn, and on a transparent ground (some pixels at least are left clear).
                const double covered = coverage(image);
                QVERIFY2(
                    covered > 0.15 && covered < 1.0,
                    qPrintable(QStringLiteral("image %1 at %2 covers %3").arg(index).arg(size).arg(covered)));
            }
        }
    }

    void imagesDifferFromEachOther()
    {
        QList<QImage> images;
        for (int index = 0; index < TrayImages::Count; ++index)
            images.append(TrayImages::pixmap(index, 16).toImage());
        for (int a = 0; a < images.size(); ++a)
            for (int b = a + 1; b < images.size(); ++b)
                QVERIFY2(images[a] != images[b],
                         qPrintable(QStringLiteral("images %1 and %2").arg(a).arg(b)));
    }

    void indexIsClampedToTheList()
    {
        const QImage last = imageOf(TrayImages::icon(TrayImages::Count - 1), 16);
        QCOMPARE(imageOf(TrayImages::icon(TrayImages::Count), 16), last);
        QCOMPARE(imageOf(TrayImages::icon(1000), 16), last);
        QCOMPARE(imageOf(TrayImages::icon(-1), 16), imageOf(TrayImages::icon(0), 16));
        QCOMPARE(TrayImages::pixmap(42, 24).toImage(),
                 TrayImages::pixmap(TrayImages::Count - 1, 24).toImage());
    }

    // A tray host may ask for a size of its own (22 pixels, say): the image is drawn at it, not
    // scaled from another; painted into a rectangle, it fills it; disabled, it is greyed.
    void sizesAskedForAreDrawn()
    {
        const QIcon icon = TrayImages::icon(3);
        QCOMPARE(imageOf(icon, 22),
                 TrayImages::pixmap(3, 22).toImage().convertToFormat(QImage::Format_ARGB32));

        QImage painted(22, 22, QImage::Format_ARGB32);
        painted.fill(Qt::transparent);
        {
            QPainter painter(&painted);
            icon.paint(&painter, painted.rect());
        }
        QCOMPARE(painted, imageOf(icon, 22));

        QVERIFY(icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage() !=
                icon.pixmap(QSize(16, 16)).toImage());
    }

    // The quota images are told apart by colour alone: red, orange, grey and yellow-green coins.
    void coinStacksCarryTheirColour_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("hue");
        QTest::newRow("6 red") << 6 << "red";
        QTest::newRow("7 orange") << 7 << "orange";
        QTest::newRow("8 grey") << 8 << "grey";
        QTest::newRow("10 yellow-green") << 10 << "yellow-green";
    }

    void coinStacksCarryTheirColour()
    {
        QFETCH(int, index);
        QFETCH(QString, hue);
        const QImage image = TrayImages::pixmap(index, 64).toImage().convertToFormat(QImage::Format_ARGB32);
        double sumHue = 0, sumSaturation = 0;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor color = QColor::fromRgba(image.pixel(x, y));
                if (color.alpha() < 255)
                    continue;
                ++opaque;
                sumSaturation += color.hsvSaturationF();
                if (color.hsvHue() >= 0)
                    sumHue += color.hsvHue() > 300 ? color.hsvHue() - 360 : color.hsvHue();
            }
        QVERIFY(opaque > 0);
        const double meanHue = sumHue / opaque, meanSaturation = sumSaturation / opaque;
        if (hue == "grey") {
            QVERIFY2(meanSaturation < 0.1, qPrintable(QString::number(meanSaturation)));
            return;
        }
        QVERIFY2(meanSaturation > 0.4, qPrintable(QString::number(meanSaturation)));
        const QMap<QString, QPair<int, int>> ranges{
            {"red", {-15, 12}}, {"orange", {20, 45}}, {"yellow-green", {60, 100}}};
        QVERIFY2(meanHue >= ranges[hue].first && meanHue <= ranges[hue].second,
                 qPrintable(QString::number(meanHue)));
    }
};

QTEST_MAIN(tst_TrayImages)
#include "tst_TrayImages.moc"
