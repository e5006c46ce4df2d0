#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/SettingsSocket.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QtTest>

#include <clocale>

// Every command text, built while the system locale writes decimal commas.
class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void textIsExact_data();
    void textIsExact();
    void fractionsIgnoreTheSystemLocale_data();
    void fractionsIgnoreTheSystemLocale();
    void textsReachTheServerUnchanged();

private:
    QByteArray previousCLocale;
};

void TestCommands::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    previousCLocale = std::setlocale(LC_ALL, nullptr);
    // Only the C locales may be installed on the build machine; the Qt default locale alone
    // then stands in for a German system.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        qInfo("de_DE.UTF-8 is not installed; only the Qt default locale is German");
    QCOMPARE(QLocale().toString(0.5, 'f', 4), QStringLiteral("0,5000"));
}

void TestCommands::cleanupTestCase()
{
    std::setlocale(LC_ALL, previousCLocale.constData());
    QLocale::setDefault(QLocale::c());
}

void TestCommands::textIsExact_data()
{
    using namespace Commands;
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const QString& text, const char* expected) {
        QTest::addRow("%s", name) << text << QString::fromLatin1(expected);
    };

    row("version", version(), "version");
    row("IC version", getIcVersion(), "getIcVersion");
    row("frequency list", getModulationFrequencies(), "getModulationFrequencies");
    row("calibration type of index 0", getCalibrationTypeForFreqIdx(0), "getCalibrationTypeForFreqIdx 0");
    row("calibration type of index 7", getCalibrationTypeForFreqIdx(7), "getCalibrationTypeForFreqIdx 7");
    row("chip type register select", selectChipTypeRegister(), "w 11 FA");
    row("chip type register read", readChipType(), "r 12");
    row("register write, small values padded", writeRegister(0x0A, 0x05), "w 0A 05");
    row("register write, upper case", writeRegister(0xAB, 0xff), "w AB FF");
    row("register read 0", readRegister(0), "r 00");
    row("part version", getPartVersion(), "getPartVersion");
    row("FLIM step", flimGetStep(), "FLIMGetStep");
    row("offset", getOffset(), "getOffset");
    row("chip info", getChipInfo(), "getChipInfo");
    row("register dump", dumpAllRegisters(), "dumpAllRegisters");
    row("temperature", getTemperature(), "getTemperature");
    row("speed of light read", getSpeedOfLight(), "getSpeedOfLight");
    row("speed of light as typed", setSpeedOfLight(QStringLiteral("299792458")), "setSpeedOfLight 299792458");
    row("start video", startVideo(), "startVideo");
    row("stop video", stopVideo(), "stopVideo");

    row("grayscale frame", getBWSorted(), "getBWSorted");
    row("distance frame", getDistanceAndAmplitudeSorted(), "getDistanceAndAmplitudeSorted");
    row("amplitude frame", getAmplitudeSorted(), "getAmplitudeSorted");
    row("DCS frame", getDCSSorted(), "getDCSSorted");
    row("DCS and grayscale frame", getDCSTOFAndGrayscaleSorted(), "getDCSTOFAndGrayscaleSorted");

    row("grayscale integration", setIntegrationTime2D(25000), "setIntegrationTime2D 25000");
    row("TOF integration", setIntegrationTime3D(500), "setIntegrationTime3D 500");
    row("HDR integration", setIntegrationTime3DHDR(0), "setIntegrationTime3DHDR 0");
    row("frequency index", setModulationFrequency(3), "setModulationFrequency 3");
    row("min amplitude", setMinAmplitude(100), "setMinAmplitude 100");
    row("hysteresis off", setHysteresis(0), "setHysteresis 0");
    row("default offset on", enableDefaultOffset(true), "enableDefaultOffset 1");
    row("default offset off", enableDefaultOffset(false), "enableDefaultOffset 0");
    row("negative offset", setOffset(-20), "setOffset -20");
    row("large offset has no grouping", setOffset(123456), "setOffset 123456");
    row("temperature correction", enableTempCorrection(true), "enableTempCorrection 1");
    row("ROI", setROI(4, 323, 6, 125), "setROI 4 323 6 125");
    row("horizontal binning", enableHorizontalBinning(true), "enableHorizontalBinning 1");
    row("vertical binning", enableVerticalBinning(false), "enableVerticalBinning 0");
    row("row reduction", setRowReduction(3), "setRowReduction 3");
    row("pi delay", enablePiDelay(true), "enablePiDelay 1");
    row("dual MGX", enableDualMGX(false), "enableDualMGX 0");
    row("HDR", enableHDR(true), "enableHDR 1");
    row("modulation mode", selectMode(0), "selectMode 0");
    row("polynomial of LFSR index 3", selectPolynomial(3, 1), "selectPolynomial 4 1");
    row("polynomial of LFSR index 4", selectPolynomial(4, 2), "selectPolynomial 5 2");
    row("ABS", setABS(true), "setABS 1");
    row("saturation", enableSaturation(false), "enableSaturation 0");
    row("ADC overflow", enableAdcOverflow(true), "enableAdcOverflow 1");
    row("image averaging reset", setImageAveraging(0), "setImageAveraging 0");
    row("image averaging", setImageAveraging(16), "setImageAveraging 16");
    row("flash delay", flimSetFlashDelay(12), "FLIMSetFlashDelay 12");
    row("flash width", flimSetFlashWidth(40), "FLIMSetFlashWidth 40");
    row("gate T1", flimSetT(1, 100), "FLIMSetT1 100");
    row("gate T4", flimSetT(4, 2000), "FLIMSetT4 2000");
    row("repetition time", flimSetTrep(5000), "FLIMSetTREP 5000");
    row("repetitions", flimSetRepetitions(1000), "FLIMSetRepetitions 1000");

    row("grayscale configuration", loadConfig(0), "loadConfig 0");
    row("distance configuration", loadConfig(1), "loadConfig 1");
    row("FLIM view configuration", loadConfig(10), "loadConfig 1");
    row("bad pixels", getBadPixels(), "getBadPixels");
    row("grayscale offset on", correctGrayscaleOffset(true), "correctGrayscaleOffset 1");
    row("grayscale gain off", correctGrayscaleGain(false), "correctGrayscaleGain 0");
    row("DRNU on is 2", correctDRNU(true), "correctDRNU 2");
    row("DRNU off", correctDRNU(false), "correctDRNU 0");
    row("temperature correction on is 2", correctTemperature(true), "correctTemperature 2");
    row("temperature correction off", correctTemperature(false), "correctTemperature 0");
    row("show DRNU", showDRNU(), "showDRNU");
    row("hide DRNU", hideDRNU(), "hideDRNU");
    row("grayscale correction available", isGrayscaleCorrectionAvailable(), "isGrayscaleCorrectionAvailable");
    row("DRNU available", isDRNUAvailable(), "isDRNUAvailable");
    row("FLIM correction available", isFlimCorrectionAvailable(), "isFlimCorrectionAvailable");
    row("Kalman off", kalman(0), "Kalman 0");
    row("Kalman 3", kalman(3), "Kalman 3");
    row("Kalman threshold", setKalmanThreshold(500), "setKalmanThreshold 500");
    row("Kalman threshold 2", setKalmanThreshold2(1000), "setKalmanThreshold2 1000");
    row("Kalman checks off", setKalmanNumCheck(0), "setKalmanNumCheck 0");
    row("distortion detection", enableArgCheck(true), "enableArgCheck 1");
    row("FLIM DSNU", correctFlimOffset(true), "correctFlimOffset 1");
    row("FLIM PRNU", correctFlimGain(false), "correctFlimGain 0");
    row("Gauss filter on is 3", filterMode(true), "filterMode 3");
    row("Gauss filter off", filterMode(false), "filterMode 0");
    row("Gauss iterations", nloopFilter(2), "nloopFilter 2");

    row("bad pixel search", searchBadPixels(), "searchBadPixels");
    row("DRNU calibration", calibrateDRNU(), "calibrateDRNU");
    row("DRNU renewal", renewDRNU(), "renewDRNU");
}

void TestCommands::textIsExact()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestCommands::fractionsIgnoreTheSystemLocale_data()
{
    using namespace Commands;
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("K 0.5") << setKalmanK(0.5) << QStringLiteral("setKalmanK 0.5000");
    QTest::addRow("K 1") << setKalmanK(1.0) << QStringLiteral("setKalmanK 1.0000");
    QTest::addRow("K rounds to four decimals") << setKalmanK(0.123456) << QStringLiteral("setKalmanK 0.1235");
    QTest::addRow("K thousands have no grouping")
        << setKalmanK(12345.5) << QStringLiteral("setKalmanK 12345.5000");
    QTest::addRow("Q 0.1") << setKalmanQ(0.1) << QStringLiteral("setKalmanQ 0.1000");
    QTest::addRow("Q negative") << setKalmanQ(-0.25) << QStringLiteral("setKalmanQ -0.2500");
    QTest::addRow("Kdiff 0.1") << setKalmanKdiff(0.1) << QStringLiteral("setKalmanKdiff 0.10");
    QTest::addRow("Kdiff 2") << setKalmanKdiff(2.0) << QStringLiteral("setKalmanKdiff 2.00");
    QTest::addRow("Kdiff 0.005 rounds") << setKalmanKdiff(0.0051) << QStringLiteral("setKalmanKdiff 0.01");
}

void TestCommands::fractionsIgnoreTheSystemLocale()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestCommands::textsReachTheServerUnchanged()
{
    SettingsSocket settings;
    settings.setIp(QStringLiteral("127.0.0.1"));
    ScriptedServer server({ScriptedServer::Step::closeWithoutReply()});
    settings.setPort(server.port());
    ZelTcp tcp(&settings);
    tcp.setCommand(Commands::setKalmanK(0.5));
    QVERIFY(tcp.sendCommand(2000));
    tcp.setCommand(Commands::setOffset(-20));
    QVERIFY(tcp.sendCommand(2000));
    tcp.setCommand(Commands::selectChipTypeRegister());
    QVERIFY(tcp.sendCommand(2000));
    tcp.setCommand(Commands::setKalmanK(0.5));
    QVERIFY(tcp.sendCommand(2000));
    QCOMPARE(server.received(), (QList<QByteArray>{"setKalmanK 0.5000\n", "setOffset -20\n", "w 11 FA\n",
                                                   "setKalmanK 0.5000\n"}));
}

KESTRANE_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
