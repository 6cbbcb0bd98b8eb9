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
    }

    void encoding()
    {
        QFETCH(QString, password);
        QFETCH(QString, encoded);
        QCOMPARE(CodificaSenha(password), encoded);
    }

    void thirtyTwoCharactersUseTheWholeKey()
    {
        // A password equal to the key doubles every code: the last group comes from 'R' + 'R'.
        const QString key = QString::fromLatin1(ChaveSenha);
        const QString encoded = CodificaSenha(key);
        QCOMPARE(encoded.size(), 64);
        QCOMPARE(encoded.right(2), GrupoHexadecimal(2 * 'R'));
    }

    void longerPasswordsStartTheKeyAgain()
    {
        const QString key = QString::fromLatin1(ChaveSenha);
        const QString encoded = CodificaSenha(key + "aa");
        QCOMPARE(encoded.left(64), CodificaSenha(key));
        QCOMPARE(encoded.mid(64), GrupoHexadecimal('a' + 'Q') + GrupoHexadecimal('a' + 'p'));
    }
};

QTEST_GUILESS_MAIN(tst_CodificaSenha)
#include "tst_CodificaSenha.moc"
