#include "OdbcInstallerLibrary.h"

#include "AppError.h"

namespace {

QString& overriddenFileName()
{
    static QString fileName;
    return fileName;
}

QString installerFileName()
{
    if (!overriddenFileName().isEmpty())
        return overriddenFileName();
    return QStringLiteral("libodbcinst.so.2");
}

} // namespace

OdbcInstallerLibrary::OdbcInstallerLibrary() : m_library(installerFileName())
{
    if (!m_library.load())
        throw AppError(m_library.errorString());
    m_configDataSource = reinterpret_cast<ConfigDataSource>(m_library.resolve("SQLConfigDataSource"));
    if (!m_configDataSource)
        throw AppError(m_library.errorString());
}

bool OdbcInstallerLibrary::configDataSource(unsigned short request, const QByteArray& driver,
                                            const QByteArray& attributes)
{
    return m_configDataSource(nullptr, request, driver.constData(), attributes.constData()) != 0;
}

void OdbcInstallerLibrary::setFileNameForTesting(const QString& fileName)
{
    overriddenFileName() = fileName;
}
