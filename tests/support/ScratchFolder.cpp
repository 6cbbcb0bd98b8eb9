#include "ScratchFolder.h"

#include "ExecutableFolder.h"

#include <QDir>
#include <QFile>

ScratchFolder::ScratchFolder()
{
    ExecutableFolder::setForTesting(m_dir.path());
}

ScratchFolder::~ScratchFolder()
{
    ExecutableFolder::setForTesting({});
}

QString ScratchFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void ScratchFolder::installPicture(const QString& name) const
{
    QDir().mkpath(path() + QStringLiteral("Imagens"));
    QFile::copy(QStringLiteral(CORVELLANE_SOURCE_DIR "/Imagens/") + name,
                path() + QStringLiteral("Imagens/") + name);
}

QByteArray ScratchFolder::logBytes() const
{
    QFile file(path() + QStringLiteral("Log.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList ScratchFolder::logMessages() const
{
    QStringList messages;
    for (const QString& line :
         QString::fromLocal8Bit(logBytes()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const qsizetype dash = line.indexOf(QStringLiteral(" - "));
        messages.append(dash < 0 ? line : line.mid(dash + 3));
    }
    return messages;
}
