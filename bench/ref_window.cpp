// The reference for start-up, memory and idle: the least a Qt Widgets program can be that shows one
// frameless, always-on-top window of the agent's size at the bottom right of the screen.
//   bench-ref-window [--tray] [--database LOGIN]
// --tray adds a tray icon, as the agent has one. --database first does the start-up's unavoidable
// work: it opens the agent's data source and runs the agent's start-up statements for that login
// through the plain ODBC API, on the one thread, before the window is shown.
// A click anywhere on the window hides it, as the agent's "X" does.
#include "Consultas.h"

#include <QApplication>
#include <QDateTime>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVariant>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace {

SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<SQLWCHAR*>(
        const_cast<char16_t*>(reinterpret_cast<const char16_t*>(text.utf16())));
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "bench-ref-window: %s failed\n", what);
    std::exit(1);
}

class Database {
public:
    Database()
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment);
        SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection);
        const QString text =
            QStringLiteral("DSN=CorvelLane;UID=corvellane;PWD=mabel7;OPTION=2;CHARSET=utf8mb4");
        if (!SQL_SUCCEEDED(SQLDriverConnectW(m_connection, nullptr, wide(text), SQL_NTS, nullptr, 0, nullptr,
                                             SQL_DRIVER_NOPROMPT)))
            fail("SQLDriverConnect");
    }

    // Runs the statement with its values, executed directly as the agent does; the first column of
    // the first row, as text.
    QString run(QString sql, const QList<QVariant>& values = {})
    {
        static const QRegularExpression marker(QStringLiteral(":[Pp][0-9]+"));
        sql.replace(marker, QStringLiteral("?"));
        SQLHSTMT statement = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &statement);
        QList<QString> texts;
        QList<SQLLEN> integers;
        texts.reserve(values.size());
        integers.reserve(values.size());
        QList<SQLLEN> lengths(values.size(), SQL_NTS);
        for (qsizetype i = 0; i < values.size(); ++i) {
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            if (values.at(i).typeId() == QMetaType::Int) {
                integers.append(values.at(i).toInt());
                SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                 &integers.last(), 0, nullptr);
            } else {
                texts.append(values.at(i).toString());
                SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                 static_cast<SQLULEN>(texts.last().size() + 1), 0, wide(texts.last()), 0,
                                 &lengths[i]);
            }
        }
        if (!SQL_SUCCEEDED(SQLExecDirectW(statement, wide(sql), SQL_NTS)))
            fail("SQLExecDirect");
        QString first;
        SQLSMALLINT columns = 0;
        SQLNumResultCols(statement, &columns);
        if (columns > 0) {
            bool firstRow = true;
            while (SQL_SUCCEEDED(SQLFetch(statement))) {
                for (SQLUSMALLINT column = 1; column <= columns; ++column) {
                    SQLWCHAR value[256] = {};
                    SQLLEN length = 0;
                    SQLGetData(statement, column, SQL_C_WCHAR, value, sizeof value, &length);
                    if (firstRow && column == 1 && length > 0)
                        first = QString::fromUtf16(reinterpret_cast<const char16_t*>(value));
                }
                firstRow = false;
            }
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return first;
    }

private:
    SQLHENV m_environment = nullptr;
    SQLHDBC m_connection = nullptr;
};

// The statements the agent sends from its connection to its panel on screen, in its order.
void startUp(Database& database, const QString& login)
{
    const QString address = QStringLiteral("192.0.2.1");
    database.run(QStringLiteral("USE CORVELLANE"));
    const QString month = database.run(Consultas::DataDoServidor).left(7);
    const int user = database.run(Consultas::UsuarioPorLogin, {login}).toInt();
    database.run(Consultas::TipoPolitica, {user});
    database.run(Consultas::QuotaPadrao, {user});
    const auto registerInstance = [&] {
        const bool exists = database.run(Consultas::InstanciasDoEndereco, {address}).toInt() > 0;
        database.run(exists ? Consultas::AtualizaInstancia : Consultas::InsereInstancia, {user, address});
    };
    registerInstance();
    database.run(Consultas::ContasDoUsuario, {user});
    database.run(Consultas::PoliticasDoGrupo, {user});
    database.run(Consultas::QuotaInfinita, {user});
    registerInstance();
    database.run(Consultas::PaginasImpressasNoMes, {month, user});
    database.run(Consultas::QuotaRestante, {user});
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    const bool tray = arguments.contains(QStringLiteral("--tray"));
    const qsizetype database = arguments.indexOf(QStringLiteral("--database"));
    if (database > 0 && database + 1 < arguments.size()) {
        Database connection;
        startUp(connection, arguments.at(database + 1));
    }

    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    window.setWindowTitle(QStringLiteral("reference"));
    QPushButton hide(QStringLiteral("X"), &window);
    hide.setGeometry(0, 0, 254, 185);
    QObject::connect(&hide, &QPushButton::clicked, &window, &QWidget::hide);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(area.right() - 254 - 1, area.bottom() - 185 - 1, 254, 185);

    QSystemTrayIcon icon;
    if (tray) {
        QPixmap picture(16, 16);
        picture.fill(Qt::darkBlue);
        icon.setIcon(QIcon(picture));
        icon.setToolTip(QStringLiteral("reference"));
        icon.show();
    }
    window.show();
    return QApplication::exec();
}
