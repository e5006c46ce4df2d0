#include "settings/Settings.h"
#include "settings/SettingsXml.h"

#include "SignalLog.h"
#include "TraceLog.h"
#include "support/TestMain.h"

#include <QByteArray>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

#include <climits>
#include <functional>

using HubAction = std::function<void(Settings&)>;
Q_DECLARE_METATYPE(HubAction)
Q_DECLARE_METATYPE(const QMetaObject*)

namespace {

using TraceLog::tracesOf;

QByteArray int16s(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(v & 0xFF));
        bytes.append(char((v >> 8) & 0xFF));
    }
    return bytes;
}

} // namespace

class TestGroups : public QObject
{
    Q_OBJECT

private slots:
    void settersAnnounceEveryCall_data();
    void settersAnnounceEveryCall();
    void binningSetsTheHorizontalFactor_data();
    void binningSetsTheHorizontalFactor();
    void maxAmplitudeFollowsScaleAndModulation_data();
    void maxAmplitudeFollowsScaleAndModulation();
    void frequencyAccessorsStayDefinedOutsideTheList_data();
    void frequencyAccessorsStayDefinedOutsideTheList();
    void calibrationTypeOfCoversOnlyTheList_data();
    void calibrationTypeOfCoversOnlyTheList();
    void chipTypeSelectsTheSensorGeometry_data();
    void chipTypeSelectsTheSensorGeometry();
    void flimTimeoutCoversTheGateSequence_data();
    void flimTimeoutCoversTheGateSequence();
    void badPixelsAreReadAsInt16Pairs_data();
    void badPixelsAreReadAsInt16Pairs();
    void lookupsTraceWhatTheyRead();
    void signalsKeepTheirSignatures_data();
    void signalsKeepTheirSignatures();
    void configurationElementsAreDistinct();
    void correctionStatusReachesPlainSpies();
};

void TestGroups::settersAnnounceEveryCall_data()
{
    QTest::addColumn<HubAction>("action");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("distance range, same value twice") << HubAction([](Settings& s) {
        s.settings3D()->setDistanceMax(80);
        s.settings3D()->setDistanceMax(80);
        s.settings3D()->setDistanceMin(40);
    }) << QStringList{"distanceMaxChanged(80)", "distanceMaxChanged(80)", "distanceMinChanged(40)"};
    QTest::addRow("automatic offset off enables the manual one") << HubAction([](Settings& s) {
        s.settings3D()->setAutoOffsetEnabled(false);
        QCOMPARE(s.settings3D()->autoOffsetEnabled(), false);
        s.settings3D()->setAutoOffsetEnabled(true);
    }) << QStringList{"autoOffsetDisable(true)", "autoOffsetDisable(false)"};
    QTest::addRow("3D announcements")
        << HubAction([](Settings& s) {
               s.settings3D()->announceCalibrationType(Settings3D::DrnuNotCorrected);
               s.settings3D()->announceCalibrationEnable(true);
               s.settings3D()->setAutomaticOffset(-12);
               s.settings3D()->setTemperatureOffsetCorrection(true);
           })
        << QStringList{"calibrationTypeChanged(DrnuNotCorrected)", "calibrationEnable(true)",
                       "automaticOffsetChanged(-12)"};
    QTest::addRow("binning and row reduction")
        << HubAction([](Settings& s) {
               s.binningAndReduction()->setHorizontalBinning(true);
               s.binningAndReduction()->setVerticalBinning(false);
               s.binningAndReduction()->setRowReductionIndex(2);
               s.binningAndReduction()->setRowFactor(4);
           })
        << QStringList{"horizontalBinningChanged(true)", "verticalBinningChanged(false)",
                       "rowReductionChanged(2)"};
    QTest::addRow("integration times")
        << HubAction([](Settings& s) {
               s.integrationTime()->setIntegrationTime3D(700);
               s.integrationTime()->setIntegrationTime3DHDR(500);
               s.integrationTime()->setIntegrationTime2D(15000);
               s.integrationTime()->announceLock2DTime(true);
           })
        << QStringList{"integrationTime3DChanged(700)", "integrationTime3DHDRChanged(500)",
                       "integrationTime2DChanged(15000)", "lock2DTime(true)"};
    QTest::addRow("frequency index announces index then change")
        << HubAction([](Settings& s) { s.modulation()->setFrequencyIndex(1); })
        << QStringList{"modulationFrequencyIndexChanged(1)", "modulationFrequencyChanged()"};
    QTest::addRow("ROI: single coordinates are silent") << HubAction([](Settings& s) {
        s.roi()->setX1(0);
        s.roi()->setY2(65);
        s.roi()->setRoi(4, 163, 6, 65);
        s.roi()->setRoiAndFields(4, 163, 6, 65);
    }) << QStringList{"roiChanged()", "roiChanged()", "roiChangedUpdateFields()"};
    QTest::addRow("emulation announces the negation") << HubAction([](Settings& s) {
        s.roi()->setEmulation(true);
        s.roi()->announceEmulationLoaded(true);
    }) << QStringList{"emulationDisabled(false)", "emulationLoaded(true)"};
    QTest::addRow("flips") << HubAction([](Settings& s) {
        s.transformation()->setHorizontalFlip(true);
        s.transformation()->setVerticalFlip(true);
    }) << QStringList{"horizontalFlipped(true)", "verticalFlipped(true)"};
    QTest::addRow("distance calculation") << HubAction([](Settings& s) {
        s.distanceCalculation()->setPiDelay(true);
        s.distanceCalculation()->setDualMGX(false);
        s.distanceCalculation()->setHdr(true);
        s.distanceCalculation()->setModulationIndex(1);
        s.distanceCalculation()->setLfsrIndex(3);
        s.distanceCalculation()->setPolynomialIndex(0);
        s.distanceCalculation()->setAmplitudeHdr(false);
        s.distanceCalculation()->setSmallAmplitudeScale(true);
    }) << QStringList{"piDelayEnabled(true)",      "dualMGXEnabled(false)", "hdrEnabled(true)",
                      "modulationIndexChanged(1)", "LFSRIndexChanged(3)",   "polyIndexChanged(0)"};
    QTest::addRow("FLIM timings are announced as durations")
        << HubAction([](Settings& s) {
               s.flim()->setStep(2.5);
               s.flim()->setFlashDelay(1);
               s.flim()->setMgaWidth(4);
               s.flim()->setRepetitionTime(6);
               s.flim()->setRepetitions(1000);
               QCOMPARE(s.flim()->mgaWidth(), 4);
           })
        << QStringList{"flashDelayChanged(2.5)", "mgaWidthChanged(10)", "repetitionTimeChanged(15)",
                       "repetitionsChanged(1000)"};
    QTest::addRow("switches of several groups") << HubAction([](Settings& s) {
        s.abs()->setAbs(true);
        s.dataValidation()->setSaturation(true);
        s.dataValidation()->setAdcOverflow(false);
        s.calibration()->setPixelInterpolation(false);
        s.calibration()->setFov(90);
        s.dll()->setUpdateInterval(5);
        s.socket()->setPort(50660);
    })
                                                << QStringList{"absChanged(true)",
                                                               "saturationChanged(true)",
                                                               "adcOverflowChanged(false)",
                                                               "pixelInterpolationChanged(false)",
                                                               "updateFOV(90)",
                                                               "updateIntervalChanged(5)",
                                                               "socketChanged()"};
    QTest::addRow("plain fields stay silent") << HubAction([](Settings& s) {
        s.calibration()->setDrnuCorrection(false);
        s.calibration()->setGrayscaleGain(false);
        s.flim()->setFlimChip(true);
        s.pixelScope()->setX1(4);
        s.modulation()->addFrequency(QStringLiteral("20.00 MHz"), 20000000);
        s.modulation()->addCalibrationType(1);
    }) << QStringList();
}

void TestGroups::settersAnnounceEveryCall()
{
    QFETCH(HubAction, action);
    QFETCH(QStringList, expected);
    Settings s;
    SignalLog log{&s,
                  s.settings3D(),
                  s.binningAndReduction(),
                  s.integrationTime(),
                  s.modulation(),
                  s.roi(),
                  s.socket(),
                  s.transformation(),
                  s.distanceCalculation(),
                  s.abs(),
                  s.dll(),
                  s.pixelScope(),
                  s.flim(),
                  s.dataValidation(),
                  s.calibration()};
    action(s);
    QCOMPARE(log.entries(), expected);
}

void TestGroups::binningSetsTheHorizontalFactor_data()
{
    QTest::addColumn<QVector<bool>>("binning");
    QTest::addColumn<int>("rowFactor");
    QTest::addColumn<int>("horizontalFactor");
    QTest::addColumn<int>("totalFactor");
    QTest::addRow("binned") << QVector<bool>{true} << 1 << 2 << 2;
    QTest::addRow("binned with row reduction") << QVector<bool>{true} << 4 << 2 << 8;
    QTest::addRow("unbinned with row reduction") << QVector<bool>{false} << 4 << 1 << 4;
    QTest::addRow("binned then unbinned") << QVector<bool>{true, false} << 2 << 1 << 2;
    QTest::addRow("binned twice") << QVector<bool>{true, true} << 1 << 2 << 2;
}

void TestGroups::binningSetsTheHorizontalFactor()
{
    QFETCH(QVector<bool>, binning);
    QFETCH(int, rowFactor);
    SettingsBinningAndReduction settings;
    settings.setRowFactor(rowFactor);
    for (bool state : binning)
        settings.setHorizontalBinning(state);
    QTEST(settings.horizontalFactor(), "horizontalFactor");
    QTEST(settings.totalFactor(), "totalFactor");
}

void TestGroups::maxAmplitudeFollowsScaleAndModulation_data()
{
    QTest::addColumn<int>("modulationIndex");
    QTest::addColumn<bool>("smallScale");
    QTest::addColumn<int>("maxAmplitude");
    QTest::addRow("first modulation") << 0 << false << 2895;
    QTest::addRow("second modulation") << 1 << false << 4095;
    QTest::addRow("any other modulation") << 3 << false << 4095;
    QTest::addRow("small scale, first modulation") << 0 << true << 63;
    QTest::addRow("small scale, second modulation") << 1 << true << 63;
}

void TestGroups::maxAmplitudeFollowsScaleAndModulation()
{
    QFETCH(int, modulationIndex);
    QFETCH(bool, smallScale);
    SettingsDistanceCalculation settings;
    settings.setModulationIndex(modulationIndex);
    settings.setSmallAmplitudeScale(smallScale);
    QTEST(settings.maxAmplitude(), "maxAmplitude");
}

void TestGroups::frequencyAccessorsStayDefinedOutsideTheList_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("currentHz");
    QTest::addColumn<int>("askedHz");
    const int fallback = SettingsModulation::FallbackFrequencyHz;
    QTest::addRow("offline: empty list, default selection") << 0 << 1 << 0 << fallback << fallback;
    QTest::addRow("inside the list") << 3 << 1 << 2 << 10000000 << 5000000;
    QTest::addRow("index one past the end") << 3 << 3 << 3 << fallback << fallback;
    QTest::addRow("negative index") << 3 << -1 << -1 << fallback << fallback;
}

void TestGroups::frequencyAccessorsStayDefinedOutsideTheList()
{
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(int, asked);
    const int fallbackList[] = {20000000, 10000000, 5000000};
    SettingsModulation modulation;
    for (int i = 0; i < count; ++i)
        modulation.addFrequency(QStringLiteral("f%1").arg(i), fallbackList[i]);
    modulation.setFrequencyIndex(selected);
    QTEST(modulation.currentFrequencyHz(), "currentHz");
    QTEST(modulation.frequencyHz(asked), "askedHz");
    QVERIFY(modulation.currentFrequencyHz() > 0);
    QCOMPARE(modulation.frequencyCount(), count);
    QCOMPARE(modulation.labels().size(), count);
    QCOMPARE(modulation.frequenciesHz(), QVector<int>(fallbackList, fallbackList + count));
}

void TestGroups::calibrationTypeOfCoversOnlyTheList_data()
{
    QTest::addColumn<QVector<int>>("types");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("type");
    QTest::addRow("empty list, index 0") << QVector<int>() << 0 << 0;
    QTest::addRow("empty list, index 5") << QVector<int>() << 5 << 0;
    QTest::addRow("first entry") << QVector<int>{21, 0, 5} << 0 << 21;
    QTest::addRow("last entry") << QVector<int>{21, 0, 5} << 2 << 5;
    QTest::addRow("one past the end") << QVector<int>{21, 0, 5} << 3 << 0;
    QTest::addRow("negative index") << QVector<int>{21, 0, 5} << -1 << 0;
}

void TestGroups::calibrationTypeOfCoversOnlyTheList()
{
    QFETCH(QVector<int>, types);
    QFETCH(int, index);
    SettingsModulation modulation;
    for (int type : types)
        modulation.addCalibrationType(type);
    QTEST(modulation.calibrationTypeOf(index), "type");
}

void TestGroups::chipTypeSelectsTheSensorGeometry_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("small");
    QTest::addRow("zc210 (1)") << 1 << false;
    QTest::addRow("zc320") << 2 << false;
    QTest::addRow("zc210 (3)") << 3 << false;
    QTest::addRow("zc310") << 4 << true;
    QTest::addRow("zc220") << 5 << true;
    QTest::addRow("offline") << 0 << false;
}

void TestGroups::chipTypeSelectsTheSensorGeometry()
{
    QFETCH(int, chipType);
    QFETCH(bool, small);
    SettingsROI roi;
    roi.setRoi(4, 163, 6, 65);
    SignalLog log(&roi);
    roi.setChipType(chipType);
    // The small sensors announce their size first: the sensor-sized objects follow it.
    QStringList expected{"roiChanged()", "roiChangedUpdateFields()"};
    if (small)
        expected.prepend(QStringLiteral("sensorSizeChanged()"));
    QCOMPARE(log.entries(), expected);
    const QVector<int> geometry{roi.sensorWidth(), roi.sensorHeight(), roi.minRoiWidth(), roi.minRoiHeight()};
    const QVector<int> defaults{roi.defaultX1(), roi.defaultX2(), roi.defaultY1(), roi.defaultY2()};
    if (small) {
        QCOMPARE(geometry, (QVector<int>{168, 72, 12, 4}));
        QCOMPARE(defaults, (QVector<int>{4, 163, 6, 65}));
    } else {
        QCOMPARE(geometry, (QVector<int>{328, 252, 12, 8}));
        QCOMPARE(defaults, (QVector<int>{4, 323, 6, 245}));
    }
    QCOMPARE(roi.width(), 160);
    QCOMPARE(roi.height(), 60);
}

void TestGroups::flimTimeoutCoversTheGateSequence_data()
{
    QTest::addColumn<QVector<int>>("timing"); // flash delay, flash width, mga d/w, mgb d/w, repetition time
    QTest::addColumn<int>("repetitions");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("timeout");
    QTest::addRow("default file: 500.03875 truncates")
        << QVector<int>{1, 1, 2, 1, 2, 4, 6} << 1000 << 2.5 << 500;
    QTest::addRow("flash timing does not count")
        << QVector<int>{90000, 90000, 2, 1, 2, 4, 6} << 1000 << 2.5 << 500;
    QTest::addRow("long sequence") << QVector<int>{0, 0, 10, 10, 10, 10, 100} << 100000 << 25.0 << 851;
    QTest::addRow("no repetitions") << QVector<int>{0, 0, 10, 10, 10, 10, 100} << 0 << 25.0 << 500;
    QTest::addRow("step not read yet") << QVector<int>{0, 0, 10, 10, 10, 10, 100} << 1000 << 0.0 << 500;
    QTest::addRow("beyond the int range stays a defined value")
        << QVector<int>{0, 0, INT_MAX, INT_MAX, 0, 0, 0} << INT_MAX << 1000.0 << INT_MAX;
}

void TestGroups::flimTimeoutCoversTheGateSequence()
{
    QFETCH(QVector<int>, timing);
    QFETCH(int, repetitions);
    QFETCH(double, step);
    SettingsFLIM flim;
    flim.setStep(step);
    flim.setFlashDelay(timing[0]);
    flim.setFlashWidth(timing[1]);
    flim.setMgaDelay(timing[2]);
    flim.setMgaWidth(timing[3]);
    flim.setMgbDelay(timing[4]);
    flim.setMgbWidth(timing[5]);
    flim.setRepetitionTime(timing[6]);
    flim.setRepetitions(repetitions);
    QTEST(flim.acquisitionTimeout(), "timeout");
}

void TestGroups::badPixelsAreReadAsInt16Pairs_data()
{
    QTest::addColumn<QVector<QByteArray>>("replies");
    QTest::addColumn<QVector<QPoint>>("pixels");
    QTest::addRow("empty reply") << QVector<QByteArray>{QByteArray()} << QVector<QPoint>();
    QTest::addRow("one pair") << QVector<QByteArray>{int16s({12, 200})} << QVector<QPoint>{{12, 200}};
    QTest::addRow("6 bytes: the missing y reads 0")
        << QVector<QByteArray>{int16s({1, 2, 327})} << QVector<QPoint>{{1, 2}, {327, 0}};
    QTest::addRow("5 bytes: a lone byte reads 0")
        << QVector<QByteArray>{int16s({1, 2}) + QByteArray(1, char(9))} << QVector<QPoint>{{1, 2}, {0, 0}};
    QTest::addRow("signed values") << QVector<QByteArray>{int16s({-1, 0x7FFF})}
                                   << QVector<QPoint>{{-1, 32767}};
    QTest::addRow("a second reply appends")
        << QVector<QByteArray>{int16s({1, 2}), int16s({3, 4})} << QVector<QPoint>{{1, 2}, {3, 4}};
}

void TestGroups::badPixelsAreReadAsInt16Pairs()
{
    QFETCH(QVector<QByteArray>, replies);
    QFETCH(QVector<QPoint>, pixels);
    SettingsCalibration calibration;
    for (const QByteArray& reply : replies)
        calibration.setBadPixels(reply);
    QCOMPARE(calibration.badPixels(), pixels);
    QCOMPARE(calibration.badPixelCount(), pixels.size());
    calibration.clearBadPixels();
    QCOMPARE(calibration.badPixelCount(), 0);
}

void TestGroups::lookupsTraceWhatTheyRead()
{
    SettingsModulation modulation;
    modulation.addCalibrationType(21);
    QCOMPARE(tracesOf([&] { modulation.calibrationTypeOf(0); }),
             (QStringList{"idxFrequency<=modulationFrequenciesCalibration.size(): 1",
                          "modulationFrequenciesCalibration.at(idxFrequency): 21"}));
    QCOMPARE(tracesOf([&] { modulation.calibrationTypeOf(1); }),
             (QStringList{"idxFrequency<=modulationFrequenciesCalibration.size(): 1"}));
    SettingsCalibration calibration;
    QCOMPARE(tracesOf([&] {
                 calibration.setBadPixels(int16s({5, -6}));
             }),
             (QStringList{"SettingsCalibration::setBadPixels 5 -6"}));
}

void TestGroups::signalsKeepTheirSignatures_data()
{
    // Panels and windows connect to these by signature; the order is the declared one.
    QTest::addColumn<const QMetaObject*>("metaObject");
    QTest::addColumn<QStringList>("signatures");
    QTest::addRow("Settings3D") << &Settings3D::staticMetaObject
                                << QStringList{"calibrationTypeChanged(Settings3D::CalibrationType)",
                                               "distanceMaxChanged(int)",
                                               "distanceMinChanged(int)",
                                               "minAmplitudeChanged(int)",
                                               "hysteresisChanged(int)",
                                               "hysteresisEnabledChanged(bool)",
                                               "automaticOffsetChanged(int)",
                                               "fpnChanged(bool)",
                                               "settingsChanged()",
                                               "calibrationEnable(bool)",
                                               "autoOffsetDisable(bool)",
                                               "manualOffsetChanged(int)"};
    QTest::addRow("SettingsDistanceCalculation")
        << &SettingsDistanceCalculation::staticMetaObject
        << QStringList{"dualMGXEnabled(bool)",        "hdrEnabled(bool)",      "piDelayEnabled(bool)",
                       "modulationIndexChanged(int)", "LFSRIndexChanged(int)", "polyIndexChanged(int)"};
    QTest::addRow("SettingsFLIM") << &SettingsFLIM::staticMetaObject
                                  << QStringList{"flashDelayChanged(double)",     "flashWidthChanged(double)",
                                                 "mgaDelayChanged(double)",       "mgaWidthChanged(double)",
                                                 "mgbDelayChanged(double)",       "mgbWidthChanged(double)",
                                                 "repetitionTimeChanged(double)", "repetitionsChanged(int)"};
    QTest::addRow("SettingsPixelScope has none") << &SettingsPixelScope::staticMetaObject << QStringList();
    QTest::addRow("Settings") << &Settings::staticMetaObject
                              << QStringList{"stopRequested()",
                                             "startRequested()",
                                             "pauseRequested()",
                                             "paused()",
                                             "stopped()",
                                             "started()",
                                             "startedVideo()",
                                             "pausedVideo(bool)",
                                             "fieldsLocked(bool)",
                                             "commandFailed(QString)",
                                             "modeIndexChanged(int)",
                                             "videoModeTriggered()",
                                             "videoModeStop()",
                                             "videoModeStopped()",
                                             "temperaturesChanged()",
                                             "calibrationChanged()",
                                             "movingAverageImageNumberChanged(int)",
                                             "checkDRNU(bool)",
                                             "checkShowDRNU(bool)",
                                             "checkTemperature(bool)",
                                             "enableGrayscaleOffset(bool)",
                                             "enableGrayscaleGain(bool)",
                                             "lockDRNUCorrection(bool)",
                                             "lockTemperatureCorrection(bool)",
                                             "sendKalmanThreshold1(int)",
                                             "sendKalmanThreshold2(int)",
                                             "captureLogImages()",
                                             "updateKalmanK(double)",
                                             "updateKalmanQ(double)",
                                             "updateViewControls()",
                                             "updateLogControls()",
                                             "updateCaptureLog()",
                                             "updateLog()",
                                             "updateDemoWinSize()"};
}

void TestGroups::signalsKeepTheirSignatures()
{
    QFETCH(const QMetaObject*, metaObject);
    QTEST(SignalLog::declaredSignals(*metaObject), "signatures");
}

void TestGroups::configurationElementsAreDistinct()
{
    QSet<QByteArray> names;
    QStringList flimNames;
    for (const SettingsXml::Element& element : SettingsXml::All) {
        QVERIFY2(!names.contains(element.name), element.name);
        names.insert(element.name);
        if (element.flimChip)
            flimNames.append(QString::fromLatin1(element.name));
        // Only the hysteresis element holds two inner elements.
        QCOMPARE(element.inner == SettingsXml::Inner::StateAndValue,
                 qstrcmp(element.name, "hysteresis") == 0);
    }
    QCOMPARE(SettingsXml::Count, 80);
    // A FLIM chip's file starts with its timing and holds none of the distance options.
    QCOMPARE(flimNames.first(), QStringLiteral("flash_delay"));
    QCOMPARE(flimNames.size(), 37);
    for (const char* distanceOnly : {"modulation", "view_mode", "integration_TOF", "kalman_K", "log_path"})
        QVERIFY2(!flimNames.contains(QLatin1String(distanceOnly)), distanceOnly);
}

void TestGroups::correctionStatusReachesPlainSpies()
{
    // The status bar slot and other modules' tests take the enum through QSignalSpy.
    Settings3D settings;
    QSignalSpy spy(&settings, &Settings3D::calibrationTypeChanged);
    QVERIFY(spy.isValid());
    settings.announceCalibrationType(Settings3D::TemperatureNotCorrected);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Settings3D::CalibrationType>(), Settings3D::TemperatureNotCorrected);
}

KESTRANE_TEST_MAIN(TestGroups)
#include "tst_groups.moc"
