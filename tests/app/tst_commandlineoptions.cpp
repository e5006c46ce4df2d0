#include "app/CommandLineOptions.h"
#include "support/TestMain.h"

#include <QtTest>

class TestCommandLineOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void malformed_data();
    void malformed();
    void helpListsEveryOption();
};

void TestCommandLineOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("loadDefault");
    QTest::addColumn<bool>("startVideo");
    QTest::addColumn<QString>("screenshot");
    QTest::addColumn<bool>("help");

    const QString program = QStringLiteral("kestrane");
    QTest::addRow("none: the start dialog")
        << QStringList{program} << false << "" << 0 << false << false << "" << false;
    QTest::addRow("restart passes the program path again")
        << QStringList{program, program} << true << "" << 0 << false << false << "" << false;
    QTest::addRow("any word") << QStringList{program, "x"} << true << "" << 0 << false << false << ""
                              << false;
    QTest::addRow("demo") << QStringList{program,         "--ip",         "127.0.0.1",
                                         "--port",        "50661",        "--load-default",
                                         "--start-video", "--screenshot", "/tmp/a b.png"}
                          << true << "127.0.0.1" << 50661 << true << true << "/tmp/a b.png" << false;
    QTest::addRow("equals form") << QStringList{program, "--ip=::1", "--port=1"} << true << "::1" << 1
                                 << false << false << "" << false;
    QTest::addRow("host name") << QStringList{program, "--ip", "localhost"} << true << "localhost" << 0
                               << false << false << "" << false;
    QTest::addRow("port 65535") << QStringList{program, "--port", "65535"} << true << "" << 65535 << false
                                << false << "" << false;
    QTest::addRow("load default alone")
        << QStringList{program, "--load-default"} << true << "" << 0 << true << false << "" << false;
    QTest::addRow("help") << QStringList{program, "--help"} << true << "" << 0 << false << false << ""
                          << true;
    QTest::addRow("-h") << QStringList{program, "-h"} << true << "" << 0 << false << false << "" << true;
}

void TestCommandLineOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, skip);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(bool, loadDefault);
    QFETCH(bool, startVideo);
    QFETCH(QString, screenshot);
    QFETCH(bool, help);
    CommandLineOptions options;
    QVERIFY2(options.parse(arguments), qPrintable(options.errorText()));
    QCOMPARE(options.skipStartDialog(), skip);
    QCOMPARE(options.hasIp(), !ip.isEmpty());
    QCOMPARE(options.ip(), ip);
    QCOMPARE(options.hasPort(), port != 0);
    QCOMPARE(options.port(), port);
    QCOMPARE(options.loadDefault(), loadDefault);
    QCOMPARE(options.startVideo(), startVideo);
    QCOMPARE(options.hasScreenshot(), !screenshot.isEmpty());
    QCOMPARE(options.screenshotPath(), screenshot);
    QCOMPARE(options.helpRequested(), help);
}

void TestCommandLineOptions::malformed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString program = QStringLiteral("kestrane");
    QTest::addRow("unknown option") << QStringList{program, "--fast"} << "fast";
    QTest::addRow("port missing its value") << QStringList{program, "--port"} << "port";
    QTest::addRow("port 0") << QStringList{program, "--port", "0"} << "'0'";
    QTest::addRow("port 65536") << QStringList{program, "--port", "65536"} << "'65536'";
    QTest::addRow("port not a number") << QStringList{program, "--port", "50x"} << "'50x'";
    QTest::addRow("negative port") << QStringList{program, "--port=-5"} << "'-5'";
    QTest::addRow("address with a blank") << QStringList{program, "--ip", "127.0.0.1 x"} << "127.0.0.1 x";
    QTest::addRow("empty address") << QStringList{program, "--ip", ""} << "address";
    QTest::addRow("address with a slash") << QStringList{program, "--ip", "a/b"} << "a/b";
    QTest::addRow("empty screenshot path") << QStringList{program, "--screenshot", ""} << "screenshot";
    QTest::addRow("view mode 10") << QStringList{program, "--view-mode", "10"} << "'10'";
    QTest::addRow("view mode not a number") << QStringList{program, "--view-mode", "x"} << "'x'";
}

void TestCommandLineOptions::malformed()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    CommandLineOptions options;
    QVERIFY(!options.parse(arguments));
    QVERIFY2(options.errorText().contains(error), qPrintable(options.errorText()));
    // A refused command line still counts as arguments: never the start dialog.
    QVERIFY(options.skipStartDialog());
}

void TestCommandLineOptions::helpListsEveryOption()
{
    CommandLineOptions options;
    QVERIFY(options.parse({QStringLiteral("kestrane"), QStringLiteral("--help")}));
    const QString help = options.helpText();
    for (const char* option :
         {"--ip <ADDRESS>", "--port <N>", "--load-default", "--start-video", "--screenshot <PATH>",
          "--view-mode <N>", "--help", "KESTRANE_NONINTERACTIVE=1"})
        QVERIFY2(help.contains(QLatin1String(option)), option);
}

KESTRANE_TEST_MAIN(TestCommandLineOptions)
#include "tst_commandlineoptions.moc"
