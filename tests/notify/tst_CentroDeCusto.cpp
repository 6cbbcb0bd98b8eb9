#include "CentroDeCusto.h"
#include "TdtmMain.h"
#include "TestDatabase.h"

#include <QTest>

class tst_CentroDeCusto : public QObject {
    Q_OBJECT

    static QStringList names()
    {
        QStringList names;
        for (const CentroDeCusto& centro : CentroDeCusto::LeLista(TestDatabase::dataModule().dbCorvelLane))
            names.append(centro.nome);
        return names;
    }

private Q_SLOTS:
    void initTestCase() { TestDatabase::connect(); }
    void cleanupTestCase() { TestDatabase::disconnect(); }

    void listHidesCodeZeroAndSortsByName()
    {
        TestDatabase::clearTables();
        TestDatabase::exec(
            "insert into centro_custo values (0, 'Nenhum'), (7, 'Vendas'), (3, 'Administração'), "
            "(12, 'Obras')");
        QCOMPARE(names(), (QStringList{QString::fromUtf8("Administração"), "Obras", "Vendas"}));
        const QList<CentroDeCusto> list = CentroDeCusto::LeLista(TestDatabase::dataModule().dbCorvelLane);
        QCOMPARE(list.first().codigo, 3);

        // Each reading sees rows added since.
        TestDatabase::exec("insert into centro_custo values (1, 'Almoxarifado')");
        QCOMPARE(names().size(), 4);
    }
};

QTEST_MAIN(tst_CentroDeCusto)
#include "tst_CentroDeCusto.moc"
