#pragma once

#include <QString>

// Where the driver manager keeps the system data sources: the system odbc.ini of unixODBC (the folder
// ODBCSYSINI names, /etc otherwise). The agent only asks whether its data source is there; it is
// written through the installer library (OdbcInstallerLibrary).
namespace DataSourceStore {

// True when a system data source of that name exists (names compare without regard to case).
bool systemDataSourceExists(const QString& name);

} // namespace DataSourceStore
