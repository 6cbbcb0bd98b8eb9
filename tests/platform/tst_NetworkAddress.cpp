#include "NetworkAddress.h"

#include <QTest>

// Addresses as an administrator writes them in the settings file and as peers arrive.
class tst_NetworkAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown"); // empty: not an address

        QTest::newRow("IPv4") << "192.0.2.50"
                              << "192.0.2.50";
        QTest::newRow("IPv4 extremes") << "0.0.0.0"
                                       << "0.0.0.0";
        QTest::newRow("IPv4 broadcast") << "255.255.255.255"
                                        << "255.255.255.255";
        QTest::newRow("octet too big") << "192.0.2.256"
                                       << "";
        QTest::newRow("leading zero") << "192.0.2.010"
                                      << "";
        QTest::newRow("three parts") << "10.1.2"
                                     << "";
        QTest::newRow("shorthand") << "10.1"
                                   << "";
        QTest::newRow("five parts") << "1.2.3.4.5"
                                    << "";
        QTest::newRow("empty part") << "1..3.4"
                                    << "";
        QTest::newRow("sign") << "+1.2.3.4"
                              << "";
        QTest::newRow("blank") << " 1.2.3.4"
                               << "";
        QTest::newRow("name") << "localhost"
                              << "";
        QTest::newRow("NUL inside") << QString::fromLatin1("1.2.3.4\0.5", 9) << "";
        QTest::newRow("not ASCII") << QString::fromUtf8("1.2.3.４") << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("loopback v6") << "::1"
                                     << "::1";
        QTest::newRow("unspecified") << "::"
                                     << "::";
        QTest::newRow("full v6") << "2001:0db8:0000:0000:0000:ff00:0042:8329"
                                 << "2001:db8::ff00:42:8329";
        QTest::newRow("upper case") << "2001:DB8::1"
                                    << "2001:db8::1";
        QTest::newRow("gap at end") << "fe80::"
                                    << "fe80::";
        QTest::newRow("longest gap wins") << "1:0:0:2:0:0:0:3"
                                          << "1:0:0:2::3";
        QTest::newRow("single zero not a gap") << "1:2:3:4:5:6:0:8"
                                               << "1:2:3:4:5:6:0:8";
        QTest::newRow("mapped IPv4 is IPv4") << "::ffff:192.0.2.50"
                                             << "192.0.2.50";
        QTest::newRow("mapped IPv4 in hex") << "::ffff:c000:232"
                                            << "192.0.2.50";
        QTest::newRow("dotted tail") << "64:ff9b::192.0.2.1"
                                     << "64:ff9b::c000:201";
        QTest::newRow("full with dotted tail") << "1:2:3:4:5:6:1.2.3.4"
                                               << "1:2:3:4:5:6:102:304";
        QTest::newRow("two gaps") << "1::2::3"
                                  << "";
        QTest::newRow("triple colon") << ":::1"
                                      << "";
        QTest::newRow("leading single colon") << ":1:2:3:4:5:6:7"
                                              << "";
        QTest::newRow("seven groups") << "1:2:3:4:5:6:7"
                                      << "";
        QTest::newRow("nine groups") << "1:2:3:4:5:6:7:8:9"
                                     << "";
        QTest::newRow("gap with eight groups") << "1:2:3:4::5:6:7:8"
                                               << "";
        QTest::newRow("group too long") << "12345::1"
                                        << "";
        QTest::newRow("not hex") << "fg::1"
                                 << "";
        QTest::newRow("zone") << "fe80::1%eth0"
                              << "";
        QTest::newRow("bad dotted tail") << "::ffff:1.2.3"
                                         << "";
        QTest::newRow("dotted tail too many groups") << "1:2:3:4:5:6:7:1.2.3.4"
                                                     << "";
        QTest::newRow("dotted not last") << "::1.2.3.4:5"
                                         << "";
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        const std::optional<NetworkAddress> address = NetworkAddress::parse(text);
        QCOMPARE(address ? address->toString() : QString(), shown);
        if (address) // what is shown reads back as the same address
            QCOMPARE(NetworkAddress::parse(address->toString()), address);
    }

    void ipv4IsKeptMapped()
    {
        const NetworkAddress address = NetworkAddress::fromIPv4(0xc0000232);
        QVERIFY(address.isIPv4());
        QCOMPARE(NetworkAddress::parse(u"::ffff:192.0.2.50"), address);
        QVERIFY(!NetworkAddress::parse(u"::192.0.2.50")->isIPv4()); // the old "compatible" form is not
        QVERIFY(!NetworkAddress::parse(u"::1")->isIPv4());
    }

    void masked()
    {
        const NetworkAddress address = *NetworkAddress::parse(u"2001:db8:abcd:12ff::1");
        QCOMPARE(address.masked(128), address);
        QCOMPARE(address.masked(0), NetworkAddress());
        QCOMPARE(address.masked(52).toString(), "2001:db8:abcd:1000::");
        QCOMPARE(address.masked(56).toString(), "2001:db8:abcd:1200::");
        QCOMPARE(NetworkAddress::parse(u"192.0.2.77")->masked(96 + 25).toString(), "192.0.2.0");
        QCOMPARE(NetworkAddress::parse(u"192.0.2.200")->masked(96 + 25).toString(), "192.0.2.128");
    }
};

QTEST_APPLESS_MAIN(tst_NetworkAddress)
#include "tst_NetworkAddress.moc"
