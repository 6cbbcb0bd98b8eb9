#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The test database server of scripts/testdb, reached the way the agent reaches it: a data module
// connected through the private ODBC configuration. Tests set up their own rows with exec().
namespace TestDatabase {

// Creates dtmMain connected to the test server, unless it exists already.
void connect();
void disconnect();

// Runs a statement on the agent's connection; throws on failure.
void exec(const QString& sql, const QList<QVariant>& values = {});
QVariant value(const QString& sql, const QList<QVariant>& values = {});

// Empties every table of the accounting database.
void clearTables();

// Stops the server, and starts it again with its data, as an administrator restarting it would.
void stopServer();
void resumeServer();

// Runs SQL as the server's root account (grants, server variables), through scripts/testdb.
void asRoot(const QString& sql);

} // namespace TestDatabase
