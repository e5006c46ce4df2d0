#include "render/MedianKernel.h"
#include "render/MedianRankPass.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

// The filter pass as the image post-processor defines it: sort every s x s window of the
// sensor interior into a working copy, then write the copy back inside the ROI.
void referenceMedian(std::vector<int>& field, int columns, int rows, int x1, int x2, int y1, int y2, int size)
{
    const int h = size / 2;
    const int k = size * size / 2;
    std::vector<int> work = field;
    std::vector<int> window;
    // Every interior sensor position goes into the working copy; only the ROI's are copied
    // back, so the others are skipped here.
    for (int c = std::max(h, x1); c < columns - h && c <= x2; ++c) {
        for (int r = std::max(h, y1); r < rows - h && r <= y2; ++r) {
            window.clear();
            for (int wc = c - h; wc <= c + h; ++wc)
                for (int wr = r - h; wr <= r + h; ++wr)
                    window.push_back(field[wc * rows + wr]);
            std::sort(window.begin(), window.end());
            work[c * rows + r] = window[k];
        }
    }
    for (int c = std::max(x1, 0); c <= std::min(x2, columns - 1); ++c)
        for (int r = std::max(y1, 0); r <= std::min(y2, rows - 1); ++r)
            field[c * rows + r] = work[c * rows + r];
}

enum class Values
{
    Distances,
    FewLevels,
    Wide,
    OneOutlier,  // distances and one value far outside them
    Noise16,     // every 16-bit value and -1 equally likely
    WidestRanked // 2^17 consecutive values, both ends present
};

// Distances with status codes and no-data entries sprinkled in; few levels give many ties.
std::vector<int> randomField(int columns, int rows, Values values, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<int> field(static_cast<std::size_t>(columns) * rows);
    for (int& v : field) {
        switch (values) {
        case Values::Distances: {
            const int pick = random.bounded(100);
            if (pick < 5)
                v = -1;
            else if (pick < 8)
                v = 65300;
            else if (pick < 10)
                v = 65400;
            else if (pick < 11)
                v = 65500;
            else
                v = random.bounded(30000);
            break;
        }
        case Values::FewLevels: {
            const int levels[] = {-1, 0, 7, 65300, 65500};
            v = levels[random.bounded(5)];
            break;
        }
        case Values::Wide:
            v = static_cast<int>(random.generate());
            break;
        case Values::OneOutlier:
            v = random.bounded(30000);
            break;
        case Values::Noise16:
            v = random.bounded(65537) - 1;
            break;
        case Values::WidestRanked:
            v = random.bounded(1 << 17) - 70000;
            break;
        }
    }
    if (values == Values::OneOutlier)
        field[field.size() / 2] = -1000000;
    if (values == Values::WidestRanked) {
        field[field.size() / 3] = -70000;
        field[field.size() / 2] = (1 << 17) - 70001;
    }
    return field;
}

} // namespace

class TestMedianKernel : public QObject
{
    Q_OBJECT

private slots:
    void matchesSortedWindows_data();
    void matchesSortedWindows();
    void everyRankPassBuildMatchesSortedWindows_data();
    void everyRankPassBuildMatchesSortedWindows();
    void repeatedPassesReadThePreviousPass();
    void everyOrderOfAWindowGivesItsMiddle_data();
    void everyOrderOfAWindowGivesItsMiddle();
    void everyZeroOneWindowGivesItsMajority_data();
    void everyZeroOneWindowGivesItsMajority();
    void isolatedSpikeIsRemoved();
    void sizeFromAFileIsBounded_data();
    void sizeFromAFileIsBounded();
    void unusableInputChangesNothing_data();
    void unusableInputChangesNothing();
};

void TestMedianKernel::matchesSortedWindows_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QRect>("roi"); // x1, y1, x2, y2 as left, top, right, bottom
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("values");

    const QRect full(QPoint(0, 0), QPoint(327, 251));
    const QRect inner(QPoint(4, 6), QPoint(323, 245));
    const QRect corner(QPoint(0, 0), QPoint(9, 7));
    const QRect farCorner(QPoint(320, 240), QPoint(327, 251));
    const QRect oneColumn(QPoint(100, 0), QPoint(100, 251));
    const QRect oneRow(QPoint(0, 125), QPoint(327, 125));
    const QRect onePixel(QPoint(50, 60), QPoint(50, 60));
    for (int size : {3, 5, 7, 9}) {
        QTest::addRow("%dx%d full sensor, distances", size, size)
            << 328 << 252 << full << size << int(Values::Distances);
        QTest::addRow("%dx%d full sensor, few levels", size, size)
            << 328 << 252 << full << size << int(Values::FewLevels);
        QTest::addRow("%dx%d full sensor, whole int range", size, size)
            << 328 << 252 << full << size << int(Values::Wide);
        QTest::addRow("%dx%d inner ROI", size, size) << 328 << 252 << inner << size << int(Values::Distances);
        QTest::addRow("%dx%d ROI in the top left corner", size, size)
            << 328 << 252 << corner << size << int(Values::Distances);
        QTest::addRow("%dx%d ROI in the bottom right corner", size, size)
            << 328 << 252 << farCorner << size << int(Values::Distances);
        QTest::addRow("%dx%d one column", size, size)
            << 328 << 252 << oneColumn << size << int(Values::FewLevels);
        QTest::addRow("%dx%d one row", size, size) << 328 << 252 << oneRow << size << int(Values::FewLevels);
        QTest::addRow("%dx%d one pixel", size, size)
            << 328 << 252 << onePixel << size << int(Values::Distances);
        QTest::addRow("%dx%d small sensor", size, size)
            << 168 << 72 << QRect(QPoint(0, 0), QPoint(167, 71)) << size << int(Values::Distances);
    }
    for (int size : {15, 31}) {
        QTest::addRow("%dx%d small sensor", size, size)
            << 168 << 72 << QRect(QPoint(2, 3), QPoint(160, 70)) << size << int(Values::Distances);
        QTest::addRow("%dx%d small sensor, few levels", size, size)
            << 168 << 72 << QRect(QPoint(0, 0), QPoint(167, 71)) << size << int(Values::FewLevels);
        QTest::addRow("%dx%d small sensor, one value far outside the others", size, size)
            << 168 << 72 << QRect(QPoint(0, 0), QPoint(167, 71)) << size << int(Values::OneOutlier);
    }
    const QRect small(QPoint(0, 0), QPoint(167, 71));
    for (int size : {7, 21, 31}) {
        QTest::addRow("%dx%d small sensor, 16-bit noise", size, size)
            << 168 << 72 << small << size << int(Values::Noise16);
        QTest::addRow("%dx%d small sensor, the widest range ranked", size, size)
            << 168 << 72 << small << size << int(Values::WidestRanked);
        QTest::addRow("%dx%d ROI at the bottom right edge", size, size)
            << 168 << 72 << QRect(QPoint(150, 50), QPoint(167, 71)) << size << int(Values::Distances);
    }
    QTest::addRow("7x7 full sensor, 16-bit noise") << 328 << 252 << full << 7 << int(Values::Noise16);
    QTest::addRow("ROI reaching past the sensor")
        << 168 << 72 << QRect(QPoint(-20, -3), QPoint(400, 300)) << 5 << int(Values::Distances);
}

void TestMedianKernel::matchesSortedWindows()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QRect, roi);
    QFETCH(int, size);
    QFETCH(int, values);

    const std::vector<int> original =
        randomField(columns, rows, Values(values), quint32(size * 1000 + values));
    std::vector<int> expected = original;
    referenceMedian(expected, columns, rows, roi.left(), roi.right(), roi.top(), roi.bottom(), size);
    std::vector<int> actual = original;
    MedianKernel kernel;
    kernel.apply(actual.data(), columns, rows, roi.left(), roi.right(), roi.top(), roi.bottom(), size);

    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            if (actual[c * rows + r] != expected[c * rows + r])
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): %3, sorted window gives %4")
                                     .arg(c)
                                     .arg(r)
                                     .arg(actual[c * rows + r])
                                     .arg(expected[c * rows + r])));
}

// The larger windows' pass is built for several instruction sets; the kernel uses the widest
// the processor has, so the narrower builds are run here directly.
void TestMedianKernel::everyRankPassBuildMatchesSortedWindows_data()
{
    QTest::addColumn<int>("instructions");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("values");

    const std::pair<MedianRankPass::Instructions, const char*> builds[] = {
        {MedianRankPass::Instructions::Widest, "widest"},
        {MedianRankPass::Instructions::Avx2, "AVX2 at most"},
        {MedianRankPass::Instructions::Baseline, "baseline"}};
    for (const auto& [instructions, name] : builds) {
        for (int size : {7, 31}) {
            QTest::addRow("%s, %dx%d, distances", name, size, size)
                << int(instructions) << size << int(Values::Distances);
            QTest::addRow("%s, %dx%d, 16-bit noise", name, size, size)
                << int(instructions) << size << int(Values::Noise16);
            QTest::addRow("%s, %dx%d, the widest range ranked", name, size, size)
                << int(instructions) << size << int(Values::WidestRanked);
        }
    }
}

void TestMedianKernel::everyRankPassBuildMatchesSortedWindows()
{
    QFETCH(int, instructions);
    QFETCH(int, size);
    QFETCH(int, values);

    const int columns = 168;
    const int rows = 72;
    const int h = size / 2;
    const std::vector<int> original = randomField(columns, rows, Values(values), quint32(size * 7 + values));
    std::vector<int> expected = original;
    referenceMedian(expected, columns, rows, 0, columns - 1, 0, rows - 1, size);
    std::vector<int> actual = original; // the pass writes only the interior
    MedianRankPass pass(static_cast<MedianRankPass::Instructions>(instructions));
    QVERIFY(pass.apply(original.data(), rows, h, columns - 1 - h, h, rows - 1 - h, size, actual.data()));
    QCOMPARE(actual, expected);
}

void TestMedianKernel::repeatedPassesReadThePreviousPass()
{
    // Also checks that a kernel reused across sizes and ROIs keeps no stale scratch contents.
    MedianKernel kernel;
    for (int size : {3, 5, 7, 9, 3}) {
        const std::vector<int> original = randomField(328, 252, Values::Distances, quint32(size));
        std::vector<int> expected = original;
        std::vector<int> actual = original;
        for (int pass = 0; pass < 3; ++pass) {
            referenceMedian(expected, 328, 252, 10, 300, 20, 231, size);
            kernel.apply(actual.data(), 328, 252, 10, 300, 20, 231, size);
        }
        QVERIFY2(actual == expected, qPrintable(QStringLiteral("size %1").arg(size)));
    }
}

void TestMedianKernel::everyOrderOfAWindowGivesItsMiddle_data()
{
    QTest::addColumn<int>("size");
    QTest::addRow("3x3") << 3;
    QTest::addRow("5x5") << 5;
}

void TestMedianKernel::everyOrderOfAWindowGivesItsMiddle()
{
    // One window holding a shuffled 0 ... s*s - 1: the middle is always s*s / 2. Many
    // shuffles reach every comparator of the networks in both directions.
    QFETCH(int, size);
    QRandomGenerator random(42);
    std::vector<int> values(static_cast<std::size_t>(size) * size);
    MedianKernel kernel;
    for (int round = 0; round < 20000; ++round) {
        for (int i = 0; i < size * size; ++i)
            values[i] = i;
        std::shuffle(values.begin(), values.end(), random);
        kernel.apply(values.data(), size, size, 0, size - 1, 0, size - 1, size);
        const int centre = (size / 2) * size + size / 2;
        if (values[centre] != size * size / 2)
            QFAIL(qPrintable(QStringLiteral("round %1 gives %2").arg(round).arg(values[centre])));
    }
}

void TestMedianKernel::everyZeroOneWindowGivesItsMajority_data()
{
    QTest::addColumn<int>("size");
    QTest::addRow("3x3") << 3;
    QTest::addRow("5x5") << 5;
}

void TestMedianKernel::everyZeroOneWindowGivesItsMajority()
{
    // A network of min/max operations that selects the middle of every 0/1 window selects it
    // of every window (0/1 principle). The passes sort each window column first, so the 0/1
    // windows whose columns are already sorted (a count of zeros per column) are all of them.
    QFETCH(int, size);
    const int count = size * size;
    std::vector<int> zeros(size, 0);
    std::vector<int> window(count);
    MedianKernel kernel;
    for (;;) {
        int ones = 0;
        for (int c = 0; c < size; ++c) {
            for (int r = 0; r < size; ++r) {
                window[c * size + r] = r < zeros[c] ? 0 : 1;
                ones += window[c * size + r];
            }
        }
        kernel.apply(window.data(), size, size, 0, size - 1, 0, size - 1, size);
        const int expected = ones > count / 2 ? 1 : 0;
        if (window[(size / 2) * size + size / 2] != expected)
            QFAIL("a 0/1 window gives the wrong middle");
        int c = 0;
        while (c < size && ++zeros[c] > size)
            zeros[c++] = 0;
        if (c == size)
            break;
    }
}

void TestMedianKernel::isolatedSpikeIsRemoved()
{
    std::vector<int> field(328 * 252, 1000);
    field[100 * 252 + 100] = 5000;
    MedianKernel kernel;
    kernel.apply(field.data(), 328, 252, 0, 327, 0, 251, 3);
    QCOMPARE(field[100 * 252 + 100], 1000);
    QVERIFY(std::all_of(field.begin(), field.end(), [](int v) { return v == 1000; }));
}

void TestMedianKernel::sizeFromAFileIsBounded_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bounded");
    QTest::addRow("negative") << -7 << 3;
    QTest::addRow("zero") << 0 << 3;
    QTest::addRow("one") << 1 << 3;
    QTest::addRow("two") << 2 << 3;
    QTest::addRow("three") << 3 << 3;
    QTest::addRow("four becomes the next odd size") << 4 << 5;
    QTest::addRow("five") << 5 << 5;
    QTest::addRow("eight") << 8 << 9;
    QTest::addRow("fifteen") << 15 << 15;
    QTest::addRow("seventeen") << 17 << 17;
    QTest::addRow("the largest") << 31 << 31;
    QTest::addRow("thirty-two") << 32 << 31;
    QTest::addRow("absurd") << 1000000 << 31;
    QTest::addRow("largest int") << std::numeric_limits<int>::max() << 31;
}

void TestMedianKernel::sizeFromAFileIsBounded()
{
    QFETCH(int, size);
    QFETCH(int, bounded);
    QCOMPARE(MedianKernel::boundedSize(size), bounded);

    // The pass itself uses the bounded size.
    const std::vector<int> original = randomField(168, 72, Values::Distances, 7);
    std::vector<int> expected = original;
    referenceMedian(expected, 168, 72, 0, 167, 0, 71, bounded);
    std::vector<int> actual = original;
    MedianKernel kernel;
    kernel.apply(actual.data(), 168, 72, 0, 167, 0, 71, size);
    QVERIFY(actual == expected);
}

void TestMedianKernel::unusableInputChangesNothing_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QRect>("roi");
    QTest::addColumn<int>("size");
    QTest::addRow("sensor narrower than the window") << 4 << 40 << QRect(QPoint(0, 0), QPoint(3, 39)) << 5;
    QTest::addRow("sensor lower than the window") << 40 << 2 << QRect(QPoint(0, 0), QPoint(39, 1)) << 3;
    QTest::addRow("ROI inside the border only") << 40 << 40 << QRect(QPoint(0, 0), QPoint(1, 39)) << 5;
    QTest::addRow("ROI turned inside out") << 40 << 40 << QRect(QPoint(30, 30), QPoint(10, 10)) << 3;
    QTest::addRow("ROI outside the sensor") << 40 << 40 << QRect(QPoint(50, 50), QPoint(60, 60)) << 3;
    QTest::addRow("no columns") << 0 << 40 << QRect(QPoint(0, 0), QPoint(0, 39)) << 3;
}

void TestMedianKernel::unusableInputChangesNothing()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QRect, roi);
    QFETCH(int, size);
    const std::vector<int> original = randomField(std::max(columns, 1), rows, Values::Distances, 3);
    std::vector<int> field = original;
    MedianKernel kernel;
    kernel.apply(field.data(), columns, rows, roi.left(), roi.right(), roi.top(), roi.bottom(), size);
    QVERIFY(field == original);
    kernel.apply(nullptr, columns, rows, roi.left(), roi.right(), roi.top(), roi.bottom(), size);
}

KESTRANE_TEST_MAIN(TestMedianKernel)
#include "tst_mediankernel.moc"
