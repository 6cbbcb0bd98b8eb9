#include "ConnectionString.h"

#include "AppError.h"

#include <QStringList>

namespace {

QString keyOf(const QString& entry)
{
    return entry.left(entry.indexOf(QLatin1Char('='))).trimmed();
}

bool isKey(const QString& key, const char* name)
{
    return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

namespace ConnectionString {

QString toOdbc(const QString& ado)
{
    QStringList odbc;
    bool hasDataSource = false;
    for (const QString& entry : ado.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        const QString key = keyOf(entry);
        const QString value = equals < 0 ? QString() : entry.mid(equals + 1);
        const auto is = [&key](const char* name) { return isKey(key, name); };
        if (is("Provider") || is("Persist Security Info"))
            continue;
        if (is("Data Source") || is("DSN")) {
            odbc.append(QStringLiteral("DSN=") + value);
            hasDataSource = !value.isEmpty();
        } else if (is("User ID") || is("UID")) {
            odbc.append(QStringLiteral("UID=") + value);
        } else if (is("Password") || is("PWD")) {
            odbc.append(QStringLiteral("PWD=") + value);
        } else if (!key.isEmpty()) {
            odbc.append(key + QLatin1Char('=') + value);
        }
    }
    if (!hasDataSource)
        throw AppError(QStringLiteral("A cadeia de conexão não indica a fonte de dados ODBC: ") +
                       withoutPassword(ado));
    return odbc.join(QLatin1Char(';'));
}

QString withoutPassword(const QString& connectionString)
{
    QStringList kept;
    for (const QString& entry : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = keyOf(entry);
        if (!isKey(key, "Password") && !isKey(key, "PWD"))
            kept.append(entry);
    }
    return kept.join(QLatin1Char(';'));
}

QString
withTimeLimits(const QString& odbc,
               const std::function<bool(const QString& dataSource, const QString& key)>& dataSourceSets)
{
    QStringList keys;
    QString dataSource;
    for (const QString& entry : odbc.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        keys.append(keyOf(entry));
        if (isKey(keys.last(), "DSN"))
            dataSource = entry.mid(entry.indexOf(QLatin1Char('=')) + 1);
    }
    QString text = odbc;
    for (const TimeLimit& limit : TimeLimits) {
        const QString key = QLatin1String(limit.key);
        if (!keys.contains(key, Qt::CaseInsensitive) &&
            (dataSource.isEmpty() || !dataSourceSets(dataSource, key)))
            text += QLatin1Char(';') + key + QLatin1Char('=') + QString::number(limit.seconds);
    }
    return text;
}

} // namespace ConnectionString
