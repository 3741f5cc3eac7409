// The command line of h7q8tool.

#include "app/startup.h"

#include <QTest>

using namespace h7q8;

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("simulate");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("faults");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("error");
        QTest::newRow("none: port 1") << QStringList{} << false << "" << "" << false << false;
        QTest::newRow("port") << QStringList{"--port", "/dev/ttyUSB0"} << false << "/dev/ttyUSB0" << "" << false << false;
        QTest::newRow("port=") << QStringList{"--port=/dev/pts/3"} << false << "/dev/pts/3" << "" << false << false;
        QTest::newRow("simulate with faults") << QStringList{"--simulate", "--fault", "error,lost"} << true << ""
                                              << "error,lost" << false << false;
        QTest::newRow("help") << QStringList{"--help"} << false << "" << "" << true << false;
        QTest::newRow("port without value") << QStringList{"--port"} << false << "" << "" << false << true;
        QTest::newRow("unknown") << QStringList{"--speed", "9600"} << false << "" << "" << false << true;
        QTest::newRow("fault without simulate") << QStringList{"--fault", "crc"} << false << "" << "crc" << false << true;
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, simulate);
        QFETCH(QString, device);
        QFETCH(QString, faults);
        QFETCH(bool, help);
        QFETCH(bool, error);
        args.prepend(QStringLiteral("h7q8tool"));
        const ToolOptions o = ParseToolOptions(args);
        QCOMPARE(o.simulate, simulate);
        QCOMPARE(o.device, device);
        QCOMPARE(o.faults, faults);
        QCOMPARE(o.help, help);
        QCOMPARE(!o.error.isEmpty(), error);
    }

    void usageListsEveryOption()
    {
        for (const char *option : {"--port", "--simulate", "--fault", "--help"})
            QVERIFY2(ToolUsage().contains(QLatin1String(option)), option);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
