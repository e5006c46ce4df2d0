#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <functional>

namespace {

QByteArray payloadOf(const QVector<int>& words)
{
    QByteArray bytes;
    bytes.reserve(words.size() * 2);
    for (int w : words) {
        bytes.append(char(w & 0xff));
        bytes.append(char((w >> 8) & 0xff));
    }
    return bytes;
}

// Words numbered 0..count-1 with distinct measurement values.
QVector<int> numberedWords(int count)
{
    QVector<int> words(count);
    for (int i = 0; i < count; ++i)
        words[i] = i % 7000;
    return words;
}

// The expected field: for each sensor cell, the word index that must land there or -1.
using Expectation = std::function<int(int column, int row)>;

QString compareField(const DataPixelfield& field, const Expectation& wordAt)
{
    for (int c = 0; c < field.width(); ++c) {
        for (int r = 0; r < field.height(); ++r) {
            const int word = wordAt(c, r);
            const int expected = word < 0 ? -1 : word % 7000;
            if (field.value(c, r) != expected)
                return QStringLiteral("(%1, %2): %3, expected %4")
                    .arg(c)
                    .arg(r)
                    .arg(field.value(c, r))
                    .arg(expected);
        }
    }
    return {};
}

void useLargeSensor(Settings& settings, int x1, int x2, int y1, int y2)
{
    settings.setChipType(2);
    settings.roi()->setChipType(2);
    settings.roi()->setRoi(x1, x2, y1, y2);
}

void useSmallSensor(Settings& settings, int x1, int x2, int y1, int y2)
{
    settings.setChipType(4);
    settings.roi()->setChipType(4);
    settings.roi()->setRoi(x1, x2, y1, y2);
}

} // namespace

class TestDataPixelfield : public QObject
{
    Q_OBJECT

private slots:
    void centreSplitPlacement_data();
    void centreSplitPlacement();
    void singleBlockPlacement_data();
    void singleBlockPlacement();
    void telltaleWordPositions();
    void readRule_data();
    void readRule();
    void distanceAndAmplitudeHalves();
    void shortAndEmptyPayloads();
    void hostilePayloadsStayInsideTheField();
};

void TestDataPixelfield::centreSplitPlacement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("horizontalBinning");
    QTest::addColumn<bool>("verticalBinning");
    QTest::addColumn<bool>("dualMgx");
    QTest::addColumn<int>("reductionIndex");
    QTest::addColumn<int>("wordsPerRow");
    QTest::addColumn<int>("payloadRows");
    // Rows of the ROI image one payload row covers, and the row step between payload rows.
    QTest::addColumn<int>("rowsPerWord");
    QTest::addColumn<int>("rowStep");
    QTest::addColumn<int>("columnsPerWord");

    QTest::addRow("plain 320 x 240") << 1 << false << false << false << 0 << 320 << 240 << 1 << 1 << 1;
    QTest::addRow("horizontal binning") << 1 << true << false << false << 0 << 160 << 240 << 1 << 1 << 2;
    QTest::addRow("vertical binning") << 1 << false << true << false << 0 << 320 << 240 << 2 << 1 << 1;
    QTest::addRow("both binnings") << 1 << true << true << false << 0 << 160 << 120 << 2 << 1 << 2;
    QTest::addRow("row reduction 2") << 1 << false << false << false << 1 << 320 << 120 << 1 << 2 << 1;
    QTest::addRow("row reduction 8") << 0 << false << false << false << 3 << 320 << 30 << 1 << 8 << 1;
    QTest::addRow("dual MGX distance") << 1 << false << false << true << 0 << 320 << 120 << 2 << 2 << 1;
    QTest::addRow("dual MGX distance, reduction 2")
        << 1 << false << false << true << 1 << 320 << 60 << 2 << 4 << 1;
    QTest::addRow("dual MGX in DCS mode") << 6 << false << false << true << 2 << 320 << 240 << 1 << 1 << 1;
    QTest::addRow("dual MGX with binning") << 1 << true << false << true << 0 << 160 << 120 << 2 << 2 << 2;
}

// The two halves together form a top-to-bottom, left-to-right image of the ROI anchored on
// the centre row: with rowStep 1 and one row per word it is the ROI itself.
void TestDataPixelfield::centreSplitPlacement()
{
    QFETCH(int, mode);
    QFETCH(bool, horizontalBinning);
    QFETCH(bool, verticalBinning);
    QFETCH(bool, dualMgx);
    QFETCH(int, reductionIndex);
    QFETCH(int, wordsPerRow);
    QFETCH(int, payloadRows);
    QFETCH(int, rowsPerWord);
    QFETCH(int, rowStep);
    QFETCH(int, columnsPerWord);

    Settings settings;
    useLargeSensor(settings, 4, 323, 6, 245);
    settings.setModeIndex(mode);
    settings.binningAndReduction()->setHorizontalBinning(horizontalBinning);
    settings.binningAndReduction()->setVerticalBinning(verticalBinning);
    settings.binningAndReduction()->setRowReductionIndex(reductionIndex);
    settings.distanceCalculation()->setDualMGX(dualMgx);
    DataPixelfield field(&settings);

    QByteArray payload = payloadOf(numberedWords(wordsPerRow * payloadRows));
    QSignalSpy finished(&field, &DataPixelfield::finished);
    field.updateData(payload);
    QCOMPARE(finished.count(), 1);

    const int centre = 126;
    const int halfRows = payloadRows / 2;
    // Payload row p (0 = top) is anchored at a sensor row and covers rowsPerWord rows: upward
    // in the upper half, downward in the lower half. Where footprints overlap the later word
    // wins: the upper half is written from its last row up, the lower half from its first down.
    auto covers = [&](int p, int row) {
        const int anchor =
            p < halfRows ? centre - 1 - rowStep * (halfRows - 1 - p) : centre + rowStep * (p - halfRows);
        const int top = p < halfRows ? anchor - (rowsPerWord - 1) : anchor;
        return row >= top && row < top + rowsPerWord;
    };
    auto wordAt = [&](int column, int row) -> int {
        if (column < 4 || column > 323)
            return -1;
        for (int p = 0; p < halfRows; ++p)
            if (covers(p, row))
                return p * wordsPerRow + (column - 4) / columnsPerWord;
        for (int p = payloadRows - 1; p >= halfRows; --p)
            if (covers(p, row))
                return p * wordsPerRow + (column - 4) / columnsPerWord;
        return -1;
    };
    const QString mismatch = compareField(field, wordAt);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDataPixelfield::singleBlockPlacement_data()
{
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("x2");
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("y2");
    QTest::addColumn<bool>("horizontalBinning");
    QTest::addColumn<int>("reductionIndex");

    QTest::addRow("full small-sensor ROI") << 4 << 163 << 6 << 65 << false << 0;
    QTest::addRow("ROI away from the origin") << 40 << 71 << 20 << 35 << false << 0;
    QTest::addRow("horizontal binning") << 4 << 163 << 6 << 65 << true << 0;
    QTest::addRow("row reduction 4") << 4 << 163 << 6 << 65 << false << 2;
}

void TestDataPixelfield::singleBlockPlacement()
{
    QFETCH(int, x1);
    QFETCH(int, x2);
    QFETCH(int, y1);
    QFETCH(int, y2);
    QFETCH(bool, horizontalBinning);
    QFETCH(int, reductionIndex);

    Settings settings;
    useSmallSensor(settings, x1, x2, y1, y2);
    settings.setModeIndex(1);
    settings.binningAndReduction()->setHorizontalBinning(horizontalBinning);
    settings.binningAndReduction()->setRowReductionIndex(reductionIndex);
    DataPixelfield field(&settings);
    QCOMPARE(field.width(), 168);
    QCOMPARE(field.height(), 72);

    const int width = x2 - x1 + 1;
    const int columnsPerWord = horizontalBinning ? 2 : 1;
    const int wordsPerRow = width / columnsPerWord;
    const int step = 1 << reductionIndex;
    const int rows = (y2 - y1 + 1) / step;
    QByteArray payload = payloadOf(numberedWords(wordsPerRow * rows));
    field.updateData(payload);

    auto wordAt = [&](int column, int row) -> int {
        if (column < x1 || column > x2 || row < y1 || (row - y1) % step != 0 || (row - y1) / step >= rows)
            return -1;
        return (row - y1) / step * wordsPerRow + (column - x1) / columnsPerWord;
    };
    const QString mismatch = compareField(field, wordAt);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestDataPixelfield::telltaleWordPositions()
{
    Settings settings;
    useLargeSensor(settings, 4, 323, 6, 245);
    DataPixelfield field(&settings);
    QVector<int> words(320 * 240, 100);
    const int half = 320 * 120;
    words[0] = 1;
    words[half - 1] = 2;
    words[half] = 3;
    QByteArray payload = payloadOf(words);
    field.updateData(payload);
    QCOMPARE(field.value(4, 6), 1);
    QCOMPARE(field.value(323, 125), 2);
    QCOMPARE(field.value(4, 126), 3);
    QCOMPARE(field.value(3, 6), -1);
    QCOMPARE(field.value(4, 5), -1);
    QCOMPARE(field.value(324, 245), -1);
    QCOMPARE(field.value(323, 246), -1);
}

void TestDataPixelfield::readRule_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("modulationIndex");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("expected");

    QTest::addRow("measurement") << 1 << 0 << 0 << 1234 << 1234;
    QTest::addRow("grayscale offset") << 0 << 0 << 2048 << 2000 << -48;
    QTest::addRow("largest measurement") << 0 << 0 << 2048 << 7999 << 7999 - 2048;
    QTest::addRow("8000 passes through") << 0 << 0 << 2048 << 8000 << 8000;
    QTest::addRow("saturated with offset") << 0 << 0 << 2048 << 65400 << 65400;
    QTest::addRow("saturated in log mode") << 4 << 1 << 0 << 65400 << 65400;
    QTest::addRow("low amplitude in log mode") << 4 << 1 << 0 << 65300 << 65300;
    QTest::addRow("log of 4095") << 4 << 1 << 0 << 4095 << 63;
    QTest::addRow("log of 2895 at modulation 0") << 4 << 0 << 0 << 2895 << 63;
    QTest::addRow("log of 1") << 4 << 1 << 0 << 1 << 0;
    QTest::addRow("log of 1 less offset") << 4 << 1 << 5 << 1 << -5;
    QTest::addRow("log of 0") << 4 << 1 << 0 << 0 << DataPixelfield::kNoLogarithm;
    QTest::addRow("log of 0 with offset") << 4 << 1 << 7 << 0 << DataPixelfield::kNoLogarithm;
    QTest::addRow("65535") << 1 << 0 << 0 << 65535 << 65535;
}

void TestDataPixelfield::readRule()
{
    QFETCH(int, mode);
    QFETCH(int, modulationIndex);
    QFETCH(int, offset);
    QFETCH(int, word);
    QFETCH(int, expected);

    Settings settings;
    useSmallSensor(settings, 0, 0, 0, 0);
    settings.distanceCalculation()->setModulationIndex(modulationIndex);
    DataPixelfield field(&settings);
    // logDivisor is fixed at construction: a later change of the modulation must not matter.
    settings.distanceCalculation()->setModulationIndex(modulationIndex == 0 ? 1 : 0);
    settings.setModeIndex(mode);
    field.setOffset(offset);
    QByteArray payload = payloadOf({word});
    field.updateData(payload);
    QCOMPARE(field.value(0, 0), expected);
    QVERIFY(expected == -1 || field.value(0, 0) != DataPixelfield::kNoData);
}

void TestDataPixelfield::distanceAndAmplitudeHalves()
{
    Settings settings;
    useSmallSensor(settings, 0, 1, 0, 0);
    DataInformationSample sample(&settings);
    QSignalSpy finished(&sample, &DataInformationSample::finished);

    // Two words of distance, two of amplitude, and one stray byte that is ignored.
    QByteArray payload = payloadOf({10, 11, 20, 21});
    payload.append(char(0x7f));
    sample.updateData(payload);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(sample.distanceValue(0, 0), 10);
    QCOMPARE(sample.distanceValue(1, 0), 11);
    QCOMPARE(sample.amplitudeValue(0, 0), 20);
    QCOMPARE(sample.amplitudeValue(1, 0), 21);

    // The views filter the working fields in place; the raw copies keep the decoded frame.
    sample.distanceField(false)->setValue(0, 0, 999);
    QCOMPARE(sample.distanceField(true)->value(0, 0), 10);
    QCOMPARE(sample.distanceData(false)[0][0], 999);
    QCOMPARE(sample.amplitudeData(true)[1][0], 21);

    // An odd payload of 5 bytes: each half is 2 bytes, so one word each.
    QByteArray odd = payloadOf({30, 40});
    odd.append(char(0x01));
    sample.updateData(odd);
    QCOMPARE(sample.distanceValue(0, 0), 30);
    QCOMPARE(sample.distanceValue(1, 0), -1);
    QCOMPARE(sample.amplitudeValue(0, 0), 40);
}

void TestDataPixelfield::shortAndEmptyPayloads()
{
    Settings settings;
    useLargeSensor(settings, 4, 323, 6, 245);
    DataPixelfield field(&settings);
    QByteArray full = payloadOf(numberedWords(320 * 240));
    field.updateData(full);
    QCOMPARE(field.value(4, 126), (320 * 120) % 7000);

    QSignalSpy finished(&field, &DataPixelfield::finished);
    QByteArray empty;
    field.updateData(empty);
    QCOMPARE(finished.count(), 1);
    for (int c = 0; c < field.width(); ++c)
        for (int r = 0; r < field.height(); ++r)
            QCOMPARE(field.value(c, r), -1);

    // A payload of one odd byte has no whole word.
    QByteArray oneByte(1, char(5));
    field.updateData(oneByte);
    QCOMPARE(field.value(4, 126), -1);
}

// Damaged settings and payloads of any length: the decoder never writes outside the field
// (the sanitizers of the test build catch any stray write) and keeps every cell either -1
// or a decoded word.
void TestDataPixelfield::hostilePayloadsStayInsideTheField()
{
    QRandomGenerator random(20261209);
    Settings settings;
    for (int round = 0; round < 400; ++round) {
        const bool small = random.bounded(2) == 1;
        const int chip = small ? 4 + random.bounded(2) : 1 + random.bounded(3);
        settings.setChipType(chip);
        settings.roi()->setChipType(chip);
        const int x1 = random.bounded(-400, 700);
        const int x2 = random.bounded(-400, 700);
        const int y1 = random.bounded(-300, 600);
        const int y2 = random.bounded(-300, 600);
        settings.roi()->setRoi(x1, x2, y1, y2);
        settings.setModeIndex(random.bounded(0, 12));
        settings.binningAndReduction()->setHorizontalBinning(random.bounded(2) == 1);
        settings.binningAndReduction()->setVerticalBinning(random.bounded(2) == 1);
        settings.binningAndReduction()->setRowReductionIndex(random.bounded(-2, 42));
        settings.distanceCalculation()->setDualMGX(random.bounded(2) == 1);
        DataPixelfield field(&settings);
        QByteArray payload(random.bounded(0, 400000), Qt::Uninitialized);
        for (char& byte : payload)
            byte = char(random.bounded(256));
        field.updateData(payload);
        QVERIFY(field.width() == 328 || field.width() == 168);
    }
    // Extreme coordinates from a damaged file.
    settings.roi()->setRoi(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), -1000000, 5);
    DataPixelfield field(&settings);
    QByteArray payload(2000, char(1));
    field.updateData(payload);
    settings.roi()->setRoi(std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max(), 0, 0);
    field.updateData(payload);
}

KESTRANE_TEST_MAIN(TestDataPixelfield)
#include "tst_datapixelfield.moc"
