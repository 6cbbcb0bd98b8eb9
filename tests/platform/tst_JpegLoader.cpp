#include "AppError.h"
#include "JpegLoader.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <jpeglib.h>

namespace {

// Four 16 × 16 quadrants, aligned on the coder's blocks so that each centre decodes cleanly.
const QColor Quadrants[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(128, 128, 128)};
constexpr int Side = 32;

int quadrantOf(int x, int y)
{
    return (y >= Side / 2 ? 2 : 0) + (x >= Side / 2 ? 1 : 0);
}

QPoint centreOf(int quadrant)
{
    return {(quadrant % 2) * Side / 2 + Side / 4, (quadrant / 2) * Side / 2 + Side / 4};
}

enum class Model { Gray, Cmyk, AdobeCmyk, AdobeYcck };

// The pixel of quadrant q in the stored form of the model. CMYK is derived from RGB as inks; Adobe
// files store the inks inverted.
QByteArray samplesOf(Model model, const QColor& color)
{
    if (model == Model::Gray)
        return QByteArray(1, char(qGray(color.rgb())));
    const int k = 255 - std::max({color.red(), color.green(), color.blue()});
    auto ink = [k](int channel) { return k == 255 ? 0 : (255 - channel - k) * 255 / (255 - k); };
    int inks[4] = {ink(color.red()), ink(color.green()), ink(color.blue()), k};
    QByteArray samples;
    for (int value : inks)
        samples.append(char(model == Model::Cmyk ? value : 255 - value));
    return samples;
}

// Writes the four-quadrant picture with libjpeg itself: Qt cannot write grey-only or CMYK files.
QByteArray encode(Model model)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = Side;
    info.image_height = Side;
    info.input_components = model == Model::Gray ? 1 : 4;
    info.in_color_space = model == Model::Gray ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&info);
    if (model == Model::AdobeYcck)
        jpeg_set_colorspace(&info, JCS_YCCK);
    // libjpeg marks every CMYK file as Adobe; a plain CMYK file is one without that marker.
    info.write_Adobe_marker = model != Model::Cmyk && model != Model::Gray;
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    QByteArray row;
    while (info.next_scanline < info.image_height) {
        row.clear();
        for (int x = 0; x < Side; ++x)
            row.append(samplesOf(model, Quadrants[quadrantOf(x, int(info.next_scanline))]));
        JSAMPROW pointer = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray result(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return result;
}

QByteArray encodeWithQt(const QImage& image)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    if (!image.save(&device, "JPEG", 95))
        qFatal("Qt could not write a JPEG");
    return bytes;
}

QImage quadrantsImage()
{
    QImage image(Side, Side, QImage::Format_RGB32);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            image.setPixelColor(x, y, Quadrants[quadrantOf(x, y)]);
    return image;
}

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QString describe(const QColor& color)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// Offset just past the start-of-scan marker: where the compressed image data begins.
qsizetype scanDataStart(const QByteArray& jpeg)
{
    const qsizetype marker = jpeg.indexOf(QByteArray("\xff\xda", 2));
    Q_ASSERT(marker > 0);
    const int length = (uchar(jpeg[marker + 2]) << 8) | uchar(jpeg[marker + 3]);
    return marker + 2 + length;
}

} // namespace

class tst_JpegLoader : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(folder.isValid()); }

    void decodesEachColourModel_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<bool>("gray");
        QTest::newRow("RGB written by Qt") << encodeWithQt(quadrantsImage()) << false;
        QTest::newRow("grayscale") << encode(Model::Gray) << true;
        QTest::newRow("CMYK, plain") << encode(Model::Cmyk) << false;
        QTest::newRow("CMYK, Adobe inverted") << encode(Model::AdobeCmyk) << false;
        QTest::newRow("YCCK, Adobe inverted") << encode(Model::AdobeYcck) << false;
    }

    void decodesEachColourModel()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(bool, gray);
        QStringList warnings;
        const QImage image = JpegLoader::load(write(QStringLiteral("model.jpg"), jpeg), &warnings);
        QCOMPARE(image.size(), QSize(Side, Side));
        QCOMPARE(image.format(), gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        QVERIFY(warnings.isEmpty());
        for (int q = 0; q < 4; ++q) {
            const QColor expected =
                gray ? QColor(qGray(Quadrants[q].rgb()), qGray(Quadrants[q].rgb()), qGray(Quadrants[q].rgb()))
                     : Quadrants[q];
            const QColor actual = image.pixelColor(centreOf(q));
            QVERIFY2(near(actual, expected, 10),
                     qPrintable(QStringLiteral("quadrant %1: %2").arg(q).arg(describe(actual))));
        }
    }

    void truncatedDataLoadsWithGreyFill()
    {
        // A picture with detail everywhere, so that the compressed data is spread over the whole image.
        QImage source(128, 128, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) * 2 % 256));
        source.setPixel(0, 0, qRgb(255, 0, 0));
        const QByteArray whole = encodeWithQt(source);
        const qsizetype start = scanDataStart(whole);
        const QByteArray cut = whole.left(start + (whole.size() - start) / 3);

        QStringList warnings;
        const QImage image = JpegLoader::load(write(QStringLiteral("cut.jpg"), cut), &warnings);
        QCOMPARE(image.size(), source.size());
        QVERIFY(!warnings.isEmpty());
        QVERIFY2(near(image.pixelColor(1, 1), source.pixelColor(1, 1), 40),
                 qPrintable(describe(image.pixelColor(1, 1))));
        QCOMPARE(image.pixelColor(127, 127), QColor(128, 128, 128));
    }

    void unreadableFilesAreErrorsNamingTheFile_data()
    {
        const QByteArray valid = encodeWithQt(quadrantsImage());
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: the file is not created
        QTest::newRow("missing") << QStringLiteral("ausente.jpg") << QByteArray();
        QTest::newRow("empty") << QStringLiteral("vazio.jpg") << QByteArray("");
        QTest::newRow("text") << QStringLiteral("texto.jpg") << QByteArray("Isto não é uma imagem.\r\n");
        QTest::newRow("only the start marker") << QStringLiteral("soi.jpg") << valid.left(2);
        QTest::newRow("cut in the header") << QStringLiteral("cabecalho.jpg") << valid.left(100);
        QTest::newRow("cut before the image data")
            << QStringLiteral("sos.jpg") << valid.left(scanDataStart(valid) - 4);
        QTest::newRow("a PNG") << QStringLiteral("png.jpg") << [] {
            QByteArray png;
            QBuffer device(&png);
            device.open(QIODevice::WriteOnly);
            quadrantsImage().save(&device, "PNG");
            return png;
        }();
    }

    void unreadableFilesAreErrorsNamingTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = bytes.isNull() ? folder.filePath(name) : write(name, bytes);
        try {
            const QImage image = JpegLoader::load(path);
            QFAIL(
                qPrintable(QStringLiteral("loaded a %1 × %2 image").arg(image.width()).arg(image.height())));
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(name), qPrintable(error.message()));
            QVERIFY2(error.message().contains(QStringLiteral("imagem"), Qt::CaseInsensitive),
                     qPrintable(error.message()));
        }
    }

    void aFolderIsNotAPicture() { QVERIFY_THROWS_EXCEPTION(AppError, JpegLoader::load(folder.path())); }

    // The pictures shipped in Imagens/ decode here at the sizes the windows lay out.
    void installationPictures()
    {
        const QString pictures = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../Imagens/");
        QStringList warnings;
        QCOMPARE(JpegLoader::load(pictures + "CorvelLane.jpg", &warnings).size(), QSize(249, 50));
        QCOMPARE(JpegLoader::load(pictures + "ImgCota.jpg", &warnings).size(), QSize(49, 49));
        QVERIFY(warnings.isEmpty());
        const QImage logo(pictures + "CorvelLane_Rel.bmp");
        QCOMPARE(logo.size(), QSize(765, 243));
        QFile bmp(pictures + "CorvelLane_Rel.bmp");
        QVERIFY(bmp.open(QIODevice::ReadOnly));
        const QByteArray header = bmp.read(30);
        QVERIFY(header.startsWith("BM"));
        QCOMPARE(uchar(header[28]) | uchar(header[29]) << 8, 24); // bits per pixel
    }

    // Damaged files either decode or fail as AppError; the process never ends or crashes.
    void randomlyDamagedFilesNeverEndTheProgram()
    {
        const QByteArray valid = encodeWithQt(quadrantsImage());
        QRandomGenerator random(20240607);
        int loaded = 0, refused = 0;
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = valid;
            const int flips = 1 + int(random.bounded(8));
            for (int i = 0; i < flips; ++i)
                damaged[qsizetype(random.bounded(quint32(damaged.size())))] = char(random.bounded(256));
            try {
                JpegLoader::load(write(QStringLiteral("damaged.jpg"), damaged));
                ++loaded;
            } catch (const AppError&) {
                ++refused;
            }
        }
        QCOMPARE(loaded + refused, 300);
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(tst_JpegLoader)
#include "tst_JpegLoader.moc"
