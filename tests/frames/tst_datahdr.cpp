#include "frames/DataHDR.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QtTest>

namespace {
// A distance image of `rows` payload rows of `width` words whose every word is its row's
// number (so the buffers show which payload row they hold), followed by an amplitude image.
QByteArray payload(int width, int rows)
{
    QByteArray bytes;
    for (int image = 0; image < 2; ++image) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < width; ++c) {
                const int word = image == 0 ? r : 1000 + r;
                bytes.append(char(word & 0xff));
                bytes.append(char(word >> 8));
            }
        }
    }
    return bytes;
}

// The payload row numbers a buffer holds, one per row of the buffer.
QList<int> rowsOf(const QByteArray& buffer, int width)
{
    QList<int> rows;
    const int rowBytes = 2 * width;
    for (int at = 0; at + rowBytes <= buffer.size(); at += rowBytes)
        rows << (uchar(buffer[at]) | uchar(buffer[at + 1]) << 8);
    return rows;
}

QList<int> doubled(std::initializer_list<int> rows)
{
    QList<int> out;
    for (int r : rows)
        out << r << r;
    return out;
}
} // namespace

// Splitting an HDR frame into the half-images of the two integration times.
class TestDataHDR : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void decodedParts();
};

void TestDataHDR::split_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<QList<int>>("roi"); // x1 x2 y1 y2
    QTest::addColumn<int>("payloadRows");
    QTest::addColumn<QList<int>>("firstRowsOf0");
    QTest::addColumn<QList<int>>("firstRowsOf1");
    QTest::addColumn<int>("rowsPerBuffer");

    QTest::addRow("single block: odd rows to 0, even to 1")
        << 4 << QList<int>{4, 163, 6, 65} << 60 << doubled({1, 3, 5}) << doubled({0, 2, 4}) << 60;
    QTest::addRow("centre split: no flip above the centre")
        << 2 << QList<int>{4, 323, 6, 245} << 240 << doubled({1, 3, 5}) << doubled({0, 2, 4}) << 240;
    QTest::addRow("payload shorter than four ROI widths")
        << 4 << QList<int>{0, 159, 0, 59} << 0 << QList<int>{} << QList<int>{} << 0;
    QTest::addRow("odd row count stays inside the image")
        << 4 << QList<int>{4, 163, 6, 66} << 61 << doubled({1, 3, 5}) << doubled({0, 2, 4}) << 61;
}

void TestDataHDR::split()
{
    QFETCH(int, chipType);
    QFETCH(QList<int>, roi);
    QFETCH(int, payloadRows);
    QFETCH(int, rowsPerBuffer);
    QFETCH(QList<int>, firstRowsOf0);
    QFETCH(QList<int>, firstRowsOf1);
    Settings settings;
    settings.setChipType(chipType);
    settings.roi()->setChipType(chipType);
    settings.roi()->setRoi(roi[0], roi[1], roi[2], roi[3]);
    const int width = roi[1] - roi[0] + 1;
    DataHDR hdr(&settings);
    QByteArray data = payloadRows > 0 ? payload(width, payloadRows) : QByteArray(3 * width, '\0');
    hdr.updateData(data);

    const QList<int> rows0 = rowsOf(hdr.rowBuffer(0), width);
    const QList<int> rows1 = rowsOf(hdr.rowBuffer(1), width);
    QCOMPARE(rows0.mid(0, 6), firstRowsOf0);
    QCOMPARE(rows1.mid(0, 6), firstRowsOf1);
    QVERIFY(rows0.size() <= rowsPerBuffer && rows1.size() <= rowsPerBuffer);
    QCOMPARE(rowsOf(hdr.rowBuffer(2), width).size(), rowsPerBuffer);
    QCOMPARE(hdr.rowBuffer(3), hdr.rowBuffer(2));
    if (payloadRows > 0) {
        QList<int> readout;
        for (int r = 0; r < payloadRows; ++r)
            readout << r;
        QCOMPARE(rowsOf(hdr.rowBuffer(2), width), readout);
    } else {
        // Nothing decoded: the fields hold no data.
        QCOMPARE(hdr.partValue(0, 10, 10), int(DataPixelfield::kNoData));
        QCOMPARE(hdr.partValue(3, 10, 10), int(DataPixelfield::kNoData));
    }
}

// The centre line of a two-half sensor: row 119 (odd) and row 120 (even) both belong to the
// same integration time, because the readout direction turns between them.
void TestDataHDR::decodedParts()
{
    Settings settings;
    settings.setChipType(2);
    settings.roi()->setChipType(2);
    settings.roi()->setRoi(4, 323, 6, 245);
    const int width = 320;
    DataHDR hdr(&settings);
    QByteArray data = payload(width, 240);
    hdr.updateData(data);

    const QList<int> rows0 = rowsOf(hdr.rowBuffer(0), width);
    const QList<int> rows1 = rowsOf(hdr.rowBuffer(1), width);
    QVERIFY(rows0.contains(119) && rows0.contains(120));
    QVERIFY(!rows0.contains(121) && rows1.contains(121) && rows1.contains(118));
    // Every row of the two half-images occurs twice in a row.
    QCOMPARE(rows0.size(), 240);
    for (int i = 0; i + 1 < rows0.size(); i += 2)
        QCOMPARE(rows0[i], rows0[i + 1]);
    // Part mapping: negative indices give part 0, those above 2 part 3; part 4 the amplitudes.
    QCOMPARE(hdr.partField(-1), hdr.partField(0));
    QCOMPARE(hdr.partField(7), hdr.partField(3));
    const DataPixelfield* amplitude = hdr.amplitudeField();
    int amplitudes = 0;
    for (int r = 0; r < amplitude->height(); ++r)
        amplitudes += amplitude->value(100, r) >= 1000 ? 1 : 0;
    QCOMPARE(amplitudes, 240);
}

KESTRANE_TEST_MAIN(TestDataHDR)
#include "tst_datahdr.moc"
