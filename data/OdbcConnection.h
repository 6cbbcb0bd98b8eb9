#pragma once

#include "ResultSet.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
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
    // Opens with a connection made elsewhere (see connectTo) for this connection's string; the
    // connection owns and releases it from then on.
    struct Handles {
        void* environment = nullptr;
        void* connection = nullptr;
    };
    void adopt(Handles handles) noexcept;
    // Connects with that text and hands over the connection; safe on any thread. Throws DatabaseError.
    static Handles connectTo(const QString& adoConnectionString);
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
    // The connection keeps its statements prepared for reuse: the agent runs the same few statements
    // over and over, and preparing each time would cost a second round trip to the server. A
    // statement is kept from its second run on: a prepared statement holds some 50 kB in the driver,
    // and most of what start-up runs never runs again. A first run is executed directly, which the
    // driver sends to the server together with its values: one round trip instead of two.
    static constexpr qsizetype MaxPreparedStatements = 32;
    static constexpr qsizetype MaxRememberedStatements = 256;
    void* allocate(); // a bare statement, for a direct execution
    void* prepare(const QString& sql);
    // The statement kept prepared for that text, prepared now if it is not kept yet.
    void* prepared(const QString& sql);
    void forget(const QString& sql) noexcept;
    // Whether a statement of that text ran before; from now on it has.
    bool ranBefore(const QString& sql);
    template <typename Work> auto run(const QString& sql, Work work);

    void* m_environment = nullptr;
    void* m_connection = nullptr;
    QHash<QString, void*> m_prepared;
    QStringList m_preparedOrder;
    QSet<QString> m_ranBefore;
    bool m_wanted = false;
    QString m_connectionString;
    QString m_database;
};
