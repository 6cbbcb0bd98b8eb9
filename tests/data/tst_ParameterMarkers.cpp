#include "ParameterMarkers.h"

#include <QTest>

class tst_ParameterMarkers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scan_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("positional");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("in order") << "select :P1, :P2"
                                  << "select ?, ?" << QStringList{"P1", "P2"};
        QTest::newRow(":P2 before :P1") << "values (:P2, :P1)"
                                        << "values (?, ?)" << QStringList{"P2", "P1"};
        QTest::newRow("same name twice") << ":a = :a"
                                         << "? = ?" << QStringList{"a", "a"};
        QTest::newRow("no markers") << "USE CORVELLANE"
                                    << "USE CORVELLANE" << QStringList{};
        QTest::newRow("quoted literals are not markers")
            << "select ':x', \":y\", `:z`, :w"
            << "select ':x', \":y\", `:z`, ?" << QStringList{"w"};
        QTest::newRow(":: is one literal colon") << "select @v::=:P1"
                                                 << "select @v:=?" << QStringList{"P1"};
        QTest::newRow("name ends at , ; ) blank CR LF tab")
            << "(:a,:b;:c)\n:d\r\n:e :f\t:g"
            << "(?,?;?)\n?\r\n? ?\t?" << QStringList{"a", "b", "c", "d", "e", "f", "g"};
        QTest::newRow("no blank before the marker") << "set x =:p1 where y=:p2 "
                                                    << "set x =? where y=? " << QStringList{"p1", "p2"};
        QTest::newRow("a lone colon stays") << "a : b:"
                                            << "a : b:" << QStringList{};
        QTest::newRow("unclosed quote hides the rest") << "select 'it:s :P1"
                                                       << "select 'it:s :P1" << QStringList{};
    }

    void scan()
    {
        QFETCH(QString, sql);
        QFETCH(QString, positional);
        QFETCH(QStringList, names);
        const ParameterMarkers markers = ParameterMarkers::scan(sql);
        QCOMPARE(markers.positionalSql, positional);
        QCOMPARE(markers.names, names);
    }
};

QTEST_GUILESS_MAIN(tst_ParameterMarkers)
#include "tst_ParameterMarkers.moc"
