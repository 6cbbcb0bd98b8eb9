#include "JpegLoader.h"

#include "AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

constexpr int MaxKeptWarnings = 8;
// Beyond this the file is not one of our pictures; refusing it avoids a huge allocation.
constexpr qint64 MaxPixels = 64LL * 1024 * 1024;

// Everything the libjpeg callbacks touch is plain C data: error_exit leaves through longjmp, which
// skips destructors, so no C++ object may live in a frame that it can jump over.
struct Decoder {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf failed;
    char failure[JMSG_LENGTH_MAX];
    int warningCount;
    char warnings[MaxKeptWarnings][JMSG_LENGTH_MAX];
};

extern "C" void onError(j_common_ptr info)
{
    auto* decoder = static_cast<Decoder*>(info->client_data);
    (*info->err->format_message)(info, decoder->failure);
    std::longjmp(decoder->failed, 1);
}

extern "C" void onMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace messages
    auto* decoder = static_cast<Decoder*>(info->client_data);
    if (decoder->warningCount < MaxKeptWarnings)
        (*info->err->format_message)(info, decoder->warnings[decoder->warningCount]);
    ++decoder->warningCount;
    ++info->err->num_warnings;
}

// Reads the header and starts decompression. False when libjpeg gave up (decoder->failure says why).
// Never inlined: the caller holds C++ objects that a longjmp into its frame would skip.
[[gnu::noinline]] bool start(Decoder* decoder, const unsigned char* data, unsigned long size)
{
    if (setjmp(decoder->failed))
        return false;
    jpeg_mem_src(&decoder->info, data, size);
    jpeg_read_header(&decoder->info, TRUE);
    // libjpeg cannot turn CMYK or YCCK into RGB itself.
    const J_COLOR_SPACE stored = decoder->info.jpeg_color_space;
    decoder->info.out_color_space = stored == JCS_GRAYSCALE                    ? JCS_GRAYSCALE
                                    : stored == JCS_CMYK || stored == JCS_YCCK ? JCS_CMYK
                                                                               : JCS_RGB;
    jpeg_start_decompress(&decoder->info);
    return true;
}

// Reads every scanline into rows of the given layout. False when libjpeg gave up.
[[gnu::noinline]] bool readRows(Decoder* decoder, unsigned char* bits, std::size_t bytesPerLine)
{
    if (setjmp(decoder->failed))
        return false;
    while (decoder->info.output_scanline < decoder->info.output_height) {
        JSAMPROW row = bits + decoder->info.output_scanline * bytesPerLine;
        jpeg_read_scanlines(&decoder->info, &row, 1);
    }
    jpeg_finish_decompress(&decoder->info);
    return true;
}

// Adobe applications store CMYK inverted (0 is full ink); other writers store it plainly.
void cmykToRgb(const unsigned char* cmyk, unsigned char* rgb, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const auto ink = [&](int i) { return inverted ? cmyk[i] : 255 - cmyk[i]; };
        for (int i = 0; i < 3; ++i)
            rgb[i] = static_cast<unsigned char>((ink(i) * ink(3) + 127) / 255);
    }
}

} // namespace

namespace JpegLoader {

QImage load(const QString& path, QStringList* warnings)
{
    if (warnings)
        warnings->clear();
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw AppError(QStringLiteral("Imagem não encontrada: \"%1\"").arg(shown));
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(
            QStringLiteral("Não foi possível abrir a imagem \"%1\": %2").arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(
            QStringLiteral("Não foi possível ler a imagem \"%1\": %2").arg(shown, file.errorString()));
    if (bytes.isEmpty())
        throw AppError(QStringLiteral("A imagem \"%1\" está vazia").arg(shown));

    auto decoder = std::make_unique<Decoder>(); // value-initialised: all zero
    decoder->info.err = jpeg_std_error(&decoder->errors);
    decoder->errors.error_exit = onError;
    decoder->errors.emit_message = onMessage;
    jpeg_create_decompress(&decoder->info);
    decoder->info.client_data = decoder.get();

    auto fail = [&](const QString& reason) {
        jpeg_destroy_decompress(&decoder->info);
        return AppError(QStringLiteral("A imagem \"%1\" não pôde ser lida como JPEG: %2").arg(shown, reason));
    };

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (!start(decoder.get(), data, static_cast<unsigned long>(bytes.size())))
        throw fail(QString::fromLocal8Bit(decoder->failure));

    const int width = static_cast<int>(decoder->info.output_width);
    const int height = static_cast<int>(decoder->info.output_height);
    if (qint64(width) * height > MaxPixels)
        throw fail(QStringLiteral("dimensões grandes demais (%1 × %2)").arg(width).arg(height));

    const bool gray = decoder->info.out_color_space == JCS_GRAYSCALE;
    const bool cmyk = decoder->info.out_color_space == JCS_CMYK;
    // CMYK rows are decoded into a scratch buffer of 4 bytes a pixel, then converted.
    QImage image(width, height, gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (image.isNull() || (gray ? 1 : cmyk ? 4 : 3) != decoder->info.output_components)
        throw fail(QStringLiteral("formato de imagem não suportado"));
    const std::size_t bytesPerLine = cmyk ? std::size_t(width) * 4 : std::size_t(image.bytesPerLine());
    QByteArray scratch(cmyk ? qsizetype(bytesPerLine) * height : 0, Qt::Uninitialized);
    unsigned char* rows = cmyk ? reinterpret_cast<unsigned char*>(scratch.data()) : image.bits();

    if (!readRows(decoder.get(), rows, bytesPerLine))
        throw fail(QString::fromLocal8Bit(decoder->failure));

    if (cmyk) {
        const bool inverted = decoder->info.saw_Adobe_marker;
        for (int y = 0; y < height; ++y)
            cmykToRgb(rows + y * bytesPerLine, image.scanLine(y), width, inverted);
    }

    for (int i = 0; warnings && i < std::min(decoder->warningCount, MaxKeptWarnings); ++i)
        warnings->append(QString::fromLocal8Bit(decoder->warnings[i]));
    jpeg_destroy_decompress(&decoder->info);
    return image;
}

} // namespace JpegLoader
