#pragma once

#include <QString>
#include <functional>

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

// The agent runs on one thread, so every wait on the server holds the whole program: each of these
// time limits (seconds) of the driver ends one. CONN_TIMEOUT bounds connecting and the server's
// greeting; READ_TIMEOUT and WRITE_TIMEOUT bound each single read from and write to the network, not a
// whole statement: a long result arrives in many reads, each well within the limit, and only a server
// that sends nothing for that long trips it. The driver's login time-out is not used: it does not end
// the wait for a server that accepts the connection and never greets. Reads and writes get 10 s, not
// 5: a Galera cluster holds every write about 6 s while it re-forms after a node crashed, and a limit
// shorter than that would report as failed an answer the cluster then commits.
struct TimeLimit {
    const char* key;
    int seconds;
};
inline constexpr TimeLimit TimeLimits[] = {{"CONN_TIMEOUT", 5}, {"READ_TIMEOUT", 10}, {"WRITE_TIMEOUT", 10}};

// The ODBC text with each time limit appended that neither the text itself nor its data source
// (dataSourceSets, asked with the DSN's name and the key) sets: an administrator's own value wins.
QString
withTimeLimits(const QString& odbcConnectionString,
               const std::function<bool(const QString& dataSource, const QString& key)>& dataSourceSets);

} // namespace ConnectionString
