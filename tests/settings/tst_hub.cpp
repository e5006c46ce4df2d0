#include "settings/Settings.h"

#include "SignalLog.h"
#include "TraceLog.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

using HubAction = std::function<void(Settings&)>;
Q_DECLARE_METATYPE(HubAction)

using TraceLog::tracesOf;

class TestHub : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheDocumentedValues_data();
    void startsWithTheDocumentedValues();
    void modeIndexAnnouncesEveryModeButFlim_data();
    void modeIndexAnnouncesEveryModeButFlim();
    void acquisitionStateFollowsTheOperations_data();
    void acquisitionStateFollowsTheOperations();
    void lockCorrectionsSavesOnceAndRestores_data();
    void lockCorrectionsSavesOnceAndRestores();
    void announcementsCarryTheirValues_data();
    void announcementsCarryTheirValues();
    void twoValuedFieldsKeepTheirHalvesApart_data();
    void twoValuedFieldsKeepTheirHalvesApart();
    void serverVersionRendersAsDottedDecimals_data();
    void serverVersionRendersAsDottedDecimals();
    void chipSupportDependsOnTypeAndPartVersion_data();
    void chipSupportDependsOnTypeAndPartVersion();
    void subObjectsAreDestroyedInReverseOrder();
};

void TestHub::startsWithTheDocumentedValues_data()
{
    QTest::addColumn<QVariant>("actual");
    QTest::addColumn<QVariant>("expected");
    static const Settings s;
    // Values other code divides by, indexes with or shows before any file is loaded.
    QTest::addRow("view mode distance") << QVariant(s.modeIndex()) << QVariant(1);
    QTest::addRow("stopped") << QVariant(s.running() || s.videoActive()) << QVariant(false);
    QTest::addRow("offset re-read on resume") << QVariant(s.readOffsetOnResume()) << QVariant(true);
    QTest::addRow("moving average of one") << QVariant(s.movingAverageImageNumber()) << QVariant(1);
    QTest::addRow("speed of light halved") << QVariant(s.speedOfLight()) << QVariant(150000000.0);
    QTest::addRow("no chip identified")
        << QVariant(s.chipType() + s.partVersion() + s.serverVersion() + s.icVersion()) << QVariant(0);
    QTest::addRow("kalman K") << QVariant(s.kalmanK()) << QVariant(0.1);
    QTest::addRow("kalman Q") << QVariant(s.kalmanQ()) << QVariant(2.0);
    QTest::addRow("edge threshold first") << QVariant(s.edgeDetectionThreshold(false)) << QVariant(100);
    // Derived from the first, as if the view panel had set it: never 0 with edge detection on.
    QTest::addRow("edge threshold second") << QVariant(s.edgeDetectionThreshold(true)) << QVariant(100);
    QTest::addRow("point-cloud filter first") << QVariant(s.pcFilterIterations(false)) << QVariant(70);
    QTest::addRow("median size") << QVariant(s.medianFilterSize()) << QVariant(3);
    QTest::addRow("log one picture") << QVariant(s.logNumberOfPictures()) << QVariant(1);
    QTest::addRow("no corrections saved") << QVariant(s.correctionsSaved()) << QVariant(false);
    QTest::addRow("TOF integration time")
        << QVariant(s.integrationTime()->integrationTime3D()) << QVariant(700);
    QTest::addRow("second frequency selected") << QVariant(s.modulation()->frequencyIndex()) << QVariant(1);
    QTest::addRow("automatic offset") << QVariant(s.settings3D()->autoOffsetEnabled()) << QVariant(true);
    QTest::addRow("large sensor width") << QVariant(s.roi()->sensorWidth()) << QVariant(328);
    QTest::addRow("large sensor height") << QVariant(s.roi()->sensorHeight()) << QVariant(252);
    QTest::addRow("ROI width") << QVariant(s.roi()->width()) << QVariant(320);
    QTest::addRow("ROI height") << QVariant(s.roi()->height()) << QVariant(240);
    QTest::addRow("binning factor") << QVariant(s.binningAndReduction()->totalFactor()) << QVariant(1);
    QTest::addRow("amplitude HDR") << QVariant(s.distanceCalculation()->amplitudeHdr()) << QVariant(true);
    QTest::addRow("field of view") << QVariant(s.calibration()->fov()) << QVariant(108);
    QTest::addRow("server address") << QVariant(s.socket()->ip()) << QVariant(QStringLiteral("192.168.7.2"));
    QTest::addRow("server port") << QVariant(s.socket()->port()) << QVariant(50660);
    QTest::addRow("not a FLIM chip") << QVariant(s.flim()->flimChip()) << QVariant(false);
}

void TestHub::startsWithTheDocumentedValues()
{
    QFETCH(QVariant, actual);
    QFETCH(QVariant, expected);
    QCOMPARE(actual, expected);
}

void TestHub::modeIndexAnnouncesEveryModeButFlim_data()
{
    QTest::addColumn<QVector<int>>("modes");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("FLIM mode is entered silently") << QVector<int>{10} << QStringList();
    QTest::addRow("amplitude grayscale") << QVector<int>{3} << QStringList{"modeIndexChanged(3)"};
    QTest::addRow("same mode twice announces twice")
        << QVector<int>{3, 3} << QStringList{"modeIndexChanged(3)", "modeIndexChanged(3)"};
    QTest::addRow("grayscale and TOF HDR")
        << QVector<int>{0, 9} << QStringList{"modeIndexChanged(0)", "modeIndexChanged(9)"};
    QTest::addRow("leaving FLIM announces") << QVector<int>{10, 1} << QStringList{"modeIndexChanged(1)"};
}

void TestHub::modeIndexAnnouncesEveryModeButFlim()
{
    QFETCH(QVector<int>, modes);
    QFETCH(QStringList, expected);
    Settings settings;
    SignalLog log(&settings);
    for (int mode : modes)
        settings.setModeIndex(mode);
    QCOMPARE(log.entries(), expected);
    QCOMPARE(settings.modeIndex(), modes.last());
}

void TestHub::acquisitionStateFollowsTheOperations_data()
{
    QTest::addColumn<HubAction>("action");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("videoActive");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("start streams") << HubAction([](Settings& s) { s.startAcquisition(); }) << true << true
                                   << QStringList{"started()"};
    QTest::addRow("pause keeps running") << HubAction([](Settings& s) {
        s.startAcquisition();
        s.pauseAcquisition();
    }) << true << false << QStringList{"started()", "paused()"};
    QTest::addRow("resume after pause") << HubAction([](Settings& s) {
        s.pauseAcquisition();
        s.startAcquisition();
    }) << true << true << QStringList{"paused()", "started()"};
    QTest::addRow("stop leaves video flag as it was") << HubAction([](Settings& s) {
        s.startAcquisition();
        s.stopAcquisition();
    }) << false << true << QStringList{"started()", "stopped()"};
    QTest::addRow("stop while paused") << HubAction([](Settings& s) {
        s.pauseAcquisition();
        s.stopAcquisition();
    }) << false << false << QStringList{"paused()", "stopped()"};
    QTest::addRow("requests and announcements touch no flags") << HubAction([](Settings& s) {
        s.startAcquisition();
        s.requestPause();
        s.requestStop();
        s.announceStopped();
        s.announceStartedVideo();
        s.announceFieldsLocked(true);
    }) << true << true << QStringList{"started()", "pauseRequested()", "stopRequested()",
                                      "stopped()", "startedVideo()",   "fieldsLocked(true)"};
}

void TestHub::acquisitionStateFollowsTheOperations()
{
    QFETCH(HubAction, action);
    QFETCH(bool, running);
    QFETCH(bool, videoActive);
    QFETCH(QStringList, expected);
    Settings settings;
    SignalLog log(&settings);
    action(settings);
    QCOMPARE(settings.running(), running);
    QCOMPARE(settings.videoActive(), videoActive);
    QCOMPARE(log.entries(), expected);
}

void TestHub::lockCorrectionsSavesOnceAndRestores_data()
{
    QTest::addColumn<HubAction>("action");
    QTest::addColumn<QStringList>("expected");
    const QStringList locked{"checkDRNU(false)", "checkShowDRNU(false)", "checkTemperature(false)",
                             "lockDRNUCorrection(true)", "lockTemperatureCorrection(true)"};
    QTest::addRow("lock unticks and locks")
        << HubAction([](Settings& s) { s.lockCorrections(true); }) << locked;
    QTest::addRow("lock twice restores the first saved switches")
        << HubAction([](Settings& s) {
               s.calibration()->setDrnuCorrection(true);
               s.calibration()->setTemperatureCorrection(false);
               s.setSavedShowDrnu(true);
               s.lockCorrections(true);
               // The unticked boxes write their state back before the second lock.
               s.calibration()->setDrnuCorrection(false);
               s.calibration()->setTemperatureCorrection(true);
               s.lockCorrections(true);
               s.lockCorrections(false);
           })
        << locked + locked +
               QStringList{"checkDRNU(true)", "checkShowDRNU(true)", "checkTemperature(false)",
                           "lockDRNUCorrection(false)", "lockTemperatureCorrection(false)"};
    QTest::addRow("unlock without a lock restores the current switches")
        << HubAction([](Settings& s) {
               s.calibration()->setDrnuCorrection(false);
               s.lockCorrections(false);
           })
        << QStringList{"checkDRNU(false)", "checkShowDRNU(false)", "checkTemperature(true)",
                       "lockDRNUCorrection(false)", "lockTemperatureCorrection(false)"};
    QTest::addRow("a lock after an unlock saves afresh")
        << HubAction([](Settings& s) {
               s.lockCorrections(true);
               s.lockCorrections(false);
               s.calibration()->setTemperatureCorrection(false);
               s.lockCorrections(true);
               s.lockCorrections(false);
           })
        << locked +
               QStringList{"checkDRNU(true)", "checkShowDRNU(false)", "checkTemperature(true)",
                           "lockDRNUCorrection(false)", "lockTemperatureCorrection(false)"} +
               locked +
               QStringList{"checkDRNU(true)", "checkShowDRNU(false)", "checkTemperature(false)",
                           "lockDRNUCorrection(false)", "lockTemperatureCorrection(false)"};
}

void TestHub::lockCorrectionsSavesOnceAndRestores()
{
    QFETCH(HubAction, action);
    QFETCH(QStringList, expected);
    Settings settings;
    SignalLog log(&settings);
    action(settings);
    QCOMPARE(log.entries(), expected);
}

void TestHub::announcementsCarryTheirValues_data()
{
    QTest::addColumn<HubAction>("action");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("kalman thresholds first then second") << HubAction([](Settings& s) {
        s.setKalmanThreshold1(30);
        s.setKalmanThreshold2(40);
        s.emitKalmanThresholds();
    }) << QStringList{"sendKalmanThreshold1(30)", "sendKalmanThreshold2(40)"};
    QTest::addRow("kalman K and Q with unchanged values") << HubAction([](Settings& s) {
        s.setKalmanK(0.1);
        s.setKalmanQ(2.0);
    }) << QStringList{"updateKalmanK(0.1)", "updateKalmanQ(2)"};
    QTest::addRow("moving average") << HubAction([](Settings& s) { s.setMovingAverageImageNumber(4); })
                                    << QStringList{"movingAverageImageNumberChanged(4)"};
    QTest::addRow("temperatures replace the list") << HubAction([](Settings& s) {
        s.setTemperatures({1, 2, 3});
        s.setTemperatures({40});
        QCOMPARE(s.temperatures(), QVector<int>{40});
    }) << QStringList{"temperaturesChanged()", "temperaturesChanged()"};
    QTest::addRow("capture panel and logging page stay in step") << HubAction([](Settings& s) {
        s.announceUpdatePointCloudLogging();
        s.announceUpdateCaptureLog();
        s.announceUpdateLog();
        s.announceCaptureLogImages();
    }) << QStringList{"updateCaptureLog()", "updateCaptureLog()", "updateLog()", "captureLogImages()"};
    QTest::addRow("check, enable and lock emitters") << HubAction([](Settings& s) {
        s.announceCheckDRNU(true);
        s.announceCheckShowDRNU(false);
        s.announceCheckTemperature(true);
        s.announceEnableGrayscaleOffset(false);
        s.announceEnableGrayscaleGain(true);
        s.announceLockDRNUCorrection(true);
        s.announceLockTemperatureCorrection(false);
    })
                                                     << QStringList{"checkDRNU(true)",
                                                                    "checkShowDRNU(false)",
                                                                    "checkTemperature(true)",
                                                                    "enableGrayscaleOffset(false)",
                                                                    "enableGrayscaleGain(true)",
                                                                    "lockDRNUCorrection(true)",
                                                                    "lockTemperatureCorrection(false)"};
    QTest::addRow("plain setters stay silent") << HubAction([](Settings& s) {
        s.setKalman(2);
        s.setKalmanThreshold1(1);
        s.setEdgeDetectionThreshold(5, true);
        s.setLogPath(QStringLiteral("/tmp"));
        s.setWindWidth(670);
        s.setChipType(2);
        s.setSpeedOfLight(1.0);
        s.setSavedShowDrnu(true);
    }) << QStringList();
}

void TestHub::announcementsCarryTheirValues()
{
    QFETCH(HubAction, action);
    QFETCH(QStringList, expected);
    Settings settings;
    SignalLog log(&settings);
    action(settings);
    QCOMPARE(log.entries(), expected);
}

void TestHub::twoValuedFieldsKeepTheirHalvesApart_data()
{
    QTest::addColumn<bool>("second");
    QTest::addColumn<int>("edgeFirst");
    QTest::addColumn<int>("edgeSecond");
    QTest::addColumn<int>("pcFirst");
    QTest::addColumn<int>("pcSecond");
    // The edge step's value (the second) follows the first.
    QTest::addRow("flag false writes the first value") << false << 7 << 7 << 7 << 0;
    QTest::addRow("flag true writes the second value") << true << 100 << 7 << 70 << 7;
}

void TestHub::twoValuedFieldsKeepTheirHalvesApart()
{
    QFETCH(bool, second);
    Settings settings;
    settings.setEdgeDetectionThreshold(7, second);
    settings.setPcFilterIterations(7, second);
    QTEST(settings.edgeDetectionThreshold(false), "edgeFirst");
    QTEST(settings.edgeDetectionThreshold(true), "edgeSecond");
    QTEST(settings.pcFilterIterations(false), "pcFirst");
    QTEST(settings.pcFilterIterations(true), "pcSecond");
}

void TestHub::serverVersionRendersAsDottedDecimals_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("text");
    QTest::addRow("2.12.5 without padding") << 21205 << QStringLiteral("2.12.5");
    QTest::addRow("last 2.12") << 21299 << QStringLiteral("2.12.99");
    QTest::addRow("minor zero") << 31200 << QStringLiteral("3.12.0");
    QTest::addRow("offline") << 0 << QStringLiteral("0.0.0");
    QTest::addRow("largest 16-bit value") << 65535 << QStringLiteral("6.55.35");
}

void TestHub::serverVersionRendersAsDottedDecimals()
{
    QFETCH(int, version);
    Settings settings;
    settings.setServerVersion(quint16(version));
    QTEST(settings.serverVersionText(), "text");
}

void TestHub::chipSupportDependsOnTypeAndPartVersion_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<int>("partVersion");
    QTest::addColumn<bool>("supported");
    QTest::addRow("first FLIM chip never") << 1 << 9 << false;
    QTest::addRow("zc320 part 5") << 2 << 5 << false;
    QTest::addRow("zc320 part 6") << 2 << 6 << true;
    QTest::addRow("zc210 part 5") << 3 << 5 << false;
    QTest::addRow("zc210 part 6") << 3 << 6 << true;
    QTest::addRow("zc310 any part") << 4 << 0 << true;
    QTest::addRow("zc220 negative part") << 5 << -1 << true;
    QTest::addRow("offline chip type") << 0 << 9 << false;
    QTest::addRow("unknown chip type") << 6 << 9 << false;
}

void TestHub::chipSupportDependsOnTypeAndPartVersion()
{
    QFETCH(int, chipType);
    QFETCH(int, partVersion);
    Settings settings;
    settings.setChipType(chipType);
    settings.setPartVersion(partVersion);
    QTEST(settings.isChipSupported(), "supported");
}

void TestHub::subObjectsAreDestroyedInReverseOrder()
{
    const QStringList traces = tracesOf([] { Settings settings; });
    const QStringList expected{"***Settings destroyed",
                               "***SettingsCalibration destroyed",
                               "***SettingsDataValidation destroyed",
                               "***SettingsFLIM destroyed",
                               "***SettingsPixelScope destroyed",
                               "***SettingsDLL destroyed",
                               "***SettingsABS destroyed",
                               "***SettingsDistanceCalculation destroyed",
                               "***SettingsTransformation destroyed",
                               "***SettingsSocket destroyed",
                               "***SettingsROI destroyed",
                               "***SettingsModulation destroyed",
                               "***SettingsIntegrationTime destroyed",
                               "***SettingsBinningAndReduction destroyed",
                               "***Settings3D destroyed"};
    QCOMPARE(traces, expected);
}

KESTRANE_TEST_MAIN(TestHub)
#include "tst_hub.moc"
