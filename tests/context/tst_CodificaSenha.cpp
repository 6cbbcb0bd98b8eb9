#include "CodificaSenha.h"

#include <QTest>

class tst_CodificaSenha : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void groups_data()
    {
        QTest::addColumn<int>("sum");
        QTest::addColumn<QString>("group");
        QTest::newRow("one digit is padded") << 9 << "09";
        QTest::newRow("two digits, upper case") << 172 << "AC";
        QTest::newRow("above 255 takes three") << 300 << "12C";
    }

    void groups()
    {
        QFETCH(int, sum);
        QFETCH(QString, group);
        QCOMPARE(GrupoHexadecimal(sum), group);
    }

    void encoding_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("empty") << ""
                               << "";
        // 'Q' (81) + '[' (91) = 172; 'Q' + 'Û' (219) = 300; then 'p' (112) + 'a' (97) = 209.
        QTest::newRow("key follows the position") << "["
                                                  << "AC";
        QTest::newRow("accented letter gives three digits") << QString::fromUtf8("Ûa") << "12CD1";
        QTest::newRow("demo password") << "senha123"
                                       << "C4D5A1DAB59F6AA9";
        // The key itself doubles every code, to the last: 'R' + 'R' = 164.
        QTest::newRow("thirty-two characters use the whole key")
            << "Qp3rTn8vLw2Zk5HsYd7Bm4Xc9Fg6Jh1R"
            << "A2E066E4A8DC70EC98EE64B4D66A90E6B2C86E84DA68B0C6728CCE6C94D062A4";
        // The 33rd character takes the key's first again: '6' (54) + 'Q' = 135, ... '9' (57) + 'r' = 171.
        QTest::newRow("longer passwords start the key again")
            << "abcdefghijklmnopqrstuvwxyz0123456789"
            << "B2D296D6B9D49FDEB5E19DC6D8A3B7E3CAD6AAB6E2AACFDBB2C097677C9B658787A76BAB";
    }

    void encoding()
    {
        QFETCH(QString, password);
        QFETCH(QString, encoded);
        QCOMPARE(CodificaSenha(password), encoded);
    }
};

QTEST_GUILESS_MAIN(tst_CodificaSenha)
#include "tst_CodificaSenha.moc"
