#include "OdbcInstallerLibrary.h"

#include "AppError.h"

namespace {
QString overriddenFileName;
} // namespace

OdbcInstallerLibrary::OdbcInstallerLibrary()
    : m_library(overriddenFileName.isEmpty() ? QStringLiteral("libodbcinst.so.2") : overriddenFileName)
{
    if (m_library.load())
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
    overriddenFileName = fileName;
}
