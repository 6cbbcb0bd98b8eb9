#include "Fonts.h"

namespace {

QFont withFallbacks(const char* family, bool bold)
{
    QFont font;
    font.setFamilies(
        {QLatin1String(family), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setBold(bold);
    return font;
}

} // namespace

namespace Fonts {

QFont msSansSerif(int pixelSize, bool bold)
{
    QFont font = withFallbacks("MS Sans Serif", bold);
    font.setPixelSize(pixelSize);
    return font;
}

QFont system(int pixelSize, bool bold)
{
    QFont font = withFallbacks("System", bold);
    font.setPixelSize(pixelSize);
    return font;
}

QFont arial(qreal pointSize, bool bold)
{
    QFont font = withFallbacks("Arial", bold);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace Fonts
