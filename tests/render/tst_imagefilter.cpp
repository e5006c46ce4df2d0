#include "frames/DataPixelfield.h"
#include "render/ImageFilter.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QImage>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kLow = DataPixelfield::kLowAmplitude;

// Every entry distinct, so a copied value tells where it came from.
void fillNumbered(DataPixelfield& field)
{
    for (int c = 0; c < field.width(); ++c)
        for (int r = 0; r < field.height(); ++r)
            field.setValue(c, r, c * 1000 + r);
}

void fillWith(DataPixelfield& field, int value)
{
    std::fill(field.cells(), field.cells() + field.cellCount(), value);
}

// Distances with no-data entries and every status code sprinkled in.
void fillRandom(DataPixelfield& field, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int i = 0; i < field.cellCount(); ++i) {
        const int pick = random.bounded(100);
        int v = random.bounded(30000);
        if (pick < 4)
            v = -1;
        else if (pick < 7)
            v = 65300;
        else if (pick < 9)
            v = 65400;
        else if (pick < 10)
            v = 65500;
        else if (pick < 40)
            v = random.bounded(5); // many ties
        field.cells()[i] = v;
    }
}

// Little-endian int16 x then y per pixel, as the camera sends the list.
QByteArray badPixelBytes(const QVector<QPoint>& points)
{
    QByteArray bytes;
    for (const QPoint& p : points) {
        for (int v : {p.x(), p.y()})
            bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    return bytes;
}

std::vector<int> snapshot(const DataPixelfield& field)
{
    return std::vector<int>(field.cells(), field.cells() + field.cellCount());
}

// First difference between a field and the expected entries, or an empty text.
QString firstDifference(const DataPixelfield& field, const std::vector<int>& expected)
{
    for (int c = 0; c < field.width(); ++c) {
        for (int r = 0; r < field.height(); ++r) {
            const int want = expected[std::size_t(c) * field.height() + r];
            if (field.value(c, r) != want)
                return QStringLiteral("(%1, %2) holds %3, expected %4")
                    .arg(c)
                    .arg(r)
                    .arg(field.value(c, r))
                    .arg(want);
        }
    }
    return {};
}

// The median as the view filter defines it, by sorting every window of the sensor interior
// into a working copy and writing the copy back inside the ROI, `iterations` times.
std::vector<int> sortedMedian(std::vector<int> field, int columns, int rows, int x1, int x2, int y1, int y2,
                              int size, int iterations)
{
    const int h = size / 2;
    const int k = size * size / 2;
    std::vector<int> window;
    for (int i = 0; i < iterations; ++i) {
        std::vector<int> work = field;
        // Working-copy entries outside the ROI are never written back, so they are skipped.
        for (int c = std::max(h, x1); c < columns - h && c <= x2; ++c) {
            for (int r = std::max(h, y1); r < rows - h && r <= y2; ++r) {
                window.clear();
                for (int wc = c - h; wc <= c + h; ++wc)
                    for (int wr = r - h; wr <= r + h; ++wr)
                        window.push_back(field[std::size_t(wc) * rows + wr]);
                std::sort(window.begin(), window.end());
                work[std::size_t(c) * rows + r] = window[k];
            }
        }
        for (int c = x1; c <= x2; ++c)
            for (int r = y1; r <= y2; ++r)
                field[std::size_t(c) * rows + r] = work[std::size_t(c) * rows + r];
    }
    return field;
}

// The 3 x 3 Gauss pass over the ROI interior, written out plainly.
std::vector<int> plainGauss(std::vector<int> field, int rows, int x1, int x2, int y1, int y2, int minimum,
                            int iterations)
{
    auto at = [rows](const std::vector<int>& f, int c, int r) { return f[std::size_t(c) * rows + r]; };
    for (int i = 0; i < iterations; ++i) {
        const std::vector<int> before = field;
        for (int c = x1 + 1; c < x2; ++c) {
            for (int r = y1 + 1; r < y2; ++r) {
                bool valid = at(before, c - 1, r - 1) > minimum;
                long long sum = 0;
                for (int dc = -1; dc <= 1; ++dc) {
                    for (int dr = -1; dr <= 1; ++dr) {
                        const int v = at(before, c + dc, r + dr);
                        valid = valid && v < kLow;
                        sum += v * (dc == 0 ? 2 : 1) * (dr == 0 ? 2 : 1);
                    }
                }
                if (valid)
                    field[std::size_t(c) * rows + r] = int(std::floor(sum / 16.0));
            }
        }
    }
    return field;
}

} // namespace

class TestImageFilter : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void replaceBadPixels_data();
    void replaceBadPixels();
    void replaceBadPixelsInListOrder();
    void replaceBadPixelsWithRoiPastTheSensor();
    void paintBadPixels();

    void gaussWindow_data();
    void gaussWindow();
    void gaussAgainstPlainPasses_data();
    void gaussAgainstPlainPasses();
    void gaussSwitchedOff_data();
    void gaussSwitchedOff();
    void gaussIterationsBounded();

    void medianSpike_data();
    void medianSpike();
    void medianAgainstSortedWindows_data();
    void medianAgainstSortedWindows();
    void medianSizesFromFiles_data();
    void medianSizesFromFiles();
    void medianIterationsBounded();

    void hdrPairs_data();
    void hdrPairs();
    void hdrSwitchedOff();
    void hdrWithoutFollowingField();
    void hdrOddRoiHeight_data();
    void hdrOddRoiHeight();

private:
    Settings* settings() { return m_settings.get(); }

    std::unique_ptr<Settings> m_settings;
};

void TestImageFilter::init()
{
    m_settings = std::make_unique<Settings>();
    m_settings->roi()->setRoi(4, 323, 6, 245);
    m_settings->calibration()->clearBadPixels();
}

void TestImageFilter::replaceBadPixels_data()
{
    QTest::addColumn<QRect>("roi"); // x1, y1 to x2, y2
    QTest::addColumn<QPoint>("bad");
    QTest::addColumn<QPoint>("source"); // whose value it takes; the bad pixel itself = unchanged

    const QRect roi(QPoint(4, 6), QPoint(323, 245));
    QTest::addRow("top left corner takes the right neighbour") << roi << QPoint(4, 6) << QPoint(5, 6);
    QTest::addRow("first column takes the upper neighbour") << roi << QPoint(4, 7) << QPoint(4, 6);
    QTest::addRow("inside takes the left neighbour") << roi << QPoint(9, 6) << QPoint(8, 6);
    QTest::addRow("bottom right corner takes the left neighbour")
        << roi << QPoint(323, 245) << QPoint(322, 245);
    QTest::addRow("left of the ROI is unchanged") << roi << QPoint(3, 100) << QPoint(3, 100);
    QTest::addRow("below the ROI is unchanged") << roi << QPoint(100, 246) << QPoint(100, 246);
    const QRect column(QPoint(10, 6), QPoint(10, 245));
    QTest::addRow("top of a one-column ROI is unchanged") << column << QPoint(10, 6) << QPoint(10, 6);
    QTest::addRow("one-column ROI takes the upper neighbour") << column << QPoint(10, 50) << QPoint(10, 49);
}

void TestImageFilter::replaceBadPixels()
{
    QFETCH(QRect, roi);
    QFETCH(QPoint, bad);
    QFETCH(QPoint, source);
    settings()->roi()->setRoi(roi.left(), roi.right(), roi.top(), roi.bottom());
    settings()->calibration()->setBadPixels(badPixelBytes({bad}));
    QCOMPARE(settings()->calibration()->badPixels(), QVector<QPoint>{bad});

    DataPixelfield field(settings());
    fillNumbered(field);
    std::vector<int> expected = snapshot(field);
    expected[std::size_t(bad.x()) * field.height() + bad.y()] = field.value(source.x(), source.y());
    ImageFilter filter(settings());
    filter.replaceBadPixels(field);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::replaceBadPixelsInListOrder()
{
    // Two bad neighbours in a row: the right one copies what the left one holds at its turn.
    DataPixelfield field(settings());
    fillNumbered(field);
    ImageFilter filter(settings());

    settings()->calibration()->setBadPixels(badPixelBytes({QPoint(10, 20), QPoint(11, 20)}));
    filter.replaceBadPixels(field);
    QCOMPARE(field.value(10, 20), 9 * 1000 + 20);
    QCOMPARE(field.value(11, 20), 9 * 1000 + 20);

    fillNumbered(field);
    settings()->calibration()->clearBadPixels();
    settings()->calibration()->setBadPixels(badPixelBytes({QPoint(11, 20), QPoint(10, 20)}));
    filter.replaceBadPixels(field);
    QCOMPARE(field.value(11, 20), 10 * 1000 + 20);
    QCOMPARE(field.value(10, 20), 9 * 1000 + 20);
}

void TestImageFilter::replaceBadPixelsWithRoiPastTheSensor()
{
    // A ROI from a file that starts left of the sensor: the first sensor column counts as
    // the ROI's first column, so nothing is read from outside the field.
    settings()->roi()->setRoi(-5, 400, -2, 300);
    settings()->calibration()->setBadPixels(
        badPixelBytes({QPoint(0, 10), QPoint(0, 0), QPoint(327, 251), QPoint(500, 10), QPoint(-1, 3)}));
    DataPixelfield field(settings());
    fillNumbered(field);
    std::vector<int> expected = snapshot(field);
    expected[10] = field.value(0, 9);
    expected[0] = field.value(1, 0);
    expected[std::size_t(327) * 252 + 251] = field.value(326, 251);
    ImageFilter filter(settings());
    filter.replaceBadPixels(field);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::paintBadPixels()
{
    settings()->calibration()->setBadPixels(badPixelBytes(
        {QPoint(4, 6), QPoint(0, 0), QPoint(327, 251), QPoint(328, 10), QPoint(-1, 5), QPoint(20, 252)}));
    QImage image(328, 252, QImage::Format_RGB32);
    image.fill(Qt::white);
    ImageFilter filter(settings());
    filter.paintBadPixels(image, QColor(150, 150, 150));

    const QRgb gray = qRgb(150, 150, 150);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += image.pixel(x, y) == gray ? 1 : 0;
    QCOMPARE(painted, 3);
    QCOMPARE(image.pixel(4, 6), gray);
    QCOMPARE(image.pixel(0, 0), gray); // outside the ROI, still marked
    QCOMPARE(image.pixel(327, 251), gray);
}

void TestImageFilter::gaussWindow_data()
{
    QTest::addColumn<QVector<int>>("window"); // NW, N, NE, W, C, E, SW, S, SE
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("centre");

    const QVector<int> flat(9, 1000);
    QVector<int> raised = flat;
    raised[4] = 1160;
    QTest::addRow("flat block stays") << flat << 0 << 1000;
    QTest::addRow("raised centre is smoothed") << raised << 0 << 1040;
    QVector<int> lowNw = raised;
    lowNw[0] = 65300;
    QTest::addRow("low amplitude in NW") << lowNw << 0 << 1160;
    QVector<int> saturatedSe = raised;
    saturatedSe[8] = 65400;
    QTest::addRow("saturated in SE") << saturatedSe << 0 << 1160;
    QTest::addRow("NW at distanceMin") << raised << 1000 << 1160;
    QTest::addRow("NW just above distanceMin") << raised << 999 << 1040;
    QVector<int> noDataSe = flat;
    noDataSe[8] = -1;
    QTest::addRow("no data enters the sum") << noDataSe << 0 << (16000 - 1000 - 1) / 16;
    QVector<int> negative(9, -1);
    negative[4] = -2;
    QTest::addRow("negative sum rounds down") << negative << -100 << -2; // -20 / 16
}

void TestImageFilter::gaussWindow()
{
    QFETCH(QVector<int>, window);
    QFETCH(int, minimum);
    QFETCH(int, centre);
    settings()->settings3D()->setDistanceMin(minimum);
    // A 3 x 3 ROI: its only interior pixel is the centre (11, 21).
    settings()->roi()->setRoi(10, 12, 20, 22);
    DataPixelfield field(settings());
    fillWith(field, 500);
    for (int i = 0; i < 9; ++i)
        field.setValue(10 + i % 3, 20 + i / 3, window[i]);
    std::vector<int> expected = snapshot(field);
    expected[std::size_t(11) * field.height() + 21] = centre;

    ImageFilter filter(settings());
    filter.gauss3x3(field, true, 1);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::gaussAgainstPlainPasses_data()
{
    QTest::addColumn<QRect>("roi");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<int>("minimum");
    QTest::addRow("default ROI, one pass") << QRect(QPoint(4, 6), QPoint(323, 245)) << 1 << 0;
    QTest::addRow("default ROI, three passes") << QRect(QPoint(4, 6), QPoint(323, 245)) << 3 << 0;
    QTest::addRow("whole sensor, distanceMin 10") << QRect(QPoint(0, 0), QPoint(327, 251)) << 2 << 10;
    QTest::addRow("narrow ROI") << QRect(QPoint(100, 30), QPoint(103, 200)) << 2 << 0;
    QTest::addRow("two columns have no interior") << QRect(QPoint(100, 30), QPoint(101, 200)) << 2 << 0;
}

void TestImageFilter::gaussAgainstPlainPasses()
{
    QFETCH(QRect, roi);
    QFETCH(int, iterations);
    QFETCH(int, minimum);
    settings()->roi()->setRoi(roi.left(), roi.right(), roi.top(), roi.bottom());
    settings()->settings3D()->setDistanceMin(minimum);
    DataPixelfield field(settings());
    fillRandom(field, 4711);
    // Smooth regions too, where the filter really averages.
    for (int c = 150; c < 250; ++c)
        for (int r = 50; r < 150; ++r)
            field.setValue(c, r, 1000 + (c * 7 + r * 13) % 300);
    const std::vector<int> expected = plainGauss(snapshot(field), field.height(), roi.left(), roi.right(),
                                                 roi.top(), roi.bottom(), minimum, iterations);

    ImageFilter filter(settings());
    filter.gauss3x3(field, true, iterations);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::gaussSwitchedOff_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("iterations");
    QTest::addRow("disabled") << false << 3;
    QTest::addRow("no iterations") << true << 0;
    QTest::addRow("negative iterations") << true << -4;
}

void TestImageFilter::gaussSwitchedOff()
{
    QFETCH(bool, enabled);
    QFETCH(int, iterations);
    DataPixelfield field(settings());
    fillRandom(field, 99);
    const std::vector<int> before = snapshot(field);
    ImageFilter filter(settings());
    filter.gauss3x3(field, enabled, iterations);
    QCOMPARE(firstDifference(field, before), QString());
}

void TestImageFilter::gaussIterationsBounded()
{
    // A count from a file far beyond any use runs the maximum number of passes.
    DataPixelfield field(settings());
    DataPixelfield reference(settings());
    fillRandom(field, 5);
    reference.copyFrom(field);
    ImageFilter filter(settings());
    filter.gauss3x3(field, true, 2000000000);
    filter.gauss3x3(reference, true, ImageFilter::kMaxIterations);
    QCOMPARE(firstDifference(field, snapshot(reference)), QString());
}

void TestImageFilter::medianSpike_data()
{
    QTest::addColumn<int>("size");
    QTest::addRow("3 x 3") << 3;
    QTest::addRow("5 x 5") << 5;
    QTest::addRow("7 x 7") << 7;
}

void TestImageFilter::medianSpike()
{
    QFETCH(int, size);
    settings()->setMedianFilter(true);
    settings()->setMedianFilterSize(size);
    settings()->setMedianFilterIterations(1);
    DataPixelfield field(settings());
    fillWith(field, 1000);
    field.setValue(100, 100, 5000);
    ImageFilter filter(settings());
    filter.median(field);
    QCOMPARE(field.value(100, 100), 1000);

    settings()->setMedianFilter(false);
    field.setValue(100, 100, 5000);
    filter.median(field);
    QCOMPARE(field.value(100, 100), 5000);
}

void TestImageFilter::medianAgainstSortedWindows_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<QRect>("roi");
    const QRect full(QPoint(0, 0), QPoint(327, 251));
    const QRect roi(QPoint(4, 6), QPoint(323, 245));
    const QRect corner(QPoint(0, 0), QPoint(40, 30));
    QTest::addRow("3 x 3, whole sensor") << 3 << 1 << full;
    QTest::addRow("3 x 3, two passes") << 3 << 2 << roi;
    QTest::addRow("5 x 5, two passes") << 5 << 2 << roi;
    QTest::addRow("5 x 5, ROI at the sensor corner") << 5 << 1 << corner;
    QTest::addRow("7 x 7, two passes") << 7 << 2 << QRect(QPoint(100, 50), QPoint(180, 120));
    QTest::addRow("9 x 9, ROI at the sensor corner") << 9 << 1 << corner;
}

void TestImageFilter::medianAgainstSortedWindows()
{
    QFETCH(int, size);
    QFETCH(int, iterations);
    QFETCH(QRect, roi);
    settings()->roi()->setRoi(roi.left(), roi.right(), roi.top(), roi.bottom());
    settings()->setMedianFilter(true);
    settings()->setMedianFilterSize(size);
    settings()->setMedianFilterIterations(iterations);
    DataPixelfield field(settings());
    fillRandom(field, quint32(size * 100 + iterations));
    const std::vector<int> expected = sortedMedian(snapshot(field), field.width(), field.height(), roi.left(),
                                                   roi.right(), roi.top(), roi.bottom(), size, iterations);
    ImageFilter filter(settings());
    filter.median(field);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::medianSizesFromFiles_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("usedSize");
    QTest::addRow("zero") << 0 << 3;
    QTest::addRow("negative") << -7 << 3;
    QTest::addRow("one") << 1 << 3;
    QTest::addRow("even") << 4 << 5;
    QTest::addRow("absurd") << 100001 << MedianKernel::kMaxSize;
}

void TestImageFilter::medianSizesFromFiles()
{
    QFETCH(int, size);
    QFETCH(int, usedSize);
    // The small sensor keeps the sorted reference quick for the large windows.
    settings()->setChipType(4);
    settings()->roi()->setChipType(4);
    settings()->roi()->setRoi(0, 167, 0, 71);
    settings()->setMedianFilter(true);
    settings()->setMedianFilterSize(size);
    settings()->setMedianFilterIterations(1);
    DataPixelfield field(settings());
    QCOMPARE(field.width(), 168);
    fillRandom(field, 321);
    const std::vector<int> expected =
        sortedMedian(snapshot(field), field.width(), field.height(), 0, 167, 0, 71, usedSize, 1);
    ImageFilter filter(settings());
    filter.median(field);
    QCOMPARE(firstDifference(field, expected), QString());
}

void TestImageFilter::medianIterationsBounded()
{
    settings()->setChipType(4);
    settings()->roi()->setChipType(4);
    settings()->roi()->setRoi(0, 167, 0, 71);
    settings()->setMedianFilter(true);
    settings()->setMedianFilterSize(3);
    DataPixelfield field(settings());
    DataPixelfield reference(settings());
    fillRandom(field, 8);
    reference.copyFrom(field);
    ImageFilter filter(settings());
    settings()->setMedianFilterIterations(2000000000);
    filter.median(field);
    settings()->setMedianFilterIterations(ImageFilter::kMaxIterations);
    filter.median(reference);
    QCOMPARE(firstDifference(field, snapshot(reference)), QString());

    // Negative counts run no pass.
    fillRandom(field, 8);
    const std::vector<int> before = snapshot(field);
    settings()->setMedianFilterIterations(-3);
    filter.median(field);
    QCOMPARE(firstDifference(field, before), QString());
}

void TestImageFilter::hdrPairs_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("secondRow");
    QTest::addRow("both below 2000, second larger") << 1500 << 1800 << true;
    QTest::addRow("both below 2000 and equal") << 1999 << 1999 << false;
    QTest::addRow("both below 2000, first larger") << 1800 << 1500 << false;
    QTest::addRow("first above, second below") << 2100 << 1900 << true;
    QTest::addRow("first below, second above") << 1900 << 2100 << false;
    QTest::addRow("both at 2000") << 2000 << 2000 << true;
    QTest::addRow("first at 2000, second above") << 2000 << 2500 << false;
    QTest::addRow("both above, first larger") << 2500 << 2400 << false;
    QTest::addRow("both above, second larger") << 2400 << 2500 << true;
    QTest::addRow("both above and equal") << 2400 << 2400 << true;
}

void TestImageFilter::hdrPairs()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, secondRow);
    settings()->distanceCalculation()->setAmplitudeHdr(true);
    DataPixelfield amplitude(settings());
    DataPixelfield distance(settings());
    fillWith(amplitude, 0);
    fillNumbered(distance);
    for (int c = 4; c <= 323; ++c) {
        amplitude.setValue(c, 6, a);
        amplitude.setValue(c, 7, b);
    }
    // Pair (6, 7) holds (a, b) in every ROI column; every other pair (0, 0), which keeps its
    // first row.
    std::vector<int> expectedDistance = snapshot(distance);
    std::vector<int> expectedAmplitude = snapshot(amplitude);
    for (int c = 4; c <= 323; ++c) {
        for (int y = 6; y <= 245; y += 2) {
            const std::size_t top = std::size_t(c) * 252 + y;
            const std::size_t taken = top + (y == 6 && secondRow ? 1 : 0);
            expectedAmplitude[top] = expectedAmplitude[top + 1] = expectedAmplitude[taken];
            expectedDistance[top] = expectedDistance[top + 1] = expectedDistance[taken];
        }
    }

    ImageFilter filter(settings());
    filter.mergeHdrRows(amplitude, &distance);
    QCOMPARE(firstDifference(amplitude, expectedAmplitude), QString());
    QCOMPARE(firstDifference(distance, expectedDistance), QString());
    QCOMPARE(distance.value(100, 6), secondRow ? 100 * 1000 + 7 : 100 * 1000 + 6);
    QCOMPARE(amplitude.value(100, 7), secondRow ? b : a);
}

void TestImageFilter::hdrSwitchedOff()
{
    settings()->distanceCalculation()->setAmplitudeHdr(false);
    DataPixelfield amplitude(settings());
    DataPixelfield distance(settings());
    fillRandom(amplitude, 1);
    fillRandom(distance, 2);
    const std::vector<int> amplitudeBefore = snapshot(amplitude);
    const std::vector<int> distanceBefore = snapshot(distance);
    ImageFilter filter(settings());
    filter.mergeHdrRows(amplitude, &distance);
    QCOMPARE(firstDifference(amplitude, amplitudeBefore), QString());
    QCOMPARE(firstDifference(distance, distanceBefore), QString());
}

void TestImageFilter::hdrWithoutFollowingField()
{
    settings()->distanceCalculation()->setAmplitudeHdr(true);
    DataPixelfield amplitude(settings());
    fillWith(amplitude, 0);
    amplitude.setValue(50, 100, 1500);
    amplitude.setValue(50, 101, 1800);
    amplitude.setValue(51, 102, 2500);
    amplitude.setValue(51, 103, 2400);
    ImageFilter filter(settings());
    filter.mergeHdrRows(amplitude);
    QCOMPARE(amplitude.value(50, 100), 1800);
    QCOMPARE(amplitude.value(50, 101), 1800);
    QCOMPARE(amplitude.value(51, 102), 2500);
    QCOMPARE(amplitude.value(51, 103), 2500);
    // Outside the ROI nothing changes.
    amplitude.setValue(2, 100, 1500);
    amplitude.setValue(2, 101, 1800);
    filter.mergeHdrRows(amplitude);
    QCOMPARE(amplitude.value(2, 100), 1500);
}

void TestImageFilter::hdrOddRoiHeight_data()
{
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("y2");
    QTest::addColumn<int>("lastMergedRow");
    QTest::addRow("pair reaching one row past the ROI") << 6 << 246 << 247;
    QTest::addRow("lone last sensor row") << 7 << 251 << 250;
}

void TestImageFilter::hdrOddRoiHeight()
{
    // A ROI from a file with an odd height: its last pair may reach past the ROI, never past
    // the field.
    QFETCH(int, y1);
    QFETCH(int, y2);
    QFETCH(int, lastMergedRow);
    settings()->roi()->setRoi(4, 323, y1, y2);
    settings()->distanceCalculation()->setAmplitudeHdr(true);
    DataPixelfield amplitude(settings());
    for (int c = 0; c < 328; ++c)
        for (int r = 0; r < 252; ++r)
            amplitude.setValue(c, r, 1000 + r);
    ImageFilter filter(settings());
    filter.mergeHdrRows(amplitude);
    // Below 2000 the larger, i.e. the lower row of every pair, wins.
    QCOMPARE(amplitude.value(10, lastMergedRow - 1), 1000 + lastMergedRow);
    QCOMPARE(amplitude.value(10, lastMergedRow), 1000 + lastMergedRow);
    QCOMPARE(amplitude.value(10, lastMergedRow + 1), 1000 + lastMergedRow + 1);
}

KESTRANE_TEST_MAIN(TestImageFilter)
#include "tst_imagefilter.moc"
