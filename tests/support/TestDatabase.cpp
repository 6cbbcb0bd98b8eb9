#include "TestDatabase.h"

#include "TConexao.h"
#include "TdtmMain.h"

#include <QProcess>
#include <QTest>

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

} // namespace

namespace TestDatabase {

void connect()
{
    if (!dtmMain)
        new TdtmMain;
    if (!dtmMain->dbCorvelLane.isConnected())
        qFatal("the test database is not reachable: is the testdb fixture running?");
}

void disconnect()
{
    delete dtmMain;
}

void exec(const QString& sql, const QList<QVariant>& values)
{
    TConexao::ExecutaComando(sql, values);
}

QVariant value(const QString& sql, const QList<QVariant>& values)
{
    return TConexao::ConsultaValor(sql, values, QVariant());
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
