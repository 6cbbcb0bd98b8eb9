#include "TestDatabase.h"

#include "Dataset.h"
#include "TdtmMain.h"

#include <QProcess>
#include <QTest>
#include <memory>

namespace {

QString script()
{
    return qEnvironmentVariable("CORVELLANE_TESTDB_SCRIPT");
}

void runScript(const QStringList& arguments)
{
    QProcess process;
    process.start(script(), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("scripts/testdb %s failed: %s", qPrintable(arguments.join(QLatin1Char(' '))),
               process.readAllStandardError().constData());
}

Dataset statement(const QString& sql, const QList<QVariant>& values)
{
    Dataset query(TestDatabase::administrator());
    query.setSql(sql);
    for (qsizetype i = 0; i < values.size(); ++i)
        query.setParameter(i, values.at(i));
    return query;
}

} // namespace

namespace TestDatabase {

OdbcConnection& administrator()
{
    static const std::unique_ptr<OdbcConnection> connection = [] {
        auto made = std::make_unique<OdbcConnection>();
        made->setConnectionString(
            QStringLiteral("Password=teste;User ID=corvellane_teste;Data Source=CorvelLane"));
        return made;
    }();
    connection->open();
    return *connection;
}

TdtmMain& dataModule()
{
    static TdtmMain module;
    return module;
}

TdtmMain& connect()
{
    if (!dataModule().Abre())
        qFatal("the test database is not reachable: is the testdb fixture running?");
    return dataModule();
}

void disconnect()
{
    dataModule().dbCorvelLane.close();
}

void exec(const QString& sql, const QList<QVariant>& values)
{
    statement(sql, values).execute(OdbcConnection::Effect::Write);
}

QVariant value(const QString& sql, const QList<QVariant>& values)
{
    Dataset query = statement(sql, values);
    query.open();
    ResultSet& rows = query.result();
    return rows.isEmpty() ? QVariant() : rows.field(0);
}

void clearTables()
{
    for (const char* table : {"usuario", "grupo", "politica", "inicializacao", "modp", "impressoes",
                              "impressora", "status_impressao", "centro_custo", "instancia"})
        exec(QStringLiteral("delete from ") + QLatin1String(table));
}

void stopServer()
{
    runScript({QStringLiteral("stop")});
}

void resumeServer()
{
    runScript({QStringLiteral("resume")});
}

void asRoot(const QString& sql)
{
    runScript({QStringLiteral("sql"), QStringLiteral("-e"), sql});
}

} // namespace TestDatabase
