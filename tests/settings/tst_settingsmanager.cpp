#include "settings/SettingsManager.h"

#include "ConfigFixture.h"
#include "SignalLog.h"
#include "TraceLog.h"
#include "settings/Settings.h"
#include "settings/SettingsXml.h"
#include "support/TestMain.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

using namespace ConfigFixture;
using TraceLog::tracesOf;

using HubCheck = std::function<void(Settings&)>;
Q_DECLARE_METATYPE(HubCheck)

namespace {

// The element names of a configuration document in file order.
QStringList elementNames(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader reader(&file);
    QStringList names;
    if (!reader.readNextStartElement())
        return {};
    while (reader.readNextStartElement()) {
        names.append(reader.name().toString());
        reader.skipCurrentElement();
    }
    return names;
}

// name -> inner texts joined by "|", read straight from a document.
QMap<QString, QString> elementTexts(const QString& path)
{
    QFile file(path);
    QMap<QString, QString> texts;
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader reader(&file);
    reader.readNextStartElement();
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        QStringList inner;
        while (reader.readNextStartElement())
            inner.append(reader.name() + QLatin1Char('=') + reader.readElementText());
        texts.insert(name, inner.join(QLatin1Char('|')));
    }
    return texts;
}

// What the rest of the client relies on, whatever a file held.
void verifyInvariants(Settings& s)
{
    const SettingsROI* roi = s.roi();
    QVERIFY(0 <= roi->x1() && roi->x1() <= roi->x2() && roi->x2() < roi->sensorWidth());
    QVERIFY(0 <= roi->y1() && roi->y1() <= roi->y2() && roi->y2() < roi->sensorHeight());
    QVERIFY(s.modeIndex() >= 0 && s.modeIndex() <= 10);
    QVERIFY(s.binningAndReduction()->rowReductionIndex() >= 0 &&
            s.binningAndReduction()->rowReductionIndex() <= 3);
    QVERIFY(s.medianFilterSize() >= 3 && s.medianFilterSize() % 2 == 1 && s.medianFilterSize() <= 31);
    QVERIFY(s.medianFilterIterations() >= 0 && s.medianFilterIterations() <= 100);
    QVERIFY(s.gaussFilterIterations1() >= 0 && s.gaussFilterIterations1() <= 100);
    QVERIFY(s.movingAverageImageNumber() >= 1);
    QVERIFY(s.modulation()->frequencyIndex() >= 0);
    QVERIFY(s.modulation()->frequencyIndex() < qMax(1, s.modulation()->frequencyCount()));
    QVERIFY(s.distanceCalculation()->lfsrIndex() >= 0 && s.distanceCalculation()->lfsrIndex() <= 6);
    QVERIFY(s.distanceCalculation()->polynomialIndex() >= 0 &&
            s.distanceCalculation()->polynomialIndex() <= 4);
    QVERIFY(s.integrationTime()->integrationTime3D() >= 0 &&
            s.integrationTime()->integrationTime3D() <= 4000);
    QVERIFY(s.flim()->acquisitionTimeout() >= 500);
    QVERIFY(s.windWidth() <= 8192 && s.windHeight() <= 8192);
}

} // namespace

class TestSettingsManager : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTripRestoresEveryField_data();
    void roundTripRestoresEveryField();
    void writtenFileFollowsTheElementOrder_data();
    void writtenFileFollowsTheElementOrder();
    void writtenNumbersAndSwitches();
    void failedSaveLeavesTheOldFile();

    void builtInDefaultsHoldTheListedValues_data();
    void builtInDefaultsHoldTheListedValues();
    void builtInDefaultsLoadOnEveryChip_data();
    void builtInDefaultsLoadOnEveryChip();

    void valuesAreAnnouncedTwice_data();
    void valuesAreAnnouncedTwice();
    void gatedElements_data();
    void gatedElements();
    void postLoadRules_data();
    void postLoadRules();
    void correctionLockAtTheEnd_data();
    void correctionLockAtTheEnd();

    void hostileFiles_data();
    void hostileFiles();
    void boundedListsNeverAnnounceAMissingIndex_data();
    void boundedListsNeverAnnounceAMissingIndex();
    void oversizedFileIsRefused();

private:
    QString write(const QByteArray& contents, const QString& name = QStringLiteral("user.xml"));
    QTemporaryDir dir;
};

void TestSettingsManager::init()
{
    QVERIFY(dir.isValid());
}

QString TestSettingsManager::write(const QByteArray& contents, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!writeFile(path, contents))
        qWarning("could not write %s", qPrintable(path));
    return path;
}

void TestSettingsManager::roundTripRestoresEveryField_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addRow("zc320") << 2;
    QTest::addRow("zc210 (FLIM, large array)") << 3;
}

void TestSettingsManager::roundTripRestoresEveryField()
{
    QFETCH(int, chipType);
    Settings s;
    identify(s, chipType);
    s.setDrnuAvailable(true);
    s.calibration()->setGrayscaleCorrectionAvailable(true);
    SettingsManager manager(&s);

    fill(s, 0);
    const QStringList saved = storedFields(s);
    const QString path = dir.filePath(QStringLiteral("roundtrip.xml"));
    QVERIFY(manager.saveConfig(path));
    fill(s, 1);
    const QStringList changed = storedFields(s);
    for (int i = 0; i < saved.size(); ++i)
        QVERIFY2(saved.at(i) != changed.at(i), qPrintable(saved.at(i)));

    QSignalSpy emulation(s.roi(), &SettingsROI::emulationLoaded);
    s.roi()->setEmulation(true);
    QVERIFY(manager.saveConfig(dir.filePath(QStringLiteral("emulation.xml"))));
    QVERIFY(manager.loadConfig(path));
    QVERIFY(s.configLoaded());

    const QStringList loaded = storedFields(s);
    const bool flim = s.flim()->flimChip();
    for (int i = 0; i < saved.size(); ++i) {
        // A FLIM chip's file carries only its own groups; the rest keeps the changed value.
        const QString& expected = !flim || isFlimField(saved.at(i)) ? saved.at(i) : changed.at(i);
        QCOMPARE(loaded.at(i), expected);
    }
    // The emulation is only announced, first negated: the ROI panel takes it.
    QCOMPARE(emulation.count(), 2);
    QCOMPARE(emulation.at(1).at(0).toBool(), false);
    emulation.clear();
    QVERIFY(manager.loadConfig(dir.filePath(QStringLiteral("emulation.xml"))));
    QCOMPARE(emulation.count(), 2);
    QCOMPARE(emulation.at(0).at(0).toBool(), false);
    QCOMPARE(emulation.at(1).at(0).toBool(), true);
}

void TestSettingsManager::writtenFileFollowsTheElementOrder_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addRow("zc320 writes everything with emulation") << 2;
    QTest::addRow("zc310 writes everything but emulation") << 4;
    QTest::addRow("zc210 writes the FLIM subset with emulation") << 3;
    QTest::addRow("zc220 writes the FLIM subset without emulation") << 5;
}

void TestSettingsManager::writtenFileFollowsTheElementOrder()
{
    QFETCH(int, chipType);
    Settings s;
    identify(s, chipType);
    SettingsManager manager(&s);
    const QString path = dir.filePath(QStringLiteral("order.xml"));
    QVERIFY(manager.saveConfig(path));

    QStringList expected;
    for (const SettingsXml::Element& element : SettingsXml::All) {
        if (s.flim()->flimChip() && !element.flimChip)
            continue;
        if (qstrcmp(element.name, "emulation310") == 0 && chipType != 2 && chipType != 3)
            continue;
        expected.append(QLatin1String(element.name));
    }
    QCOMPARE(elementNames(path), expected);
    QCOMPARE(expected.first(), s.flim()->flimChip() ? QStringLiteral("flash_delay")
                                                    : QStringLiteral("modulation_frequency_index"));
    QCOMPARE(expected.last(), QStringLiteral("enabledCalibration"));
}

void TestSettingsManager::writtenNumbersAndSwitches()
{
    Settings s;
    identify(s, 2);
    SettingsManager manager(&s);
    s.setKalmanK(0.5);
    s.setKalmanQ(2.0);
    s.settings3D()->setHysteresisEnabled(true);
    s.settings3D()->setHysteresis(20);
    s.settings3D()->setManualOffset(-35);
    const QString path = dir.filePath(QStringLiteral("numbers.xml"));
    QVERIFY(manager.saveConfig(path));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    const QMap<QString, QString> texts = elementTexts(path);
    QCOMPARE(texts.value(QStringLiteral("kalman_K")), QStringLiteral("value=0.5"));
    QCOMPARE(texts.value(QStringLiteral("kalman_Q")), QStringLiteral("value=2"));
    QCOMPARE(texts.value(QStringLiteral("hysteresis")), QStringLiteral("state=on|value=20"));
    QCOMPARE(texts.value(QStringLiteral("manualOffset")), QStringLiteral("value=-35"));
    QCOMPARE(texts.value(QStringLiteral("view_mode")), QStringLiteral("index=1"));
    QCOMPARE(texts.value(QStringLiteral("ABS")), QStringLiteral("state=off"));
    // Indented by the writer: one element per line.
    QVERIFY(bytes.contains("\n    <ABS>\n        <state>off</state>\n    </ABS>\n"));
}

void TestSettingsManager::failedSaveLeavesTheOldFile()
{
    Settings s;
    identify(s, 2);
    SettingsManager manager(&s);
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/config.xml"));
    QStringList traces;
    bool ok = true;
    traces = tracesOf([&] { ok = manager.saveConfig(missing); });
    QVERIFY(!ok);
    QVERIFY(!QFile::exists(missing));
    QVERIFY(traces.join(QLatin1Char('\n')).contains(QLatin1String("saveConfig: could not open")));

    // Replacing a file goes through a temporary one: no partial file and no leftovers.
    const QString path = write("old contents", QStringLiteral("replace.xml"));
    QVERIFY(manager.saveConfig(path));
    QCOMPARE(elementNames(path).size(), SettingsXml::Count);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("replace")),
             QStringList{QStringLiteral("replace.xml")});
}

void TestSettingsManager::builtInDefaultsHoldTheListedValues_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QStringList>("differing");

    // Shared by the four TOF files, in file order.
    const QStringList shared = {"modulation=index=0",
                                "pi_delay=state=on",
                                "dual_MGX_TOF=state=off",
                                "HDR=state=off",
                                "range_min=value=40",
                                "FPN=state=on",
                                "hysteresis=state=off|value=20",
                                "enableAutoOffset=state=on",
                                "manualOffset=value=0",
                                "integration_grayscale=value=15000",
                                "integration_TOF_HDR=value=500",
                                "pixel_interpolation=state=off",
                                "kalman=value=0",
                                "kalman_Q=value=2",
                                "kalman_Threshold1=value=25",
                                "kalman_Threshold2=value=25",
                                "gauss_filter=state=off",
                                "gauss_filter_iterations=value=10",
                                "edge_detection_thresholds=value=20",
                                "median_filter=state=on",
                                "pc_filter=state=on",
                                "log_path=value=",
                                "log_filename=value=image",
                                "log_numberOfPictures=value=1",
                                "log_LSB=state=off",
                                "log_distance=state=on",
                                "log_amplitude=state=on",
                                "log_filtered_distance=state=on",
                                "log_CSV=state=on",
                                "log_PNG=state=on",
                                "saturation=state=on",
                                "ADC_validation=state=on",
                                "x1=value=4",
                                "y1=value=6",
                                "emulation310=state=off",
                                "vertical_binning=state=off",
                                "horizontal_binning=state=off",
                                "row_reduction=index=0",
                                "LFSR=value=3",
                                "polynomial=value=0",
                                "vertical_flip=state=on",
                                "movingAverageImageNumber=value=1",
                                "windWidth=value=670",
                                "windHeight=value=900",
                                "ambientLightCorrection=state=on",
                                "ambientLightFactor=value=250",
                                "drnuCorrection=state=on",
                                "temperatureCorrection=state=on",
                                "grayscaleOffset=state=on",
                                "grayscaleGain=state=on",
                                "enabledCalibration=state=off"};
    auto tof = [&shared](int freq, const char* abs, int mode, int rangeMax, int amplitude, int tofTime,
                         const char* k, const char* edge, int medianIterations, int medianSize,
                         const char* gauss1, int gauss1Iterations, int pc, int x2, int y2, const char* flip,
                         int posX, int posY) {
        QStringList all = shared;
        all << QStringLiteral("modulation_frequency_index=index=%1").arg(freq)
            << QStringLiteral("ABS=state=%1").arg(QLatin1String(abs))
            << QStringLiteral("view_mode=index=%1").arg(mode)
            << QStringLiteral("range_max=value=%1").arg(rangeMax)
            << QStringLiteral("amplitude_min=value=%1").arg(amplitude)
            << QStringLiteral("integration_TOF=value=%1").arg(tofTime)
            << QStringLiteral("kalman_K=value=%1").arg(QLatin1String(k))
            << QStringLiteral("edge_detection=state=%1").arg(QLatin1String(edge))
            << QStringLiteral("median_filter_iterations=value=%1").arg(medianIterations)
            << QStringLiteral("median_filter_size=value=%1").arg(medianSize)
            << QStringLiteral("gauss_filter1=state=%1").arg(QLatin1String(gauss1))
            << QStringLiteral("gauss_filter_iterations1=value=%1").arg(gauss1Iterations)
            << QStringLiteral("pc_filter_iterations=value=%1").arg(pc)
            << QStringLiteral("x2=value=%1").arg(x2) << QStringLiteral("y2=value=%1").arg(y2)
            << QStringLiteral("horizontal_flip=state=%1").arg(QLatin1String(flip))
            << QStringLiteral("windPosX=value=%1").arg(posX) << QStringLiteral("windPosY=value=%1").arg(posY);
        return all;
    };
    auto flim = [](int x2, int y2) {
        return QStringList{"vertical_binning=state=off",
                           "horizontal_binning=state=off",
                           "row_reduction=index=0",
                           "flash_delay=value=1",
                           "flash_width=value=1",
                           "mga_delay=value=2",
                           "mga_width=value=1",
                           "mgb_delay=value=2",
                           "mgb_width=value=4",
                           "repetition_time=value=6",
                           "repetitions=value=1000",
                           "x1=value=4",
                           QStringLiteral("x2=value=%1").arg(x2),
                           "y1=value=6",
                           QStringLiteral("y2=value=%1").arg(y2),
                           "saturation=state=on",
                           "ADC_validation=state=on",
                           "horizontal_flip=state=off",
                           "vertical_flip=state=on"};
    };
    QTest::addRow("zc320 default") << ":/config/zc320_settings_default.xml"
                                   << tof(6, "off", 5, 80, 100, 1800, "0.5", "on", 1, 5, "on", 5, 40, 323,
                                          245, "on", 4, 30);
    QTest::addRow("zc320 default2") << ":/config/zc320_settings_default2.xml"
                                    << tof(0, "on", 1, 350, 50, 2000, "0.25", "off", 3, 3, "off", 1, 1000,
                                           323, 245, "off", 4, 30);
    QTest::addRow("zc310 default") << ":/config/zc310_settings_default.xml"
                                   << tof(6, "off", 5, 80, 100, 1800, "0.5", "on", 1, 5, "on", 5, 40, 163, 65,
                                          "on", 4, 30);
    QTest::addRow("zc310 default2") << ":/config/zc310_settings_default2.xml"
                                    << tof(0, "on", 1, 350, 50, 2000, "0.25", "off", 3, 3, "off", 1, 1000,
                                           163, 65, "off", 670, 301);
    QTest::addRow("zc210 default") << ":/config/zc210_settings_default.xml" << flim(323, 245);
    QTest::addRow("zc220 default") << ":/config/zc220_settings_default.xml" << flim(163, 65);
}

void TestSettingsManager::builtInDefaultsHoldTheListedValues()
{
    QFETCH(QString, resource);
    QFETCH(QStringList, differing);
    QVERIFY(QFile::exists(resource));
    const QMap<QString, QString> texts = elementTexts(resource);
    QStringList actual;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        actual.append(it.key() + QLatin1Char('=') + it.value());
    actual.sort();
    differing.sort();
    QCOMPARE(actual, differing);
    // Older than the element list: no field of view, no demonstration window.
    QVERIFY(!texts.contains(QStringLiteral("FOV_lens")));
    QVERIFY(!texts.contains(QStringLiteral("windDemoPosX")));
    QCOMPARE(elementNames(resource).size(), texts.size());
}

void TestSettingsManager::builtInDefaultsLoadOnEveryChip_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("drnu");
    QTest::addColumn<HubCheck>("check");

    const HubCheck smallRoi = [](Settings& s) {
        QCOMPARE(s.roi()->x1(), 4);
        QCOMPARE(s.roi()->x2(), 163);
        QCOMPARE(s.roi()->y1(), 6);
        QCOMPARE(s.roi()->y2(), 65);
        QCOMPARE(s.pixelScope()->x1(), 4);
        QCOMPARE(s.pixelScope()->x2(), 163);
    };
    const HubCheck zc320Values = [](Settings& s) {
        QCOMPARE(s.modeIndex(), 5);
        QCOMPARE(s.settings3D()->distanceMax(), 80);
        QCOMPARE(s.integrationTime()->integrationTime3D(), 1800);
        QCOMPARE(s.integrationTime()->integrationTime3DHDR(), 500);
        QCOMPARE(s.integrationTime()->integrationTime2D(), 15000);
        QCOMPARE(s.kalmanK(), 0.5);
        QCOMPARE(s.medianFilterSize(), 5);
        QCOMPARE(s.roi()->x2(), 323);
        QCOMPARE(s.roi()->y2(), 245);
        QCOMPARE(s.pixelScope()->x2(), 323);
        QCOMPARE(s.calibration()->fov(), 108); // no FOV_lens in the file
        QVERIFY(!s.calibration()->pixelInterpolation());
        // Six known frequencies: index 6 falls back to the first.
        QCOMPARE(s.modulation()->frequencyIndex(), 0);
    };
    // A FLIM chip takes nothing but its own groups, whatever file it is given.
    const HubCheck flimIgnoresTof = [](Settings& s) {
        QCOMPARE(s.modeIndex(), 10);
        QCOMPARE(s.settings3D()->distanceMax(), 0);
        QCOMPARE(s.integrationTime()->integrationTime3D(), 700);
        QCOMPARE(s.kalmanK(), 0.1);
        QCOMPARE(s.modulation()->frequencyIndex(), 1);
        QVERIFY(s.calibration()->pixelInterpolation());
        QVERIFY(!s.abs()->abs());
        QCOMPARE(s.logFilename(), QString());
        QVERIFY(s.dataValidation()->saturation());
        QVERIFY(s.transformation()->verticalFlip());
    };
    const HubCheck flimTiming = [](Settings& s) {
        const SettingsFLIM* f = s.flim();
        QCOMPARE(QVector<int>({f->flashDelay(), f->flashWidth(), f->mgaDelay(), f->mgaWidth(), f->mgbDelay(),
                               f->mgbWidth(), f->repetitionTime(), f->repetitions()}),
                 QVector<int>({1, 1, 2, 1, 2, 4, 6, 1000}));
        QCOMPARE(s.modeIndex(), 10);
    };

    const QString zc320 = QStringLiteral(":/config/zc320_settings_default.xml");
    const QString zc320b = QStringLiteral(":/config/zc320_settings_default2.xml");
    const QString zc310 = QStringLiteral(":/config/zc310_settings_default.xml");
    const QString zc310b = QStringLiteral(":/config/zc310_settings_default2.xml");
    const QString zc210 = QStringLiteral(":/config/zc210_settings_default.xml");
    const QString zc220 = QStringLiteral(":/config/zc220_settings_default.xml");

    QTest::addRow("zc320 default on zc320 with DRNU") << zc320 << 2 << true << zc320Values;
    QTest::addRow("zc320 default on zc320 without DRNU") << zc320 << 2 << false << zc320Values;
    QTest::addRow("zc320 default2 on zc320") << zc320b << 2 << true << HubCheck([](Settings& s) {
        QCOMPARE(s.modeIndex(), 1);
        QCOMPARE(s.modulation()->frequencyIndex(), 0);
        QVERIFY(s.abs()->abs());
        QCOMPARE(s.pcFilterIterations(false), 1000);
    });
    QTest::addRow("zc310 default on zc310") << zc310 << 4 << true << smallRoi;
    QTest::addRow("zc310 default2 on zc310") << zc310b << 4 << false << smallRoi;
    QTest::addRow("zc320 default on zc310") << zc320 << 4 << true << smallRoi;
    QTest::addRow("zc320 default on zc220")
        << zc320 << 5 << false << HubCheck([flimIgnoresTof, smallRoi](Settings& s) {
               flimIgnoresTof(s);
               smallRoi(s);
           });
    QTest::addRow("zc310 default2 on zc210")
        << zc310b << 3 << true << HubCheck([flimIgnoresTof](Settings& s) {
               flimIgnoresTof(s);
               QCOMPARE(s.roi()->x2(), 163);
               QVERIFY(s.calibration()->drnuCorrection());
           });
    QTest::addRow("zc210 default on zc210") << zc210 << 3 << false << HubCheck([flimTiming](Settings& s) {
        flimTiming(s);
        QCOMPARE(s.roi()->x2(), 323);
        QCOMPARE(s.roi()->y2(), 245);
    });
    QTest::addRow("zc220 default on zc220")
        << zc220 << 5 << false << HubCheck([flimTiming, smallRoi](Settings& s) {
               flimTiming(s);
               smallRoi(s);
           });
    QTest::addRow("zc210 default on zc320") << zc210 << 2 << true << HubCheck([](Settings& s) {
        QCOMPARE(s.flim()->repetitions(), 1000);
        QCOMPARE(s.modeIndex(), 1);
    });
}

void TestSettingsManager::builtInDefaultsLoadOnEveryChip()
{
    QFETCH(QString, resource);
    QFETCH(int, chipType);
    QFETCH(bool, drnu);
    QFETCH(HubCheck, check);
    Settings s;
    s.setChipType(chipType);
    s.setIcVersion(3);
    s.flim()->setFlimChip(chipType == 3 || chipType == 5);
    if (s.flim()->flimChip())
        s.setModeIndex(10);
    s.setDrnuAvailable(drnu);
    for (int i = 0; i < 6; ++i)
        s.modulation()->addFrequency(QString::number(i), 20000000 >> i);
    SettingsManager manager(&s);
    QStringList traces;
    bool ok = false;
    traces = tracesOf([&] { ok = manager.loadConfig(resource); });
    QVERIFY(ok);
    QVERIFY(s.configLoaded());
    check(s);
    verifyInvariants(s);
    QCOMPARE(traces.first(), QStringLiteral("loadConfig(QString filename): ") + resource);
    const bool fallback = !s.flim()->flimChip() && resource.endsWith(QLatin1String("_default.xml")) &&
                          !resource.contains(QLatin1String("zc2"));
    QCOMPARE(traces.contains(QStringLiteral("couldn't set default modulation idx")), fallback);
}

void TestSettingsManager::valuesAreAnnouncedTwice_data()
{
    QTest::addColumn<QByteArray>("children");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("switch: negated, then the file's")
        << state("pi_delay", true) << QStringList{"piDelayEnabled(false)", "piDelayEnabled(true)"};
    QTest::addRow("number: plus one, then the file's")
        << value("range_max", "80") << QStringList{"distanceMaxChanged(81)", "distanceMaxChanged(80)"};
    QTest::addRow("TOF time sets the HDR time and the TOF time")
        << value("integration_TOF", "1800")
        << QStringList{"integrationTime3DHDRChanged(1801)", "integrationTime3DHDRChanged(1800)",
                       "integrationTime3DChanged(1801)", "integrationTime3DChanged(1800)"};
    QTest::addRow("HDR time re-sends the current TOF time")
        << value("integration_TOF_HDR", "500")
        << QStringList{"integrationTime3DHDRChanged(501)", "integrationTime3DHDRChanged(500)",
                       "integrationTime3DChanged(701)", "integrationTime3DChanged(700)"};
    QTest::addRow("kalman K refreshes the view controls")
        << value("kalman_K", "0.25")
        << QStringList{"updateKalmanK(1.25)", "updateKalmanK(0.25)", "updateViewControls()"};
    QTest::addRow("frequency index: first 1, then the file's")
        << index("modulation_frequency_index", "3")
        << QStringList{"modulationFrequencyIndexChanged(1)", "modulationFrequencyChanged()",
                       "modulationFrequencyIndexChanged(3)", "modulationFrequencyChanged()"};
    QTest::addRow("frequency index beyond the list selects the first")
        << index("modulation_frequency_index", "8")
        << QStringList{"modulationFrequencyIndexChanged(1)", "modulationFrequencyChanged()",
                       "modulationFrequencyIndexChanged(0)", "modulationFrequencyChanged()"};
    QTest::addRow("hysteresis holds a switch and a number")
        << QByteArray("<hysteresis><state>on</state><value>20</value></hysteresis>\n")
        << QStringList{"hysteresisEnabledChanged(false)", "hysteresisEnabledChanged(true)",
                       "hysteresisChanged(21)", "hysteresisChanged(20)"};
    QTest::addRow("FLIM timing announced as durations")
        << value("mga_delay", "4") << QStringList{"mgaDelayChanged(2.5)", "mgaDelayChanged(2)"};
    QTest::addRow("obsolete elements are skipped")
        << QByteArray(state("ambientLightCorrection", true) + value("ambientLightFactor", "250") +
                      value("flux_capacitor", "1"))
        << QStringList{};
}

void TestSettingsManager::valuesAreAnnouncedTwice()
{
    QFETCH(QByteArray, children);
    QFETCH(QStringList, expected);
    Settings s;
    identify(s, 2);
    SettingsManager manager(&s);
    const QString path = write(document(children));
    s.abs()->setAbs(true); // no correction lock at the end
    SignalLog log(
        {&s, s.distanceCalculation(), s.settings3D(), s.integrationTime(), s.modulation(), s.flim()});
    QVERIFY(manager.loadConfig(path));
    // The file's own announcements come before the end-of-document ones.
    const QStringList entries = log.entries();
    const QStringList actual = entries.mid(0, entries.indexOf(QStringLiteral("updateDemoWinSize()")));
    QCOMPARE(actual, expected);
}

void TestSettingsManager::gatedElements_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<int>("icVersion");
    QTest::addColumn<bool>("drnu");
    QTest::addColumn<bool>("grayscale");
    QTest::addColumn<QByteArray>("children");
    QTest::addColumn<HubCheck>("check");

    const QByteArray corrections = state("drnuCorrection", false) + state("temperatureCorrection", false) +
                                   state("grayscaleOffset", false) + state("grayscaleGain", false);
    QTest::addRow("corrections without calibrations are kept")
        << 2 << 3 << false << false << corrections << HubCheck([](Settings& s) {
               QVERIFY(s.calibration()->drnuCorrection());
               QVERIFY(s.calibration()->temperatureCorrection());
               QVERIFY(s.calibration()->grayscaleOffset());
               QVERIFY(s.calibration()->grayscaleGain());
           });
    QTest::addRow("DRNU corrections with a DRNU calibration")
        << 2 << 3 << true << false << corrections << HubCheck([](Settings& s) {
               QVERIFY(!s.calibration()->drnuCorrection());
               QVERIFY(!s.calibration()->temperatureCorrection());
               QVERIFY(s.calibration()->grayscaleOffset());
           });
    QTest::addRow("grayscale corrections with a grayscale calibration")
        << 2 << 3 << false << true << corrections << HubCheck([](Settings& s) {
               QVERIFY(s.calibration()->drnuCorrection());
               QVERIFY(!s.calibration()->grayscaleOffset());
               QVERIFY(!s.calibration()->grayscaleGain());
           });
    QTest::addRow("saturation ignored by an old zc320")
        << 2 << 2 << false << false << state("saturation", true)
        << HubCheck([](Settings& s) { QVERIFY(!s.dataValidation()->saturation()); });
    QTest::addRow("saturation taken by a newer zc320")
        << 2 << 3 << false << false << state("saturation", true)
        << HubCheck([](Settings& s) { QVERIFY(s.dataValidation()->saturation()); });
    QTest::addRow("saturation taken by a zc310 of any version")
        << 4 << 1 << false << false << state("saturation", true)
        << HubCheck([](Settings& s) { QVERIFY(s.dataValidation()->saturation()); });
    QTest::addRow("ADC validation always taken")
        << 2 << 1 << false << false << state("ADC_validation", true)
        << HubCheck([](Settings& s) { QVERIFY(s.dataValidation()->adcOverflow()); });
    QTest::addRow("emulation announced to a zc320")
        << 2 << 3 << false << false << state("emulation310", true)
        << HubCheck([](Settings& s) { QVERIFY(!s.roi()->emulation()); });
    QTest::addRow("emulation not announced to a zc310")
        << 4 << 3 << false << false << state("emulation310", true)
        << HubCheck([](Settings& s) { QVERIFY(!s.roi()->emulation()); });
    QTest::addRow("ROI of a zc320 is taken")
        << 2 << 3 << false << false
        << QByteArray(value("x1", "20") + value("x2", "101") + value("y1", "30") + value("y2", "221"))
        << HubCheck([](Settings& s) {
               QCOMPARE(QVector<int>({s.roi()->x1(), s.roi()->x2(), s.roi()->y1(), s.roi()->y2()}),
                        QVector<int>({20, 101, 30, 221}));
               QCOMPARE(s.pixelScope()->x1(), 20);
               QCOMPARE(s.pixelScope()->x2(), 101);
           });
    QTest::addRow("pixel interpolation")
        << 2 << 3 << false << false << state("pixel_interpolation", false)
        << HubCheck([](Settings& s) { QVERIFY(!s.calibration()->pixelInterpolation()); });
}

void TestSettingsManager::gatedElements()
{
    QFETCH(int, chipType);
    QFETCH(int, icVersion);
    QFETCH(bool, drnu);
    QFETCH(bool, grayscale);
    QFETCH(QByteArray, children);
    QFETCH(HubCheck, check);
    Settings s;
    identify(s, chipType);
    s.setIcVersion(quint8(icVersion));
    s.setDrnuAvailable(drnu);
    s.calibration()->setGrayscaleCorrectionAvailable(grayscale);
    SettingsManager manager(&s);
    QSignalSpy roiFields(s.roi(), &SettingsROI::roiChangedUpdateFields);
    QSignalSpy emulation(s.roi(), &SettingsROI::emulationLoaded);
    QStringList traces;
    traces = tracesOf([&] { QVERIFY(manager.loadConfig(write(document(children)))); });
    check(s);
    if (children.contains("<x1>"))
        QCOMPARE(roiFields.count(), 1);
    if (children.contains("emulation310"))
        QCOMPARE(emulation.count(), chipType == 2 || chipType == 3 ? 2 : 0);
    if (children.contains("pixel_interpolation"))
        QVERIFY(traces.contains(QStringLiteral("SettingsManager::loadPixelInterpolation false")));
}

void TestSettingsManager::postLoadRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("drnu");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("expected");

    QTest::addRow("default file with DRNU")
        << "x_default.xml" << true << 5
        << QStringList{"updateDemoWinSize()",          "lock2DTime(true)",          "checkDRNU(true)",
                       "checkTemperature(true)",       "hdrEnabled(true)",          "hdrEnabled(false)",
                       "adcOverflowChanged(false)",    "adcOverflowChanged(true)",  "modeIndexChanged(5)",
                       "enableGrayscaleOffset(false)", "enableGrayscaleGain(false)"};
    QTest::addRow("other file with DRNU") << "mine.xml" << true << 5
                                          << QStringList{"updateDemoWinSize()",
                                                         "lock2DTime(false)",
                                                         "lockDRNUCorrection(false)",
                                                         "checkDRNU(true)",
                                                         "lockTemperatureCorrection(false)",
                                                         "checkTemperature(true)",
                                                         "enableGrayscaleOffset(false)",
                                                         "enableGrayscaleGain(false)"};
    QTest::addRow("default file without DRNU")
        << "x_default.xml" << false << 5
        << QStringList{"updateDemoWinSize()",       "hdrEnabled(true)",
                       "hdrEnabled(false)",         "adcOverflowChanged(false)",
                       "adcOverflowChanged(true)",  "checkDRNU(false)",
                       "checkShowDRNU(false)",      "checkTemperature(false)",
                       "lockDRNUCorrection(true)",  "lockTemperatureCorrection(true)",
                       "modeIndexChanged(5)",       "enableGrayscaleOffset(false)",
                       "enableGrayscaleGain(false)"};
    QTest::addRow("other file in grayscale re-sends the 2D time")
        << "mine.xml" << false << 0
        << QStringList{"updateDemoWinSize()", "integrationTime2DChanged(1)", "integrationTime2DChanged(0)",
                       "enableGrayscaleOffset(false)", "enableGrayscaleGain(false)"};
    QTest::addRow("a second default file is not a default file")
        << "x_default2.xml" << false << 0
        << QStringList{"updateDemoWinSize()", "integrationTime2DChanged(1)", "integrationTime2DChanged(0)",
                       "enableGrayscaleOffset(false)", "enableGrayscaleGain(false)"};
}

void TestSettingsManager::postLoadRules()
{
    QFETCH(QString, name);
    QFETCH(bool, drnu);
    QFETCH(int, mode);
    QFETCH(QStringList, expected);
    Settings s;
    identify(s, 2);
    s.setDrnuAvailable(drnu);
    s.setModeIndex(mode);
    s.abs()->setAbs(true); // type 1 with ABS on: no correction lock at the end
    SettingsManager manager(&s);
    const QString path = write(document(QByteArray()), name);
    SignalLog log({&s, s.integrationTime(), s.distanceCalculation(), s.dataValidation()});
    QVERIFY(manager.loadConfig(path));
    QCOMPARE(log.entries(), expected);
}

void TestSettingsManager::correctionLockAtTheEnd_data()
{
    QTest::addColumn<int>("calibrationType");
    QTest::addColumn<bool>("abs");
    QTest::addColumn<bool>("locked");
    QTest::addRow("type 21 with ABS on") << 21 << true << true;
    QTest::addRow("type 21 with ABS off") << 21 << false << false;
    QTest::addRow("type 1 with ABS off") << 1 << false << true;
    QTest::addRow("type 1 with ABS on") << 1 << true << false;
    QTest::addRow("no calibration") << 0 << true << true;
}

void TestSettingsManager::correctionLockAtTheEnd()
{
    QFETCH(int, calibrationType);
    QFETCH(bool, abs);
    QFETCH(bool, locked);
    Settings s;
    s.setChipType(2);
    s.modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    s.modulation()->addCalibrationType(calibrationType);
    s.modulation()->setFrequencyIndex(0);
    s.abs()->setAbs(abs);
    SettingsManager manager(&s);
    QSignalSpy lock(&s, &Settings::lockDRNUCorrection);
    QStringList traces;
    // Also after a file that cannot be read.
    traces = tracesOf([&] { QVERIFY(!manager.loadConfig(dir.filePath(QStringLiteral("missing.xml")))); });
    QCOMPARE(lock.count(), locked ? 1 : 0);
    QVERIFY(!s.configLoaded());
    QVERIFY(traces.contains(QStringLiteral("calibration mode: %1").arg(calibrationType)));
    QVERIFY(traces.contains(QStringLiteral("get ABS status: ") + QLatin1String(abs ? "true" : "false")));
}

void TestSettingsManager::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<HubCheck>("check");

    const HubCheck untouched = [](Settings& s) {
        QVERIFY(!s.configLoaded());
        QCOMPARE(s.settings3D()->distanceMax(), 0);
        QCOMPARE(s.roi()->x2(), 323);
    };
    QTest::addRow("wrong root") << document(value("range_max", "80"), "settings") << false << untouched;
    QTest::addRow("empty file") << QByteArray() << false << untouched;
    QTest::addRow("binary garbage") << QByteArray("\x00\xff\xfe<\x01config", 11) << false << untouched;
    QTest::addRow("not XML at all") << QByteArray("range_max=80\n") << false << untouched;
    QTest::addRow("malformed after the first element")
        << QByteArray("<config>\n" + value("range_max", "80") + "<range_min><value>40</value></oops>" +
                      value("amplitude_min", "9") + "</config>")
        << false << HubCheck([](Settings& s) {
               QCOMPARE(s.settings3D()->distanceMax(), 80);
               QCOMPARE(s.settings3D()->minAmplitude(), 0);
               QVERIFY(s.configLoaded()); // what came before the error is in
           });
    QTest::addRow("truncated document")
        << QByteArray("<config>\n" + value("range_max", "80") + "<range_min><val") << false
        << HubCheck([](Settings& s) { QCOMPARE(s.settings3D()->distanceMax(), 80); });
    QTest::addRow("huge numbers")
        << document(value("range_max", "99999999999999999999") + value("integration_TOF", "2147483647") +
                    value("integration_grayscale", "1e300") + value("repetitions", "4294967296") +
                    value("mga_delay", "2147483647") + value("kalman_K", "1e308") +
                    value("windWidth", "2147483647") + value("movingAverageImageNumber", "2147483648"))
        << true << HubCheck([](Settings& s) {
               QCOMPARE(s.settings3D()->distanceMax(), 1000000000);
               QCOMPARE(s.integrationTime()->integrationTime3D(), 4000);
               QCOMPARE(s.integrationTime()->integrationTime3DHDR(), 4000);
               QCOMPARE(s.integrationTime()->integrationTime2D(), 5000000);
               QCOMPARE(s.flim()->repetitions(), 65535);
               QCOMPARE(s.flim()->mgaDelay(), 1000000);
               QCOMPARE(s.kalmanK(), 1e9);
               QCOMPARE(s.windWidth(), 8192);
               QCOMPARE(s.movingAverageImageNumber(), 256);
           });
    QTest::addRow("negative numbers")
        << document(value("integration_TOF", "-5") + value("movingAverageImageNumber", "-3") +
                    index("modulation_frequency_index", "-2") + value("median_filter_iterations", "-7") +
                    value("FOV_lens", "-90") + value("manualOffset", "-250") + index("row_reduction", "-1"))
        << true << HubCheck([](Settings& s) {
               QCOMPARE(s.integrationTime()->integrationTime3D(), 0);
               QCOMPARE(s.movingAverageImageNumber(), 1);
               QCOMPARE(s.modulation()->frequencyIndex(), 0);
               QCOMPARE(s.medianFilterIterations(), 0);
               QCOMPARE(s.calibration()->fov(), 0);
               QCOMPARE(s.settings3D()->manualOffset(), -250); // a legal offset stays
               QCOMPARE(s.binningAndReduction()->rowReductionIndex(), 0);
           });
    QTest::addRow("ROI outside the sensor")
        << document(value("x1", "-40") + value("x2", "4000") + value("y1", "300") + value("y2", "-1")) << true
        << HubCheck([](Settings& s) {
               QCOMPARE(QVector<int>({s.roi()->x1(), s.roi()->x2(), s.roi()->y1(), s.roi()->y2()}),
                        QVector<int>({0, 327, 0, 251}));
               QCOMPARE(s.pixelScope()->x2(), 327);
           });
    QTest::addRow("ROI corners swapped")
        << document(value("x1", "200") + value("x2", "100") + value("y1", "6") + value("y2", "245")) << true
        << HubCheck([](Settings& s) {
               QCOMPARE(s.roi()->x1(), 100);
               QCOMPARE(s.roi()->x2(), 200);
           });
    QTest::addRow("median size 0") << document(value("median_filter_size", "0")) << true
                                   << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 3); });
    QTest::addRow("median size even") << document(value("median_filter_size", "8")) << true
                                      << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 9); });
    QTest::addRow("median size huge") << document(value("median_filter_size", "100001")) << true
                                      << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 31); });
    QTest::addRow("median size 17 stays")
        << document(value("median_filter_size", "17")) << true
        << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 17); });
    QTest::addRow("median size 31 stays")
        << document(value("median_filter_size", "31")) << true
        << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 31); });
    QTest::addRow("median size 32") << document(value("median_filter_size", "32")) << true
                                    << HubCheck([](Settings& s) { QCOMPARE(s.medianFilterSize(), 31); });
    QTest::addRow("row reduction 40")
        << document(index("row_reduction", "40")) << true
        << HubCheck([](Settings& s) { QCOMPARE(s.binningAndReduction()->rowReductionIndex(), 3); });
    QTest::addRow("view mode 99") << document(index("view_mode", "99")) << true
                                  << HubCheck([](Settings& s) { QCOMPARE(s.modeIndex(), 1); });
    QTest::addRow("view mode 9 without HDR")
        << document(state("HDR", false) + index("view_mode", "9")) << true
        << HubCheck([](Settings& s) { QCOMPARE(s.modeIndex(), 1); });
    QTest::addRow("view mode 9 with HDR") << document(state("HDR", true) + index("view_mode", "9")) << true
                                          << HubCheck([](Settings& s) { QCOMPARE(s.modeIndex(), 9); });
    QTest::addRow("LFSR and polynomial beyond their lists")
        << document(value("LFSR", "12") + value("polynomial", "77")) << true << HubCheck([](Settings& s) {
               QCOMPARE(s.distanceCalculation()->lfsrIndex(), 6);
               QCOMPARE(s.distanceCalculation()->polynomialIndex(), 4);
           });
    QTest::addRow("words where numbers belong")
        << document(value("range_max", "eighty") + value("range_min", "") + value("kalman_K", "nan") +
                    value("kalman_Q", "inf") + state("FPN", true) + "<ABS><state>maybe</state></ABS>\n")
        << true << HubCheck([](Settings& s) {
               QCOMPARE(s.settings3D()->distanceMax(), 0);
               QCOMPARE(s.kalmanK(), 0.1);
               QCOMPARE(s.kalmanQ(), 2.0);
               QVERIFY(s.settings3D()->fpn());
               QVERIFY(!s.abs()->abs());
           });
    QTest::addRow("nested and repeated elements")
        << document("<range_max><value><b>1</b></value></range_max>\n" + value("range_min", "5")) << false
        << HubCheck([](Settings& s) { QCOMPARE(s.settings3D()->distanceMax(), 0); });
    QTest::addRow("huge text in a log path")
        << document(value("log_path", QByteArray(200000, 'a')) + value("range_max", "80")) << true
        << HubCheck([](Settings& s) {
               QCOMPARE(s.logPath().size(), 200000);
               QCOMPARE(s.settings3D()->distanceMax(), 80);
           });
}

void TestSettingsManager::hostileFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, loaded);
    QFETCH(HubCheck, check);
    Settings s;
    identify(s, 2);
    SettingsManager manager(&s);
    const QString path = write(contents);
    QStringList traces;
    bool ok = !loaded;
    traces = tracesOf([&] { ok = manager.loadConfig(path); });
    QCOMPARE(ok, loaded);
    check(s);
    verifyInvariants(s);
    // The correction lock and its traces run whatever the file held.
    QVERIFY(traces.filter(QStringLiteral("calibration mode: ")).size() == 1);
}

void TestSettingsManager::boundedListsNeverAnnounceAMissingIndex_data()
{
    QTest::addColumn<QByteArray>("children");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("last row reduction")
        << index("row_reduction", "3") << QStringList{"rowReductionChanged(2)", "rowReductionChanged(3)"};
    QTest::addRow("first row reduction")
        << index("row_reduction", "0") << QStringList{"rowReductionChanged(1)", "rowReductionChanged(0)"};
    QTest::addRow("last view mode without HDR")
        << index("view_mode", "8") << QStringList{"modeIndexChanged(7)", "modeIndexChanged(8)"};
    QTest::addRow("last LFSR") << value("LFSR", "6")
                               << QStringList{"LFSRIndexChanged(5)", "LFSRIndexChanged(6)"};
    QTest::addRow("largest weighting factor")
        << value("movingAverageImageNumber", "256")
        << QStringList{"movingAverageImageNumberChanged(255)", "movingAverageImageNumberChanged(256)"};
}

void TestSettingsManager::boundedListsNeverAnnounceAMissingIndex()
{
    QFETCH(QByteArray, children);
    QFETCH(QStringList, expected);
    Settings s;
    identify(s, 2);
    s.abs()->setAbs(true);
    SettingsManager manager(&s);
    const QString path = write(document(children));
    SignalLog log({s.binningAndReduction(), s.distanceCalculation()});
    QSignalSpy mode(&s, &Settings::modeIndexChanged);
    QSignalSpy average(&s, &Settings::movingAverageImageNumberChanged);
    QVERIFY(manager.loadConfig(path));
    QStringList actual = log.entries();
    for (const QList<QVariant>& args : qAsConst(mode))
        actual.append(QStringLiteral("modeIndexChanged(%1)").arg(args.at(0).toInt()));
    for (const QList<QVariant>& args : qAsConst(average))
        actual.append(QStringLiteral("movingAverageImageNumberChanged(%1)").arg(args.at(0).toInt()));
    QCOMPARE(actual, expected);
}

void TestSettingsManager::oversizedFileIsRefused()
{
    const QString path = dir.filePath(QStringLiteral("huge.xml"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?>\n<config>\n");
        const QByteArray chunk = QByteArray(value("range_max", "80")).repeated(1 << 14);
        while (file.size() < 100 * 1024 * 1024)
            QVERIFY(file.write(chunk) == chunk.size());
        file.write("</config>\n");
    }
    Settings s;
    identify(s, 2);
    SettingsManager manager(&s);
    QStringList traces;
    bool ok = true;
    traces = tracesOf([&] { ok = manager.loadConfig(path); });
    QVERIFY(!ok);
    QCOMPARE(s.settings3D()->distanceMax(), 0);
    QVERIFY(!s.configLoaded());
    QVERIFY(traces.join(QLatin1Char('\n')).contains(QLatin1String("too large for a configuration")));
    QFile::remove(path);
}

KESTRANE_TEST_MAIN(TestSettingsManager)
#include "tst_settingsmanager.moc"
