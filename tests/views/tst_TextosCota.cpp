#include "TextosCota.h"
#include "TextosPainel.h"

#include <QTest>

Q_DECLARE_METATYPE(TextosPainel)

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

        const TextosCota result = TextosCota::De({-1, "jsilva", 63, 100, remaining, unlimited, noPolicy});
        QCOMPARE(result.usuario, QStringLiteral("-1 - jsilva"));
        QCOMPARE((QStringList{result.quota, result.docImpressos, result.restante, result.tituloDocs}), texts);
        QCOMPARE(result.restanteVisivel, remainingShown);
    }

    // The main panel's figures: the unlimited flag wins over the no-policy flag there, a user without
    // a policy leaves the captions and the tray image as they were, and the policy's type shows only
    // beside a limited quota.
    void panel_data()
    {
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<bool>("noPolicy");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<TextosPainel>("texts");

        const auto textos = [](QString quota, QString printed, QString remaining,
                               std::optional<QString> caption, std::optional<bool> remainingCaption,
                               QString type, std::optional<int> image) {
            return TextosPainel{quota, printed, remaining, caption, remainingCaption, type, image};
        };
        QTest::newRow("limited, half used")
            << false << false << 37 << textos("100", "63", "37", {}, true, " - Mensal", 7);
        QTest::newRow("limited, nothing left")
            << false << false << 0 << textos("100", "63", "0", {}, true, " - Mensal", 8);
        QTest::newRow("over the quota, no pages counted")
            << false << false << -63 << textos("100", "63", "-63", {}, true, " - Mensal", 6);
        QTest::newRow("unlimited") << true << false << 37
                                   << textos("Infinita", "63", "", "Doc. Impressos Mês:", false, "", 9);
        QTest::newRow("no policy") << false << true << 0 << textos("N/A", "N/A", "N/A", {}, {}, "", {});
        QTest::newRow("unlimited and no policy")
            << true << true << 37 << textos("Infinita", "63", "", "Doc. Impressos Mês:", false, "", 9);
    }
    void panel()
    {
        QFETCH(bool, unlimited);
        QFETCH(bool, noPolicy);
        QFETCH(int, remaining);
        QFETCH(TextosPainel, texts);

        const TextosPainel result = TextosPainel::De({-1, "jsilva", 63, 100, remaining, unlimited, noPolicy},
                                                     QStringLiteral("Mensal"));
        QCOMPARE(result.quota, texts.quota);
        QCOMPARE(result.docImpressos, texts.docImpressos);
        QCOMPARE(result.restante, texts.restante);
        QCOMPARE(result.tituloDocs, texts.tituloDocs);
        QCOMPARE(result.legendaRestanteVisivel, texts.legendaRestanteVisivel);
        QCOMPARE(result.tipoPolitica, texts.tipoPolitica);
        QCOMPARE(result.imagem, texts.imagem);
    }
};

QTEST_MAIN(tst_TextosCota)
#include "tst_TextosCota.moc"
