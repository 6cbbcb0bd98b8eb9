#include "OdbcConnection.h"

#include "ConnectionString.h"
#include "DatabaseError.h"

#include <QDateTime>
#include <algorithm>
#include <memory>
#include <odbcinst.h>
#include <sqlext.h>
#include <vector>

namespace {

// A connection lost this long after the call began was lost to a time limit: the server stalled (paused,
// its host or disk stuck, a firewall dropping the packets). Connecting again at once would only wait
// the limit a second time, so it is left to the user's next action. A server that closed the connection
// is found at once, and reconnecting then is right. The driver's time limits are whole seconds.
constexpr qint64 stalledAfterMs = 1000;

// After a stall the agent does not wait on the server again for this long: the notifications that
// queued up on port 900 behind one wait, read in one go right after it, fail at once (they stay
// queued) instead of each waiting out the limit again. A person's next action comes later and tries
// again.
constexpr qint64 restAfterStallMs = 1000;

// The server's "Too many connections": it is up, but has no room for one more client.
constexpr int serverFullCode = 1040;

// The database that a "USE name" statement chooses; empty for any other statement.
QString chosenDatabase(const QString& sql)
{
    const QStringList words = sql.simplified().split(QLatin1Char(' '));
    if (words.size() != 2 || words.first().compare(QLatin1String("use"), Qt::CaseInsensitive) != 0)
        return {};
    return words.last();
}

// A connection that could not be made again, in words the user can act on.
DatabaseError notReachable(const DatabaseError& error)
{
    const QString situation =
        error.nativeCode() == serverFullCode
            ? QStringLiteral(
                  "O servidor do CorvelLane está com todas as conexões ocupadas. Tente novamente em "
                  "instantes; se persistir, avise o administrador do sistema. (")
            : QStringLiteral("O servidor do CorvelLane não está acessível no momento. Tente novamente em "
                             "instantes. (");
    return DatabaseError(situation + error.message() + QLatin1Char(')'), QStringLiteral("08001"),
                         error.nativeCode());
}

SQLWCHAR* wide(const QString& text)
{
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 SQLWCHAR");
    return reinterpret_cast<SQLWCHAR*>(
        const_cast<char16_t*>(reinterpret_cast<const char16_t*>(text.utf16())));
}

DatabaseError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString& fallback)
{
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH * 2] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, 1, state, &native, message,
                                      SQL_MAX_MESSAGE_LENGTH * 2, &length)))
        return DatabaseError(fallback);
    const auto text = [](const SQLWCHAR* chars, qsizetype size) {
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(chars), size);
    };
    return DatabaseError(text(message, std::min<qsizetype>(length, SQL_MAX_MESSAGE_LENGTH * 2 - 1)),
                         text(state, 5), static_cast<int>(native));
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* what)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        throw diagnostics(handleType, handle, QLatin1String(what) + QStringLiteral(" falhou"));
}

// One bound parameter's storage; it must stay where it is until the statement has run.
struct ParameterBuffer {
    QString text;
    qint64 integer = 0;
    double real = 0;
    SQL_DATE_STRUCT date = {};
    SQL_TIMESTAMP_STRUCT timestamp = {};
    SQLLEN indicator = 0;
};

// The value types that travel as a 64-bit integer.
constexpr int IntegerTypes[] = {QMetaType::Int,  QMetaType::UInt,  QMetaType::LongLong, QMetaType::ULongLong,
                                QMetaType::Long, QMetaType::Short, QMetaType::Bool};

// Whether the data source's own entry sets the key, looked up as the driver looks it up (the user's
// data sources, then the system's).
bool dataSourceSets(const QString& dataSource, const QString& key)
{
    char value[64] = {};
    return SQLGetPrivateProfileString(dataSource.toLocal8Bit().constData(), key.toLatin1().constData(), "",
                                      value, sizeof value, "ODBC.INI") > 0;
}

struct FreeStatement {
    void operator()(void* handle) const noexcept { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
};

} // namespace

// One statement run once with a set of values: prepared, or, with its text, sent directly.
class OdbcConnection::Statement {
public:
    // sent becomes true once the statement is handed to the driver to run: from then on it may have
    // reached the server, whatever happens next. With directSql the handle is a fresh one and the
    // driver sends the prepare and the execution together, one round trip.
    Statement(SQLHSTMT handle, bool& sent, const QString* directSql = nullptr)
        : m_handle(handle), m_sent(sent), m_directSql(directSql)
    {
    }

    void run(const QList<QVariant>& values)
    {
        SQLFreeStmt(m_handle, SQL_CLOSE);
        SQLFreeStmt(m_handle, SQL_RESET_PARAMS);
        std::vector<ParameterBuffer> buffers(values.size());
        for (qsizetype i = 0; i < values.size(); ++i)
            bind(static_cast<SQLUSMALLINT>(i + 1), values.at(i), buffers[i]);
        m_sent = true;
        if (m_directSql)
            check(SQLExecDirectW(m_handle, wide(*m_directSql), SQL_NTS), "SQLExecDirect");
        else
            check(SQLExecute(m_handle), "SQLExecute");
    }

    qint64 rowsAffected()
    {
        SQLLEN rows = 0;
        check(SQLRowCount(m_handle, &rows), "SQLRowCount");
        return rows < 0 ? 0 : rows;
    }

    ResultSet fetchAll()
    {
        SQLSMALLINT columnCount = 0;
        check(SQLNumResultCols(m_handle, &columnCount), "SQLNumResultCols");
        QStringList names;
        std::vector<SQLSMALLINT> types, scales;
        for (SQLUSMALLINT column = 1; column <= columnCount; ++column) {
            SQLWCHAR name[256] = {};
            SQLSMALLINT nameLength = 0, type = 0, scale = 0, nullable = 0;
            SQLULEN size = 0;
            check(SQLDescribeColW(m_handle, column, name, 255, &nameLength, &type, &size, &scale, &nullable),
                  "SQLDescribeCol");
            names.append(
                QString::fromUtf16(reinterpret_cast<const char16_t*>(name), std::min<int>(nameLength, 255)));
            types.push_back(type);
            scales.push_back(scale);
        }
        QList<ResultSet::Row> rows;
        for (;;) {
            const SQLRETURN rc = SQLFetch(m_handle);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, "SQLFetch");
            ResultSet::Row row;
            row.reserve(columnCount);
            for (SQLUSMALLINT column = 1; column <= columnCount; ++column)
                row.append(read(column, types[column - 1], scales[column - 1]));
            rows.append(std::move(row));
        }
        SQLFreeStmt(m_handle, SQL_CLOSE);
        return ResultSet(std::move(names), std::move(rows));
    }

private:
    void check(SQLRETURN rc, const char* what) { ::check(rc, SQL_HANDLE_STMT, m_handle, what); }

    void bind(SQLUSMALLINT number, const QVariant& value, ParameterBuffer& buffer)
    {
        // How the value is bound; a NULL keeps these first ones.
        struct {
            SQLSMALLINT cType, sqlType;
            SQLULEN size;
            SQLPOINTER data;
        } as = {SQL_C_CHAR, SQL_VARCHAR, 1, nullptr};
        SQLLEN capacity = 0;
        const auto part = [](int number) { return static_cast<SQLUSMALLINT>(number); };
        const int typeId = value.metaType().id();
        if (!value.isValid() || value.isNull()) {
            buffer.indicator = SQL_NULL_DATA;
        } else if (std::ranges::find(IntegerTypes, typeId) != std::end(IntegerTypes)) {
            buffer.integer = value.toLongLong();
            as = {SQL_C_SBIGINT, SQL_BIGINT, 19, &buffer.integer};
        } else if (typeId == QMetaType::Double || typeId == QMetaType::Float) {
            buffer.real = value.toDouble();
            as = {SQL_C_DOUBLE, SQL_DOUBLE, 15, &buffer.real};
        } else if (typeId == QMetaType::QDate) {
            const QDate date = value.toDate();
            buffer.date = {static_cast<SQLSMALLINT>(date.year()), part(date.month()), part(date.day())};
            as = {SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, &buffer.date};
        } else if (typeId == QMetaType::QDateTime) {
            const QDate date = value.toDateTime().date();
            const QTime time = value.toDateTime().time();
            buffer.timestamp = {static_cast<SQLSMALLINT>(date.year()),
                                part(date.month()),
                                part(date.day()),
                                part(time.hour()),
                                part(time.minute()),
                                part(time.second()),
                                0};
            as = {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19, &buffer.timestamp};
        } else {
            buffer.text = value.toString();
            capacity = buffer.text.size() * static_cast<SQLLEN>(sizeof(SQLWCHAR));
            buffer.indicator = capacity;
            as = {SQL_C_WCHAR, SQL_WVARCHAR, std::max<SQLULEN>(1, buffer.text.size()), wide(buffer.text)};
        }
        check(SQLBindParameter(m_handle, number, SQL_PARAM_INPUT, as.cType, as.sqlType, as.size, 0, as.data,
                               capacity, &buffer.indicator),
              "SQLBindParameter");
    }

    template <typename T> bool get(SQLUSMALLINT column, SQLSMALLINT cType, T& target)
    {
        SQLLEN indicator = 0;
        check(SQLGetData(m_handle, column, cType, &target, sizeof target, &indicator), "SQLGetData");
        return indicator != SQL_NULL_DATA;
    }

    QVariant readText(SQLUSMALLINT column)
    {
        QString text;
        SQLWCHAR chunk[1024];
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(m_handle, column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, "SQLGetData");
            if (indicator == SQL_NULL_DATA)
                return {};
            const qsizetype capacityChars = static_cast<qsizetype>(sizeof chunk / sizeof(SQLWCHAR)) - 1;
            const qsizetype available = indicator == SQL_NO_TOTAL
                                            ? capacityChars
                                            : static_cast<qsizetype>(indicator / sizeof(SQLWCHAR));
            // Not QString::fromUtf16: it takes a U+FEFF at the start of a chunk for a byte-order mark
            // and drops it.
            text.append(reinterpret_cast<const QChar*>(chunk), std::min(available, capacityChars));
            if (rc == SQL_SUCCESS)
                break;
        }
        return text;
    }

    QVariant read(SQLUSMALLINT column, SQLSMALLINT type, SQLSMALLINT scale)
    {
        switch (type) {
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_TINYINT:
        case SQL_BIT: {
            SQLINTEGER value = 0;
            return get(column, SQL_C_SLONG, value) ? QVariant(static_cast<int>(value)) : QVariant();
        }
        case SQL_BIGINT: {
            SQLBIGINT value = 0;
            return get(column, SQL_C_SBIGINT, value) ? QVariant(static_cast<qlonglong>(value)) : QVariant();
        }
        case SQL_DECIMAL:
        case SQL_NUMERIC: {
            // sum() over integers arrives as DECIMAL; with no fraction it is a whole number.
            const QVariant text = readText(column);
            if (!text.isValid())
                return {};
            return scale == 0 ? QVariant(text.toString().toLongLong()) : QVariant(text.toString().toDouble());
        }
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE: {
            double value = 0;
            return get(column, SQL_C_DOUBLE, value) ? QVariant(value) : QVariant();
        }
        case SQL_TYPE_DATE: {
            SQL_DATE_STRUCT value = {};
            return get(column, SQL_C_TYPE_DATE, value) ? QVariant(QDate(value.year, value.month, value.day))
                                                       : QVariant();
        }
        case SQL_TYPE_TIME: {
            SQL_TIME_STRUCT value = {};
            return get(column, SQL_C_TYPE_TIME, value)
                       ? QVariant(QTime(value.hour, value.minute, value.second))
                       : QVariant();
        }
        case SQL_TYPE_TIMESTAMP: {
            SQL_TIMESTAMP_STRUCT value = {};
            if (!get(column, SQL_C_TYPE_TIMESTAMP, value))
                return {};
            return QDateTime(
                QDate(value.year, value.month, value.day),
                QTime(value.hour, value.minute, value.second, static_cast<int>(value.fraction / 1000000)));
        }
        default:
            return readText(column);
        }
    }

    SQLHSTMT m_handle = nullptr;
    bool& m_sent;
    const QString* m_directSql;
};

OdbcConnection::OdbcConnection()
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(PrepareWhenQuietMs);
    m_quiet.callOnTimeout([this] { prepareWhileQuiet(); });
}

OdbcConnection::~OdbcConnection()
{
    close();
}

void OdbcConnection::open()
{
    if (m_wanted)
        return;
    connect();
    m_wanted = true;
}

void OdbcConnection::close() noexcept
{
    m_wanted = false;
    disconnect();
}

// Connects with the agent's ADO-style text; throws DatabaseError, without the password.
void OdbcConnection::connect()
{
    const QString odbcText = ConnectionString::toOdbc(m_connectionString);
    SQLHENV environment = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)))
        throw DatabaseError(QStringLiteral("O gerenciador de drivers ODBC não pôde ser iniciado"));
    m_environment = environment;
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    try {
        SQLHDBC connection = nullptr;
        check(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection), SQL_HANDLE_ENV, environment,
              "SQLAllocHandle");
        m_connection = connection;
        // OPTION=2: report rows matched, not rows changed, so an update that writes the values a row
        // already holds still counts as done.
        const QString full = ConnectionString::withTimeLimits(
            odbcText + QStringLiteral(";OPTION=2;CHARSET=utf8mb4"), dataSourceSets);
        SQLWCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        if (!SQL_SUCCEEDED(SQLDriverConnectW(connection, nullptr, wide(full), SQL_NTS, completed, 1024,
                                             &completedLength, SQL_DRIVER_NOPROMPT)))
            throw diagnostics(SQL_HANDLE_DBC, connection,
                              QStringLiteral("Não foi possível conectar a ") +
                                  ConnectionString::withoutPassword(odbcText));
        if (!m_database.isEmpty()) {
            bool sent = false;
            Statement(prepared(QStringLiteral("USE ") + m_database), sent).run({});
        }
    } catch (const DatabaseError&) {
        disconnect();
        throw;
    }
}

void OdbcConnection::disconnect() noexcept
{
    // What was kept is worth keeping on the next connection too, prepared there once it is quiet.
    for (const auto& [sql, handle] : std::as_const(m_prepared)) {
        SQLFreeHandle(SQL_HANDLE_STMT, handle);
        if (!m_toPrepare.contains(sql))
            m_toPrepare.append(sql);
    }
    m_prepared.clear();
    m_directRuns.clear();
    if (m_connection) {
        SQLDisconnect(m_connection);
        SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
        m_connection = nullptr;
    }
    if (m_environment) {
        SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
        m_environment = nullptr;
    }
}

bool OdbcConnection::connectionDead() const noexcept
{
    if (!m_connection)
        return true;
    // The driver answers this by pinging the server.
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc = SQLGetConnectAttr(m_connection, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    return SQL_SUCCEEDED(rc) && dead == SQL_CD_TRUE;
}

void OdbcConnection::ensureAlive(bool mustBeSeenAlive)
{
    if (!m_wanted)
        throw DatabaseError(QStringLiteral("A conexão com o banco de dados não está aberta"),
                            QStringLiteral("08003"));
    QElapsedTimer asked;
    asked.start();
    if (m_connection && mustBeSeenAlive && connectionDead()) {
        disconnect();
        if (asked.elapsed() >= stalledAfterMs)
            m_stalled.start();
    }
    if (m_connection)
        return;
    if (m_stalled.isValid() && !m_stalled.hasExpired(restAfterStallMs))
        throw notReachable(DatabaseError(QStringLiteral("o servidor não respondeu no tempo limite"),
                                         QStringLiteral("08S01")));
    asked.start();
    try {
        connect();
        m_stalled.invalidate();
    } catch (const DatabaseError& error) {
        if (asked.elapsed() >= stalledAfterMs)
            m_stalled.start();
        throw notReachable(error);
    }
}

QList<std::pair<QString, void*>>::iterator OdbcConnection::kept(const QString& sql)
{
    return std::find_if(m_prepared.begin(), m_prepared.end(),
                        [&sql](const auto& statement) { return statement.first == sql; });
}

void* OdbcConnection::prepared(const QString& sql)
{
    if (const auto kept = this->kept(sql); kept != m_prepared.end()) {
        std::rotate(kept, std::next(kept), m_prepared.end());
        return m_prepared.last().second;
    }
    SQLHSTMT handle = nullptr;
    check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &handle), SQL_HANDLE_DBC, m_connection,
          "SQLAllocHandle");
    std::unique_ptr<void, FreeStatement> owned(handle);
    check(SQLPrepareW(handle, wide(sql), SQL_NTS), SQL_HANDLE_STMT, handle, "SQLPrepare");
    if (m_prepared.size() >= MaxPreparedStatements)
        forget(m_prepared.first().first);
    m_prepared.append({sql, owned.release()});
    // Kept now, it no longer waits for a quiet moment, and the statements after it need not put one off.
    m_toPrepare.removeOne(sql);
    return handle;
}

void OdbcConnection::prepareWhileQuiet() noexcept
{
    // Nobody waits on this, so it never connects, and leaves a server that just stalled alone.
    if (!m_connection || (m_stalled.isValid() && !m_stalled.hasExpired(restAfterStallMs)))
        return;
    const QStringList texts = m_toPrepare.mid(qMax<qsizetype>(0, m_toPrepare.size() - MaxPreparedStatements));
    m_toPrepare.clear();
    QElapsedTimer waited;
    waited.start();
    for (const QString& sql : texts) {
        if (kept(sql) != m_prepared.end())
            continue;
        try {
            prepared(sql);
        } catch (const DatabaseError&) {
            // Each of these ran before, so the connection is what failed: the next statement connects
            // again and tells the user if it must.
            disconnect();
            m_toPrepare.clear();
            if (waited.elapsed() >= stalledAfterMs)
                m_stalled.start();
            return;
        }
    }
}

void OdbcConnection::forget(const QString& sql) noexcept
{
    if (const auto kept = this->kept(sql); kept != m_prepared.end()) {
        SQLFreeHandle(SQL_HANDLE_STMT, kept->second);
        m_prepared.erase(kept);
    }
}

template <typename Work> auto OdbcConnection::run(const QString& sql, Effect effect, Work work)
{
    // The server may have closed the connection since the last statement: restarted, or tired of
    // waiting (its wait_timeout, a firewall's idle limit). A statement that fails on a lost connection
    // runs once more on a new one, but only when running it twice is harmless: it only reads, or it
    // never reached the server. A write that was sent may have been done before the connection went,
    // so it is never sent again; the user is told instead, and what the user does next reads afresh.
    // A connection lost to a time limit is not tried again at once either (stalledAfterMs).
    const bool mayRunTwice = effect == Effect::Repeatable;
    for (int attempt = 1;; ++attempt) {
        ensureAlive(!mayRunTwice);
        bool sent = false;
        QElapsedTimer waited;
        waited.start();
        try {
            const bool direct = kept(sql) == m_prepared.end();
            const int runs = direct ? ++m_directRuns[sql] : 0;
            if (runs == 2 && !m_toPrepare.contains(sql))
                m_toPrepare.append(sql);
            if (!m_toPrepare.isEmpty())
                m_quiet.start();
            if (direct && runs < PrepareAtRun) {
                SQLHSTMT handle = nullptr;
                check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &handle), SQL_HANDLE_DBC, m_connection,
                      "SQLAllocHandle");
                const std::unique_ptr<void, FreeStatement> owned(handle);
                Statement statement(handle, sent, &sql);
                return work(statement);
            }
            Statement statement(prepared(sql), sent);
            return work(statement);
        } catch (const DatabaseError& error) {
            // A statement that failed is prepared afresh next time, in case the failure was its own.
            forget(sql);
            // The driver words some losses as general errors ("Write error", HY000): the
            // connection's own state tells them apart from a statement the server refused.
            if (!error.isConnectionLost() && !connectionDead())
                throw;
            disconnect();
            const bool writeMayBeDone = sent && !mayRunTwice;
            const bool stalled = waited.elapsed() >= stalledAfterMs;
            if (stalled)
                m_stalled.start();
            if (attempt == 2 || writeMayBeDone || stalled)
                throw DatabaseError(
                    (writeMayBeDone ? QStringLiteral("A conexão com o servidor do CorvelLane foi perdida e a "
                                                     "alteração pode não ter sido gravada. Tente novamente "
                                                     "em instantes. (")
                                    : QStringLiteral("A conexão com o servidor do CorvelLane foi perdida. "
                                                     "Tente novamente em instantes. (")) +
                        error.message() + QLatin1Char(')'),
                    error.sqlState().startsWith(QLatin1String("08")) ? error.sqlState()
                                                                     : QStringLiteral("08S01"),
                    error.nativeCode());
        }
    }
}

qint64 OdbcConnection::execute(const QString& sql, const QList<QVariant>& values, Effect effect)
{
    const qint64 rows = run(sql, effect, [&](Statement& statement) {
        statement.run(values);
        return statement.rowsAffected();
    });
    if (const QString database = chosenDatabase(sql); !database.isEmpty())
        m_database = database;
    return rows;
}

ResultSet OdbcConnection::query(const QString& sql, const QList<QVariant>& values)
{
    return run(sql, Effect::Repeatable, [&](Statement& statement) {
        statement.run(values);
        return statement.fetchAll();
    });
}
