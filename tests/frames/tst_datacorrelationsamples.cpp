#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QtTest>

namespace {

// A payload of `images` slices, each a 2 x 1 image whose words are 1000 * (slice + 1) + column.
QByteArray slicedPayload(int images, int trailingBytes = 0)
{
    QByteArray bytes;
    for (int image = 0; image < images; ++image) {
        for (int column = 0; column < 2; ++column) {
            const int word = 1000 * (image + 1) + column;
            bytes.append(char(word & 0xff));
            bytes.append(char(word >> 8));
        }
    }
    bytes.append(QByteArray(trailingBytes, char(0x55)));
    return bytes;
}

void useTwoPixelRoi(Settings& settings)
{
    settings.setChipType(4);
    settings.roi()->setChipType(4);
    settings.roi()->setRoi(0, 1, 0, 0);
}

} // namespace

class TestDataCorrelationSamples : public QObject
{
    Q_OBJECT

private slots:
    void slicingBySampling_data();
    void slicingBySampling();
    void fullSensorFourSamples();
    void difference_data();
    void difference();
    void indexMapping();
};

void TestDataCorrelationSamples::slicingBySampling_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("dualMgx");
    QTest::addColumn<bool>("piDelay");
    QTest::addColumn<bool>("flimChip");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("trailingBytes");

    QTest::addRow("DCS + grayscale") << 8 << false << true << false << 5 << 0;
    QTest::addRow("DCS + grayscale, 3 stray bytes") << 8 << false << true << false << 5 << 3;
    QTest::addRow("dual MGX and pi delay") << 6 << true << true << false << 2 << 0;
    QTest::addRow("dual MGX, FLIM chip") << 6 << true << false << true << 2 << 1;
    QTest::addRow("dual MGX alone") << 6 << true << false << false << 1 << 0;
    QTest::addRow("pi delay, FLIM chip") << 6 << false << true << true << 2 << 0;
    QTest::addRow("pi delay") << 7 << false << true << false << 4 << 0;
    QTest::addRow("pi delay, odd stray byte") << 6 << false << true << false << 4 << 1;
    QTest::addRow("neither") << 6 << false << false << false << 2 << 0;
}

void TestDataCorrelationSamples::slicingBySampling()
{
    QFETCH(int, mode);
    QFETCH(bool, dualMgx);
    QFETCH(bool, piDelay);
    QFETCH(bool, flimChip);
    QFETCH(int, samples);
    QFETCH(int, trailingBytes);

    Settings settings;
    useTwoPixelRoi(settings);
    settings.setModeIndex(mode);
    settings.distanceCalculation()->setDualMGX(dualMgx);
    settings.distanceCalculation()->setPiDelay(piDelay);
    settings.flim()->setFlimChip(flimChip);
    DataCorrelationSamples decoder(&settings);
    QSignalSpy finished(&decoder, &DataCorrelationSamples::finished);

    QByteArray payload = slicedPayload(samples, trailingBytes);
    decoder.updateData(payload);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(decoder.lastSampleCount(), samples);
    const int parts[] = {0, 1, 2, 3, DataCorrelationSamples::kGrayscalePart};
    for (int slice = 0; slice < 5; ++slice) {
        const int part = parts[slice];
        if (slice < samples) {
            QCOMPARE(decoder.partValue(part, 0, 0), 1000 * (slice + 1));
            QCOMPARE(decoder.partValue(part, 1, 0), 1000 * (slice + 1) + 1);
        } else {
            // Parts the sampling does not name keep what they had: nothing yet.
            QCOMPARE(decoder.partValue(part, 0, 0), -1);
        }
    }
}

void TestDataCorrelationSamples::fullSensorFourSamples()
{
    Settings settings;
    settings.setChipType(2);
    settings.roi()->setRoi(4, 323, 6, 245);
    settings.setModeIndex(6);
    settings.distanceCalculation()->setPiDelay(true);
    DataCorrelationSamples decoder(&settings);
    const int words = 320 * 240;
    QByteArray payload(4 * 2 * words, Qt::Uninitialized);
    for (int sample = 0; sample < 4; ++sample) {
        for (int i = 0; i < words; ++i) {
            const int word = 2048 + sample * 100 + (i % 50);
            payload[2 * (sample * words + i)] = char(word & 0xff);
            payload[2 * (sample * words + i) + 1] = char(word >> 8);
        }
    }
    decoder.updateData(payload);
    // Word 0 of each slice lands on the ROI's top-left corner.
    for (int sample = 0; sample < 4; ++sample)
        QCOMPARE(decoder.partValue(sample, 4, 6), 2048 + sample * 100);
    QCOMPARE(decoder.partValue(0, 3, 6), -1);
    decoder.calculateDifference();
    QCOMPARE(decoder.differenceValue(false, 4, 6), 200 + 4096);
    QCOMPARE(decoder.differenceValue(true, 4, 6), 200 + 4096);
    QCOMPARE(decoder.differenceValue(false, 3, 6), -1);
}

void TestDataCorrelationSamples::difference_data()
{
    QTest::addColumn<QVector<int>>("samples");
    QTest::addColumn<int>("difference0");
    QTest::addColumn<int>("difference1");

    QTest::addRow("plain") << QVector<int>{2000, 2100, 2100, 2000} << 4196 << 3996;
    QTest::addRow("ADC code wins over saturation") << QVector<int>{65400, 2000, 65500, 2000} << 65500 << 4096;
    QTest::addRow("saturated second") << QVector<int>{2000, 65400, 2000, 2000} << 4096 << 65400;
    QTest::addRow("low amplitude has no rule") << QVector<int>{65300, 0, 0, 0} << 0 - 65300 + 4096 << 4096;
    QTest::addRow("missing d1 blanks both") << QVector<int>{2000, -1, 2100, 2000} << -1 << -1;
    QTest::addRow("missing d3 blanks both") << QVector<int>{2000, 2000, 2100, -5} << -1 << -1;
}

void TestDataCorrelationSamples::difference()
{
    QFETCH(QVector<int>, samples);
    QFETCH(int, difference0);
    QFETCH(int, difference1);

    Settings settings;
    useTwoPixelRoi(settings);
    DataCorrelationSamples decoder(&settings);
    for (int part = 0; part < 4; ++part)
        decoder.partField(part)->setValue(5, 5, samples[part]);
    QSignalSpy calculated(&decoder, &DataCorrelationSamples::calculatedDifference);
    decoder.calculateDifference();
    QCOMPARE(calculated.count(), 1);
    QCOMPARE(decoder.differenceValue(false, 5, 5), difference0);
    QCOMPARE(decoder.differenceValue(true, 5, 5), difference1);
    QCOMPARE(decoder.differenceData(true)[5][5], difference1);
}

void TestDataCorrelationSamples::indexMapping()
{
    Settings settings;
    useTwoPixelRoi(settings);
    DataCorrelationSamples decoder(&settings);
    QCOMPARE(decoder.partData(3), decoder.partField(3)->data());
    QVERIFY(decoder.partField(3) != decoder.partField(4));
    QCOMPARE(decoder.partField(4), decoder.partField(-1));
    QCOMPARE(decoder.partField(4), decoder.partField(17));
    decoder.partField(DataCorrelationSamples::kGrayscalePart)->setValue(1, 0, 77);
    QCOMPARE(decoder.partValue(9, 1, 0), 77);
}

KESTRANE_TEST_MAIN(TestDataCorrelationSamples)
#include "tst_datacorrelationsamples.moc"
