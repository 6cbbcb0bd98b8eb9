#include "TextosCota.h"

#include <QTest>

class tst_TextosCota : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The unlimited flag and then, on its own, the no-policy flag: both together (an earlier account's
    // no-policy flag that a login left behind) give "N/A" figures under the unlimited caption.
    void texts_data()
    {
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<bool>("noPolicy");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<QStringList>("texts"); // quota, printed, remaining, printed caption
        QTest::addColumn<bool>("remainingShown");

        QTest::newRow("limited") << false << false << 37 << QStringList{"100", "63", "37", "Doc. Impressos:"}
                                 << true;
        QTest::newRow("over the quota")
            << false << false << -3 << QStringList{"100", "63", "-3", "Doc. Impressos:"} << true;
        QTest::newRow("unlimited") << true << false << 37
                                   << QStringList{"Infinita", "63", "37", "Doc. Impressos Mês:"} << false;
        QTest::newRow("no policy") << false << true << 0
                                   << QStringList{"N/A", "N/A", "N/A", "Doc. Impressos:"} << true;
        QTest::newRow("unlimited and no policy")
            << true << true << 37 << QStringList{"N/A", "N/A", "N/A", "Doc. Impressos Mês:"} << false;
    }
    void texts()
    {
        QFETCH(bool, unlimited);
        QFETCH(bool, noPolicy);
        QFETCH(int, remaining);
        QFETCH(QStringList, texts);
        QFETCH(bool, remainingShown);

        const TextosCota result = TextosCota::de({-1, "jsilva", 63, 100, remaining, unlimited, noPolicy});
        QCOMPARE(result.usuario, QStringLiteral("-1 - jsilva"));
        QCOMPARE((QStringList{result.quota, result.docImpressos, result.restante, result.tituloDocs}), texts);
        QCOMPARE(result.restanteVisivel, remainingShown);
    }
};

QTEST_MAIN(tst_TextosCota)
#include "tst_TextosCota.moc"
