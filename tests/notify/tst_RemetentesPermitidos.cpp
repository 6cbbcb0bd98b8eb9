#include "RemetentesPermitidos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The settings file's list of who may send, and which peers it lets in.
class tst_RemetentesPermitidos : public QObject {
    Q_OBJECT

    static NetworkAddress address(const char* text)
    {
        return *NetworkAddress::parse(QString::fromLatin1(text));
    }

private Q_SLOTS:
    void lists_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("allowed");
        QTest::addColumn<QStringList>("refused");

        const QStringList anyone{"192.0.2.50", "127.0.0.1", "::1", "2001:db8::7"};
        QTest::newRow("no file content") << "" << anyone << QStringList{};
        QTest::newRow("comments and an empty list")
            << "# who may send\n\nallowed-senders =   # nobody listed yet\n"
            << anyone << QStringList{};
        QTest::newRow("one address") << "allowed-senders = 192.0.2.10"
                                     << QStringList{"192.0.2.10", "::ffff:192.0.2.10"}
                                     << QStringList{"192.0.2.11", "127.0.0.1", "::1", "::192.0.2.10"};
        QTest::newRow("IPv4 network")
            << "allowed-senders = 10.20.0.0/16" << QStringList{"10.20.0.0", "10.20.255.255"}
            << QStringList{"10.21.0.0", "10.19.255.255", "::a14:1"};
        QTest::newRow("odd prefix") << "allowed-senders=192.0.2.128/25"
                                    << QStringList{"192.0.2.128", "192.0.2.255"}
                                    << QStringList{"192.0.2.127"};
        QTest::newRow("every IPv4 address")
            << "allowed-senders = 0.0.0.0/0" << QStringList{"1.2.3.4", "255.255.255.255"}
            << QStringList{"::1", "2001:db8::1"};
        QTest::newRow("IPv6 address and network")
            << "allowed-senders = ::1, 2001:db8:1::/48" << QStringList{"::1", "2001:db8:1:ffff::9"}
            << QStringList{"::2", "2001:db8:2::", "127.0.0.1"};
        QTest::newRow("IPv4 network written mapped") << "allowed-senders = ::ffff:192.0.2.0/120"
                                                     << QStringList{"192.0.2.9"} << QStringList{"192.0.3.9"};
        QTest::newRow("several lines, blanks, commas and CR LF")
            << "allowed-senders = 192.0.2.10,192.0.2.11\r\n  allowed-senders\t=\t10.0.0.0/8 ,, 127.0.0.1\r\n"
            << QStringList{"192.0.2.10", "192.0.2.11", "10.9.9.9", "127.0.0.1"} << QStringList{"192.0.2.12"};
        // As a document or a web page gives them: no-break, em and ideographic spaces.
        QTest::newRow("Unicode blanks")
            << QString::fromUtf8("allowed-senders =\u00a0192.0.2.10\u00a0192.0.2.11,\u2003::1\u3000\u00a0")
            << QStringList{"192.0.2.10", "192.0.2.11", "::1"} << QStringList{"192.0.2.12"};
    }

    void lists()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, allowed);
        QFETCH(QStringList, refused);
        const RemetentesPermitidos list = RemetentesPermitidos::Interpreta(file);
        QCOMPARE(list.Erro(), QString());
        QCOMPARE(list.Restringe(), !refused.isEmpty());
        for (const QString& peer : allowed)
            QVERIFY2(list.Permite(*NetworkAddress::parse(peer)), qPrintable(peer));
        for (const QString& peer : refused)
            QVERIFY2(!list.Permite(*NetworkAddress::parse(peer)), qPrintable(peer));
    }

    // Whatever is not understood lets no one in, and says where.
    void malformedLetsNoOneIn_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");

        const QString noEntry = QString::fromUtf8("não é um endereço nem uma rede");
        QTest::newRow("misspelt key") << "allowed-sender = 192.0.2.10"
                                      << QString::fromUtf8("linha 1: \"allowed-sender = 192.0.2.10\" não é");
        QTest::newRow("no equals sign") << "# list\nallowed-senders 192.0.2.10"
                                        << "linha 2: ";
        QTest::newRow("host name") << "allowed-senders = server.example"
                                   << "linha 1: \"server.example\" " + noEntry;
        QTest::newRow("IPv4 prefix too long") << "allowed-senders = 10.0.0.0/33"
                                              << "\"10.0.0.0/33\" " + noEntry;
        QTest::newRow("IPv6 prefix too long") << "allowed-senders = ::/129"
                                              << "\"::/129\" " + noEntry;
        QTest::newRow("empty prefix") << "allowed-senders = 10.0.0.0/" << noEntry;
        QTest::newRow("signed prefix") << "allowed-senders = 10.0.0.0/+8" << noEntry;
        QTest::newRow("netmask instead of prefix") << "allowed-senders = 10.0.0.0/255.0.0.0" << noEntry;
        QTest::newRow("shorthand address") << "allowed-senders = 10.1" << noEntry;
        QTest::newRow("semicolon separator") << "allowed-senders = 192.0.2.10;192.0.2.11" << noEntry;
        QTest::newRow("host bits set")
            << "allowed-senders = 192.0.2.7/24" << QString::fromUtf8("\"192.0.2.7/24\" tem bits de estação");
        QTest::newRow("IPv6 host bits set") << "allowed-senders = 2001:db8::1/64"
                                            << "bits";
        QTest::newRow("good entries do not save a bad one")
            << "allowed-senders = 192.0.2.10\nallowed-senders = 192.0.2.0/33"
            << "linha 2: ";
    }

    void malformedLetsNoOneIn()
    {
        QFETCH(QString, file);
        QFETCH(QString, error);
        const RemetentesPermitidos list = RemetentesPermitidos::Interpreta(file);
        QVERIFY2(list.Erro().contains(error), qPrintable(list.Erro()));
        QVERIFY(list.Restringe());
        for (const char* peer : {"192.0.2.10", "192.0.2.7", "127.0.0.1", "::1", "10.0.0.1"})
            QVERIFY2(!list.Permite(address(peer)), peer);
    }

    void readFromFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("corvellane.conf");
        const RemetentesPermitidos missing = RemetentesPermitidos::DoArquivo(path);
        QVERIFY(!missing.Restringe());
        QCOMPARE(missing.Erro(), QString());

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("allowed-senders = 192.0.2.10\n");
        file.close();
        const RemetentesPermitidos listed = RemetentesPermitidos::DoArquivo(path);
        QVERIFY(listed.Permite(address("192.0.2.10")));
        QVERIFY(!listed.Permite(address("192.0.2.11")));

        // There but unreadable: a restriction may be in it.
        QVERIFY(file.remove());
        QVERIFY(QDir(dir.path()).mkdir("corvellane.conf"));
        const RemetentesPermitidos unreadable = RemetentesPermitidos::DoArquivo(path);
        QVERIFY(unreadable.Restringe());
        QVERIFY2(unreadable.Erro().contains(QString::fromUtf8("não foi possível ler")),
                 qPrintable(unreadable.Erro()));
        QVERIFY(!unreadable.Permite(address("192.0.2.10")));
    }
};

QTEST_APPLESS_MAIN(tst_RemetentesPermitidos)
#include "tst_RemetentesPermitidos.moc"
