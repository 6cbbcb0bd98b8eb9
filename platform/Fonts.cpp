#include "Fonts.h"

namespace Fonts {

void installSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("System"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QFont msSansSerif(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
