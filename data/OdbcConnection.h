#pragma once

#include "ResultSet.h"

#include <QList>
#include <QString>
#include <QVariant>

// The agent's one connection to the accounting database, over the ODBC C API of the driver manager.
// Statements take '?' placeholders and QVariant values, typed by the value: invalid (NULL), integer,
// floating point, text, date or date-time. Every failure throws DatabaseError with the driver's text.
class OdbcConnection {
public:
    OdbcConnection();
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // The ADO-style text the agent builds; it is translated for the driver manager when opening.
    void setConnectionString(const QString& adoConnectionString) { m_connectionString = adoConnectionString; }
    const QString& connectionString() const { return m_connectionString; }

    void open();
    void close() noexcept;
    // True from a successful open() until close(). A connection the server dropped meanwhile still
    // counts: the next statement connects again before it runs, so an agent that runs for a whole
    // log-on outlives a restart of the database server and the server's closing of idle connections.
    bool isConnected() const { return m_wanted; }

    // Rows affected as the driver reports them (rows matched: the connection asks for that). A database
    // chosen with "USE name" is chosen again on every connection made later, as a new session starts
    // in the data source's database, or in none.
    qint64 execute(const QString& sql, const QList<QVariant>& values);
    ResultSet query(const QString& sql, const QList<QVariant>& values);

private:
    class Statement;

    void connect();
    void disconnect() noexcept;
    // Whether the server is gone from this connection; asks the server (one round trip).
    bool connectionDead() const noexcept;
    // Connects again after the server dropped the connection; throws when it is still away. With
    // mustBeSeenAlive, a connection the server dropped unnoticed is found before anything is sent.
    void ensureAlive(bool mustBeSeenAlive);
    void* allocate();
    template <typename Work> auto run(const QString& sql, Work work);

    void* m_environment = nullptr;
    void* m_connection = nullptr;
    bool m_wanted = false;
    QString m_connectionString;
    QString m_database;
};
