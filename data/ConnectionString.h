#pragma once

#include <QString>

// The agent names its database with an ADO connection string ("Provider=MSDASQL.1;Password=...;
// User ID=...;Data Source=CorvelLane"). The driver manager wants ODBC keywords instead.
namespace ConnectionString {

// Maps Data Source to DSN, User ID to UID and Password to PWD, drops the ADO-only keys (Provider,
// Persist Security Info) and passes any other key through. Throws AppError when the text has no
// data source, which no connection attempt could make sense of.
QString toOdbc(const QString& adoConnectionString);

// The text, ADO or ODBC, with every password entry taken out: the form that may appear in a message
// or the log. The account's password ships in every copy of the program, so it is all that keeps
// the accounting data apart from whoever reads a screen or a log.
QString withoutPassword(const QString& connectionString);

} // namespace ConnectionString
