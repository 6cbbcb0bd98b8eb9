#include "PrivateOdbcConfiguration.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <odbcinst.h>

namespace {

void writeFile(const QString& fileName, const QByteArray& text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

QByteArray readFile(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

PrivateOdbcConfiguration::PrivateOdbcConfiguration()
{
    qputenv("ODBCSYSINI", m_dir.path().toLocal8Bit());
    QDir(m_dir.path()).mkdir(QStringLiteral("home"));
    qputenv("HOME", (path() + QStringLiteral("home")).toLocal8Bit());
    setUserOdbcIni({});
    setOdbcInst({});
    setOdbcIni({});
}

QString PrivateOdbcConfiguration::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void PrivateOdbcConfiguration::setOdbcInst(const QByteArray& text)
{
    writeFile(path() + QStringLiteral("odbcinst.ini"), text);
}

void PrivateOdbcConfiguration::setOdbcIni(const QByteArray& text)
{
    writeFile(path() + QStringLiteral("odbc.ini"), text);
    forgetCachedReads();
}

void PrivateOdbcConfiguration::setUserOdbcIni(const QByteArray& text)
{
    writeFile(path() + QStringLiteral("home/.odbc.ini"), text);
    forgetCachedReads();
}

void PrivateOdbcConfiguration::forgetCachedReads()
{
    // unixODBC answers repeated look-ups from memory for a while; any write through its profile
    // writer makes it forget. Deleting an absent section of an absolute file name is such a write and
    // leaves the configuration alone.
    const QByteArray scratch = (path() + QStringLiteral("forget.ini")).toLocal8Bit();
    writeFile(QString::fromLocal8Bit(scratch), {});
    SQLWritePrivateProfileString("nothing", nullptr, nullptr, scratch.constData());
}

QByteArray PrivateOdbcConfiguration::odbcInst() const
{
    return readFile(path() + QStringLiteral("odbcinst.ini"));
}

QByteArray PrivateOdbcConfiguration::odbcIni() const
{
    return readFile(path() + QStringLiteral("odbc.ini"));
}

QStringList PrivateOdbcConfiguration::section(const QString& name) const
{
    QStringList lines;
    bool inside = false;
    for (const QString& raw : QString::fromLocal8Bit(odbcIni()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line.compare(QLatin1Char('[') + name + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inside && !line.isEmpty())
            lines.append(line);
    }
    return lines;
}
