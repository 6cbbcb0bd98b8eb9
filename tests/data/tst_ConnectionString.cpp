#include "AppError.h"
#include "ConnectionString.h"

#include <QTest>

class tst_ConnectionString : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void agentStringBecomesOdbcKeywords()
    {
        QCOMPARE(
            ConnectionString::toOdbc(QStringLiteral("Provider=MSDASQL.1;Password=mabel7;Persist Security "
                                                    "Info=True;User ID=corvellane;Data Source=CorvelLane")),
            QStringLiteral("PWD=mabel7;UID=corvellane;DSN=CorvelLane"));
    }

    void otherKeysPassThrough()
    {
        QCOMPARE(ConnectionString::toOdbc(QStringLiteral("DSN=x;OPTION=2")),
                 QStringLiteral("DSN=x;OPTION=2"));
    }

    void noDataSourceIsAnError()
    {
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 ConnectionString::toOdbc(QStringLiteral("Provider=MSDASQL.1;User ID=x")));
        QVERIFY_THROWS_EXCEPTION(AppError, ConnectionString::toOdbc(QStringLiteral("Data Source=")));
    }
};

QTEST_GUILESS_MAIN(tst_ConnectionString)
#include "tst_ConnectionString.moc"
