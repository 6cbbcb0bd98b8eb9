#include "ExecutableFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString overridden;

QString withSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
} // namespace

namespace ExecutableFolder {

QString path()
{
    return overridden.isEmpty() ? withSeparator(QCoreApplication::applicationDirPath()) : overridden;
}

void setForTesting(const QString& folder)
{
    overridden = folder.isEmpty() ? QString() : withSeparator(QDir(folder).absolutePath());
}

} // namespace ExecutableFolder
