#include "Fontes.h"

#include <QStringList>

namespace Fontes {

QFont msSansSerif(int pixels, bool negrito)
{
    QFont fonte;
    fonte.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    fonte.setPixelSize(pixels);
    fonte.setBold(negrito);
    return fonte;
}

QFont arial(qreal pontos, bool negrito)
{
    QFont fonte;
    fonte.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    fonte.setPointSizeF(pontos);
    fonte.setBold(negrito);
    return fonte;
}

} // namespace Fontes
