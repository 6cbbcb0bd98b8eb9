#include "DataSourceStore.h"

#include <odbcinst.h>

namespace DataSourceStore {

bool systemDataSourceExists(const QString& name)
{
    // Every data source has its Driver key, so an empty answer means there is no such section. Asking
    // in system mode keeps a user's ~/.odbc.ini from standing in for the system data source.
    const QByteArray section = name.toLocal8Bit();
    char driver[256] = {};
    SQLSetConfigMode(ODBC_SYSTEM_DSN);
    const int length =
        SQLGetPrivateProfileString(section.constData(), "Driver", "", driver, sizeof driver, "ODBC.INI");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return length > 0;
}

} // namespace DataSourceStore
