#include "sim/SimOptions.h"
#include "support/TestMain.h"

#include <QObject>

class TestSimOptions final : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("ok");

        QTest::addRow("no arguments") << QStringList() << true;
        QTest::addRow("ephemeral port") << QStringList{"--port", "0"} << true;
        QTest::addRow("port too large") << QStringList{"--port", "65536"} << false;
        QTest::addRow("every chip") << QStringList{"--chip", "zc220"} << true;
        QTest::addRow("unknown chip") << QStringList{"--chip", "zc330"} << false;
        QTest::addRow("old server") << QStringList{"--server-version", "-1"} << true;
        QTest::addRow("version beyond 16 bits") << QStringList{"--server-version", "40000"} << false;
        QTest::addRow("listen on an address") << QStringList{"--listen", "0.0.0.0"} << true;
        QTest::addRow("listen on a name") << QStringList{"--listen", "camera"} << false;
        QTest::addRow("faults") << QStringList{"--fault", "delay=20,every=3,partial"} << true;
        QTest::addRow("bad fault") << QStringList{"--fault", "explode"} << false;
        QTest::addRow("negative delay") << QStringList{"--fault", "delay=-1"} << false;
        QTest::addRow("missing value") << QStringList{"--seed"} << false;
        QTest::addRow("unknown option") << QStringList{"--colour"} << false;
        QTest::addRow("switches") << QStringList{"--realtime", "--no-noise", "--long-op-ms", "50"} << true;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, ok);
        SimConfig config;
        QString message;
        bool exitNow = true;
        QCOMPARE(SimOptions::parse(QStringList{"zmu-sim"} + arguments, &config, &message, &exitNow), ok);
        QVERIFY(!exitNow);
        QCOMPARE(message.isEmpty(), ok);
    }

    void valuesReachTheConfiguration()
    {
        SimConfig config;
        QString message;
        bool exitNow = false;
        QVERIFY(SimOptions::parse({"zmu-sim", "--chip", "zc310", "--port", "0", "--server-version", "21103",
                                   "--part-version", "4", "--seed", "77", "--realtime", "--no-noise",
                                   "--offset", "-12"},
                                  &config, &message, &exitNow));
        QCOMPARE(config.chip.chipType, 4);
        QCOMPARE(config.chip.columns, 168);
        QCOMPARE(config.port, quint16(0));
        QCOMPARE(config.serverVersion, 21103);
        QCOMPARE(config.partVersion, 4);
        QCOMPARE(config.seed, quint64(77));
        QVERIFY(config.realtime);
        QVERIFY(!config.noise);
        QCOMPARE(config.automaticOffset, -12);
        QCOMPARE(config.listenAddress, QHostAddress(QHostAddress::LocalHost));
    }

    void helpDocumentsEveryOption()
    {
        SimConfig config;
        QString message;
        bool exitNow = false;
        QVERIFY(SimOptions::parse({"zmu-sim", "--help"}, &config, &message, &exitNow));
        QVERIFY(exitNow);
        for (const char* option :
             {"--listen",       "--port",    "--chip",     "--server-version", "--ic-version",
              "--part-version", "--offset",  "--seed",     "--long-op-ms",     "--realtime",
              "--no-noise",     "--verbose", "--fault",    "authentication",   "sim.fault",
              "sim.lastFrame",  "sim.state", "sim.freeze", "sim.noise",        "sim.frame"})
            QVERIFY2(message.contains(QLatin1String(option)), option);
    }
};

KESTRANE_TEST_MAIN(TestSimOptions)
#include "tst_options.moc"
