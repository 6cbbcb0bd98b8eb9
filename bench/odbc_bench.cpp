// One ConsultaValor round trip against the same statement through the plain ODBC API, in one process
// on one data source, taking turns so that both see the same machine load.
//   bench-odbc CALLS ROUNDS LOGIN
// Prints, per way of asking, the median over the rounds of the time of one call, in microseconds:
//   consultavalor     TConexao::ConsultaValor, as the agent asks
//   odbc-prepare      plain ODBC per call: statement, prepare, bind, execute, fetch, get, free
//   odbc-direct       plain ODBC per call: statement, bind, execute directly, fetch, get, free
//   odbc-prepared     plain ODBC, prepared once before the loop: bind, execute, fetch, get, close
#include "MessageBoxWindows.h"
#include "TConexao.h"
#include "TdtmMain.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace {

const QString agentSql = QStringLiteral("SELECT cod_usuario FROM usuario WHERE login = :P1");
const QString plainSql = QStringLiteral("SELECT cod_usuario FROM usuario WHERE login = ?");

SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<SQLWCHAR*>(
        const_cast<char16_t*>(reinterpret_cast<const char16_t*>(text.utf16())));
}

void must(SQLRETURN rc, const char* what)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        std::fprintf(stderr, "bench-odbc: %s failed\n", what);
        std::exit(1);
    }
}

// The plain-API side: its own environment and connection, with the connection options the agent uses.
class Plain {
public:
    explicit Plain(const QString& login) : m_login(login)
    {
        must(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env), "SQLAllocHandle(env)");
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        must(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc), "SQLAllocHandle(dbc)");
        const QString text = QStringLiteral(
            "DSN=CorvelLane;UID=corvellane;PWD=mabel7;DATABASE=CORVELLANE;OPTION=2;CHARSET=utf8mb4");
        must(SQLDriverConnectW(m_dbc, nullptr, wide(text), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
             "SQLDriverConnect");
        must(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_prepared), "SQLAllocHandle(stmt)");
        must(SQLPrepareW(m_prepared, wide(plainSql), SQL_NTS), "SQLPrepare");
    }
    ~Plain()
    {
        SQLFreeHandle(SQL_HANDLE_STMT, m_prepared);
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }

    int perCall(bool prepare)
    {
        SQLHSTMT stmt = nullptr;
        must(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt), "SQLAllocHandle(stmt)");
        if (prepare)
            must(SQLPrepareW(stmt, wide(plainSql), SQL_NTS), "SQLPrepare");
        bind(stmt);
        must(prepare ? SQLExecute(stmt) : SQLExecDirectW(stmt, wide(plainSql), SQL_NTS), "SQLExecute");
        const int value = fetch(stmt);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return value;
    }

    int prepared()
    {
        bind(m_prepared);
        must(SQLExecute(m_prepared), "SQLExecute");
        const int value = fetch(m_prepared);
        SQLFreeStmt(m_prepared, SQL_CLOSE);
        return value;
    }

private:
    void bind(SQLHSTMT stmt)
    {
        m_indicator = m_login.size() * static_cast<SQLLEN>(sizeof(SQLWCHAR));
        must(SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, m_login.size(), 0,
                              wide(m_login), m_indicator, &m_indicator),
             "SQLBindParameter");
    }
    static int fetch(SQLHSTMT stmt)
    {
        SQLINTEGER value = 0;
        SQLLEN indicator = 0;
        if (SQLFetch(stmt) == SQL_SUCCESS)
            must(SQLGetData(stmt, 1, SQL_C_SLONG, &value, sizeof value, &indicator), "SQLGetData");
        return value;
    }

    QString m_login;
    SQLLEN m_indicator = 0;
    SQLHENV m_env = nullptr;
    SQLHDBC m_dbc = nullptr;
    SQLHSTMT m_prepared = nullptr;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MessageBoxWindows::install();
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench-odbc CALLS ROUNDS LOGIN\n");
        return 2;
    }
    const int calls = std::atoi(argv[1]);
    const int rounds = std::atoi(argv[2]);
    const QString login = QString::fromLocal8Bit(argv[3]);

    TdtmMain dados;
    if (!dados.Abre())
        return 1;
    Plain plain(login);
    TConexao conexao(dados.dbCorvelLane);
    const int expected = conexao.ConsultaValor(agentSql, {login}, 0).toInt();
    if (expected == 0 || plain.perCall(true) != expected || plain.perCall(false) != expected ||
        plain.prepared() != expected) {
        std::fprintf(stderr, "bench-odbc: the ways of asking disagree, or the login is unknown\n");
        return 1;
    }

    struct Way {
        const char* name;
        std::function<int()> call;
        std::vector<double> microseconds;
    };
    std::vector<Way> ways = {
        {"consultavalor", [&] { return conexao.ConsultaValor(agentSql, {login}, 0).toInt(); }, {}},
        {"odbc-prepare", [&] { return plain.perCall(true); }, {}},
        {"odbc-direct", [&] { return plain.perCall(false); }, {}},
        {"odbc-prepared", [&] { return plain.prepared(); }, {}},
    };
    for (int round = 0; round < rounds; ++round) {
        for (Way& way : ways) {
            int sum = 0;
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < calls; ++i)
                sum += way.call();
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            if (sum != expected * calls)
                return 1;
            way.microseconds.push_back(took.count() / calls);
        }
    }
    for (const Way& way : ways)
        std::printf("%s %.1f\n", way.name, median(way.microseconds));
    return 0;
}
