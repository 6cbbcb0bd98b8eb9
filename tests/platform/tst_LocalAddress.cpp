#include "LocalAddress.h"

#include <QNetworkInterface>
#include <QTest>

// The workstation's address against Qt's own view of the interfaces, read independently.
class tst_LocalAddress : public QObject {
    Q_OBJECT

    static QString expected()
    {
        for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
            const auto flags = interface.flags();
            if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
                flags.testFlag(QNetworkInterface::IsLoopBack))
                continue;
            for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
                const QHostAddress address = entry.ip();
                if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback() &&
                    !address.isInSubnet(QHostAddress(QStringLiteral("169.254.0.0")), 16))
                    return address.toString();
            }
        }
        return {};
    }

private Q_SLOTS:
    void firstUsableIPv4()
    {
        const QString address = LocalAddress::firstIPv4();
        QCOMPARE(address, expected());
        if (!address.isEmpty())
            QVERIFY(!QHostAddress(address).isNull());
    }

    void overriddenForTests()
    {
        LocalAddress::setForTesting(QStringLiteral("10.1.2.3"));
        QCOMPARE(LocalAddress::firstIPv4(), QStringLiteral("10.1.2.3"));
        LocalAddress::resetForTesting();
        QCOMPARE(LocalAddress::firstIPv4(), expected());
    }
};

QTEST_GUILESS_MAIN(tst_LocalAddress)
#include "tst_LocalAddress.moc"
