#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class OdbcConnection;
class TdtmMain;

// The test database server of scripts/testdb, reached the way the agent reaches it: a data module
// connected through the private ODBC configuration, with the agent's account and its rights only.
// Tests set up and check their rows with exec() and value(), through an account of their own that may
// do anything (the rights an administrator or the print-accounting server has).
namespace TestDatabase {

// The agent's data module for the test server, as main makes it; connect() connects it (again, after
// a window's teardown closed it) and selects the database, disconnect() closes its connection.
TdtmMain& dataModule();
TdtmMain& connect();
void disconnect();

// Runs a statement as the tests' own account; values bind to the markers (:P1...) in order. Throws on
// failure.
void exec(const QString& sql, const QList<QVariant>& values = {});
// The first column of the first row; invalid when there is no row or the value is NULL.
QVariant value(const QString& sql, const QList<QVariant>& values = {});
// The tests' own connection, through the same data source as the agent's.
OdbcConnection& administrator();

// Empties every table of the accounting database.
void clearTables();

// Stops the server, and starts it again with its data, as an administrator restarting it would.
void stopServer();
void resumeServer();

// Runs SQL as the server's root account (grants, server variables), through scripts/testdb.
void asRoot(const QString& sql);

} // namespace TestDatabase
