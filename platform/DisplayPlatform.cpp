#include "DisplayPlatform.h"

namespace DisplayPlatform {

QByteArray preferred(const QByteArray& chosenPlatform, const QByteArray& xDisplay)
{
    return chosenPlatform.isEmpty() && !xDisplay.isEmpty() ? QByteArrayLiteral("xcb") : QByteArray();
}

void choose()
{
    const QByteArray platform = preferred(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool placesOwnWindows(const QString& platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

QString cannotDockMessage()
{
    return QStringLiteral("Sessão Wayland sem servidor X: o painel não pode ser fixado no canto da tela.");
}

} // namespace DisplayPlatform
