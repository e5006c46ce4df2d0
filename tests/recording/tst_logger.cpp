#include "recording/Logger.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

// A sensor-sized field in the writers' [column][row] form.
struct Field
{
    Field(int width, int height, int fill = 0) : storage(size_t(width) * height, fill)
    {
        for (int x = 0; x < width; ++x)
            columns.push_back(storage.data() + size_t(x) * height);
    }
    int& at(int x, int y) { return columns[size_t(x)][y]; }
    const int* const* data() const { return columns.data(); }
    std::vector<int> storage;
    std::vector<int*> columns;
};

QByteArray golden(const QString& name)
{
    // The reference files lie next to this test.
    QFile file(QDir::cleanPath(QStringLiteral(KESTRANE_TEST_DATA_DIR "/../recording/data/") + name));
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "missing golden file" << name;
    return file.readAll();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings every report and key-file case starts from: a 12 x 8 ROI and a mix of switches,
// so that a swapped pair of lines shows.
void prepare(Settings& s)
{
    s.roi()->setRoi(4, 15, 6, 13);
    s.modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    s.modulation()->setFrequencyIndex(0);
    s.calibration()->setPixelInterpolation(true);
    s.calibration()->setDrnuCorrection(true);
    s.calibration()->setTemperatureCorrection(false);
    s.calibration()->setGrayscaleOffset(true);
    s.calibration()->setGrayscaleGain(false);
    s.abs()->setAbs(true);
    s.setKalman(1);
    s.setKalmanK(0.25);
    s.setKalmanThreshold1(30);
    s.setMedianFilter(true);
    s.setMedianFilterSize(5);
    s.setMedianFilterIterations(2);
    s.setGaussFilter1(true);
    s.setGaussFilterIterations1(3);
    s.setEdgeDetection(false);
    s.setPcFilter(true);
    s.setPcFilterIterations(70, false);
    s.settings3D()->setDistanceMax(900);
    s.settings3D()->setDistanceMin(20);
    s.settings3D()->setMinAmplitude(40);
    s.settings3D()->setHysteresis(10);
    s.settings3D()->setAutoOffsetEnabled(false);
    s.settings3D()->setManualOffset(-12);
    s.settings3D()->setAutomaticOffset(33);
    s.distanceCalculation()->setPiDelay(true);
    s.distanceCalculation()->setDualMGX(false);
    s.distanceCalculation()->setModulationIndex(1);
    s.distanceCalculation()->setLfsrIndex(3);
    s.distanceCalculation()->setPolynomialIndex(2);
    s.distanceCalculation()->setHdr(true);
    s.integrationTime()->setIntegrationTime2D(500);
    s.integrationTime()->setIntegrationTime3D(700);
    s.integrationTime()->setIntegrationTime3DHDR(80);
    s.transformation()->setHorizontalFlip(true);
    s.transformation()->setVerticalFlip(false);
    s.binningAndReduction()->setVerticalBinning(false);
    s.binningAndReduction()->setHorizontalBinning(true);
    s.binningAndReduction()->setRowReductionIndex(1);
    s.dataValidation()->setSaturation(true);
    s.dataValidation()->setAdcOverflow(false);
    s.setLogDistance(true);
    s.setLogAmplitude(false);
    s.setLogFilteredDistance(true);
    s.flim()->setStep(12.5);
    s.flim()->setFlashDelay(1);
    s.flim()->setFlashWidth(2);
    s.flim()->setMgaDelay(3);
    s.flim()->setMgaWidth(4);
    s.flim()->setMgbDelay(5);
    s.flim()->setMgbWidth(6);
    s.flim()->setRepetitionTime(80);
    s.flim()->setRepetitions(300);
    s.setFlimDsnu(true);
    s.setFlimPrnu(false);
}

} // namespace

class TestLogger : public QObject
{
    Q_OBJECT

private slots:
    void settingsReport_data();
    void settingsReport();
    void reportSectionsByMode_data();
    void reportSectionsByMode();
    void settingsKeys();
    void valueTables_data();
    void valueTables();
    void distanceTableAt10MHz();
    void sampleBlocks();
    void appendsAndReportsUnwritableFiles();
};

void TestLogger::settingsReport_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("goldenFile");

    QTest::addRow("grayscale") << 0 << 3 << "LSB"
                               << "report_grayscale.txt";
    QTest::addRow("distance, PN, Kalman 1, HDR time") << 1 << 3 << "mm"
                                                      << "report_distance.txt";
    QTest::addRow("FLIM timings") << 10 << 1 << "LSB"
                                  << "report_flim.txt";
}

void TestLogger::settingsReport()
{
    QFETCH(int, mode);
    QFETCH(int, pictures);
    QFETCH(QString, unit);
    QFETCH(QString, goldenFile);

    Settings settings;
    prepare(settings);
    settings.setModeIndex(mode);
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("run.txt"));
    QVERIFY(logger.writeSettingsReport(pictures, unit, file));
    QCOMPARE(readAll(file), golden(goldenFile));
}

void TestLogger::reportSectionsByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kalman");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString modulation = QStringLiteral("\nMODULATION\n");
    const QString tof = QStringLiteral("\nTOF\n");
    const QString integration = QStringLiteral("\nINTEGRATION TIME\n");
    QTest::addRow("amplitude: no TOF section, Kalman off")
        << 2 << 0
        << QStringList{"Mode:                    amplitude\n\nROI", modulation, integration,
                       "\nKalman filter:           disabled\n"}
        << QStringList{tof, "CSV FILE CONTENT"};
    QTest::addRow("point cloud: distance word without TOF")
        << 5 << 2 << QStringList{"distance\nCSV FILE CONTENT\n", "\nKalman2:                 enabled\nQ:"}
        << QStringList{tof};
    QTest::addRow("HDR distance has TOF, no CSV content")
        << 9 << 3 << QStringList{"distance HDR\n", tof, "Integration time HDR:    80 \u00b5s\n"}
        << QStringList{"CSV FILE CONTENT", "Kalman"};
    QTest::addRow("mode above 10: no word, no line feed")
        << 11 << 0 << QStringList{"Mode:                    \nROI\n"} << QStringList{};
}

void TestLogger::reportSectionsByMode()
{
    QFETCH(int, mode);
    QFETCH(int, kalman);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    Settings settings;
    prepare(settings);
    settings.setModeIndex(mode);
    settings.setKalman(kalman);
    const QString report = QString::fromUtf8(Logger(&settings).settingsReport(1, QStringLiteral("LSB")));
    for (const QString& text : present)
        QVERIFY2(report.contains(text), qPrintable(text));
    for (const QString& text : absent)
        QVERIFY2(!report.contains(text), qPrintable(text));
}

void TestLogger::settingsKeys()
{
    Settings settings;
    prepare(settings);
    settings.setModeIndex(8);
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("frame.txt"));
    QVERIFY(logger.writeSettingsKeys(file));
    QCOMPARE(readAll(file), golden(QStringLiteral("keys_dcs_grayscale.txt")));

    // Grayscale names only its own time; other modes only the TOF time, sinusoidal modulation
    // has no LFSR lines.
    settings.distanceCalculation()->setModulationIndex(0);
    settings.setModeIndex(0);
    QString keys = QString::fromUtf8(logger.settingsKeys());
    QVERIFY(keys.contains("Integration_time_grayscale_us=500\n#TRANSFORMATION"));
    QVERIFY(keys.contains("modulation=sinusoidal\n#INTEGRATION"));
    settings.setModeIndex(1);
    keys = QString::fromUtf8(logger.settingsKeys());
    QVERIFY(keys.contains("\u00b5s\nIntegration_time_tof_us=700\nintegration_time_tof_hdr_us=80\n"));
}

void TestLogger::valueTables_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("addMinimum");
    QTest::addColumn<QVector<int>>("stored");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("DCS offset: 0, 4095, 4096")
        << -2048 << 2047 << true << QVector<int>{0, 4095, 4096} << QByteArray("-2048,2047,NaN\n");
    QTest::addRow("amplitude without added minimum")
        << 0 << 2895 << false << QVector<int>{-1, 2895, 65300} << QByteArray("NaN,2895,NaN\n");
    QTest::addRow("wide range keeps status codes")
        << 0 << 66000 << false << QVector<int>{65300, 65400, 65500} << QByteArray("65300,65400,65500\n");
}

void TestLogger::valueTables()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(bool, addMinimum);
    QFETCH(QVector<int>, stored);
    QFETCH(QByteArray, expected);

    Settings settings;
    settings.roi()->setRoi(2, 4, 1, 1);
    Field field(8, 4, 7);
    for (int i = 0; i < stored.size(); ++i)
        field.at(2 + i, 1) = stored[i];
    QCOMPARE(Logger(&settings).valueTable(field.data(), minimum, maximum, addMinimum), expected);

    // The golden 12 x 8 grayscale picture, written twice: blocks follow each other unseparated.
    settings.roi()->setRoi(4, 15, 6, 13);
    Field picture(320, 240);
    for (int x = 0; x < 320; ++x)
        for (int y = 0; y < 240; ++y)
            picture.at(x, y) = x * 100 + y;
    picture.at(15, 13) = 30001;
    picture.at(4, 6) = 30000;
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("image.csv"));
    QVERIFY(logger.writeValueTable(picture.data(), file, 0, 30000, true));
    QVERIFY(logger.writeValueTable(picture.data(), file, 0, 30000, true));
    const QByteArray once = golden(QStringLiteral("grayscale_12x8.csv"));
    QCOMPARE(readAll(file), once + once);
}

void TestLogger::distanceTableAt10MHz()
{
    Settings settings;
    settings.modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings.modulation()->setFrequencyIndex(0);
    settings.roi()->setRoi(0, 3, 0, 1);
    Field field(4, 2);
    const int values[2][4] = {{15000, 65300, 65400, 65500}, {0, 29999, 30001, 30004}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            field.at(x, y) = values[y][x];
    Logger logger(&settings);
    QCOMPARE(logger.distanceTable(field.data(), 0, 66000), golden(QStringLiteral("distance_10mhz.csv")));
    // The filtered range turns the status codes into NaN.
    QCOMPARE(logger.distanceTable(field.data(), 0, 30000).left(22), QByteArray("7500,NaN,NaN,NaN\n0,149"));
}

void TestLogger::sampleBlocks()
{
    Settings settings;
    settings.roi()->setRoi(0, 319, 0, 239);
    Field field(320, 240);
    field.at(0, 0) = -1;
    field.at(1, 0) = 65400;
    field.at(2, 0) = 300;
    field.at(319, 239) = -2048;
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("run.bin"));
    QVERIFY(logger.writeSamples(field.data(), file));
    const QByteArray bytes = readAll(file);
    QCOMPARE(bytes.size(), 153600);
    QCOMPARE(bytes.left(6), QByteArray("\xFF\xFF\xFF\x78\x01\x2C", 6));
    QCOMPARE(bytes.right(2), QByteArray("\xF8\x00", 2));
}

void TestLogger::appendsAndReportsUnwritableFiles()
{
    Settings settings;
    settings.roi()->setRoi(0, 1, 0, 0);
    Field field(2, 1, 5);
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/dir/run.csv"));
    QVERIFY(!logger.writeValueTable(field.data(), missing, 0, 10, false));
    QCOMPARE(logger.failedFile(), missing);
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!Logger::writeLine(missing, QStringLiteral("x")));

    const QString index = dir.filePath(QStringLiteral("run.idx"));
    QVERIFY(Logger::writeLine(index, QStringLiteral("a")));
    QVERIFY(Logger::writeLine(index, QStringLiteral("b")));
    QCOMPARE(readAll(index), QByteArray("a\nb\n"));
}

KESTRANE_TEST_MAIN(TestLogger)
#include "tst_logger.moc"
