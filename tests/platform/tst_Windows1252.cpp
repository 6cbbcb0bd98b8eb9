#include "Windows1252.h"

#include <QTest>

class tst_Windows1252 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte)
            all.append(static_cast<char>(byte));
        QCOMPARE(Windows1252::encode(Windows1252::decode(all)), all);
    }

    void portugueseAndTheHighRange()
    {
        QCOMPARE(Windows1252::decode("Relat\xf3rio de produ\xe7\xe3o.doc"),
                 QString::fromUtf8("Relatório de produção.doc"));
        QCOMPARE(Windows1252::decode("\x80\x93\x94"), QString::fromUtf8("€“”"));
        QCOMPARE(Windows1252::encode(QString::fromUtf8("ação €")), QByteArray("a\xe7\xe3o \x80"));
    }

    void unmappableBecomesQuestionMark()
    {
        QCOMPARE(Windows1252::encode(QString::fromUtf8("a→b😀")), QByteArray("a?b?"));
    }
};

QTEST_GUILESS_MAIN(tst_Windows1252)
#include "tst_Windows1252.moc"
