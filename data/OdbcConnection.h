#pragma once

#include "ResultSet.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>
#include <utility>

// The agent's one connection to the accounting database, over the ODBC C API of the driver manager.
// Statements take '?' placeholders and QVariant values, typed by the value: invalid (NULL), integer,
// floating point, text, date or date-time. Every failure throws DatabaseError with the driver's text.
class OdbcConnection {
public:
    OdbcConnection();
    ~OdbcConnection();

    // The ADO-style text the agent builds; it is translated for the driver manager when opening.
    void setConnectionString(const QString& adoConnectionString) { m_connectionString = adoConnectionString; }
    const QString& connectionString() const { return m_connectionString; }

    void open();
    void close() noexcept;
    // True from a successful open() until close(). A connection the server dropped meanwhile still
    // counts: the next statement connects again before it runs, so an agent that runs for a whole
    // log-on outlives a restart of the database server and the server's closing of idle connections.
    bool isConnected() const { return m_wanted; }

    // Whether running a statement a second time leaves the database as running it once does (the choice
    // of the session's database or of a session setting), or may change it again (a write). The caller
    // knows; the text alone does not tell.
    enum class Effect { Repeatable, Write };

    // Rows affected as the driver reports them (rows matched: the connection asks for that). A database
    // chosen with "USE name" is chosen again on every connection made later, as a new session starts
    // in the data source's database, or in none.
    qint64 execute(const QString& sql, const QList<QVariant>& values, Effect effect);
    // Only reads, so it is repeatable.
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
    // The statements stay prepared for their next run, the few most recently used: the agent runs
    // the same statements all day, and a statement executed directly costs the server a prepare every
    // time; a direct ConsultaValor took 1.8 times a prepared one's (92 against 50 µs, scripts/bench).
    // A prepared statement holds some 35 kB in the driver, and eight kept put the resident set at
    // 1.29 times the reference's: four are kept, what a notification runs again and again (the
    // cost-centre list, the panel's two figures, the prompt's update).
    static constexpr qsizetype MaxPreparedStatements = 4;
    // The statement prepared for that text, now the most recently used. Throws DatabaseError.
    void* prepared(const QString& sql);
    void forget(const QString& sql) noexcept;
    QList<std::pair<QString, void*>>::iterator kept(const QString& sql);
    template <typename Work> auto run(const QString& sql, Effect effect, Work work);

    // How a statement travels. Its first runs go directly: the driver sends prepare and execution
    // together, one round trip, which is what a branch office's link pays for. One that comes again is
    // worth keeping prepared, but its prepare is a round trip of its own: it is paid once the
    // connection has been quiet for a while, when no user waits on it, or at once for a statement run
    // many times without a pause.
    static constexpr int PrepareAtRun = 10;
    static constexpr int PrepareWhenQuietMs = 5000;
    void prepareWhileQuiet() noexcept;
    QList<std::pair<QString, void*>> m_prepared; // the most recently used last
    QHash<QString, int> m_directRuns;            // on this connection
    QStringList m_toPrepare;                     // the most recently wanted last
    QTimer m_quiet;
    void* m_environment = nullptr;
    void* m_connection = nullptr;
    bool m_wanted = false;
    QString m_connectionString;
    QString m_database;
    QElapsedTimer m_stalled; // since the server last let a time limit run out, while that matters
};
