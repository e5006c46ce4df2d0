#include "frames/DataPixelfield.h"
#include "render/EdgeFilter.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Sets the column (or row) of values starting at (column, row), going down (or right).
void setRun(DataPixelfield& field, int column, int row, bool down, const QVector<int>& values)
{
    for (int i = 0; i < values.size(); ++i)
        field.setValue(down ? column : column + i, down ? row + i : row, values[i]);
}

QVector<int> runOf(const DataPixelfield& field, int column, int row, bool down, int count)
{
    QVector<int> values;
    for (int i = 0; i < count; ++i)
        values.append(field.value(down ? column : column + i, down ? row + i : row));
    return values;
}

// The edge step as a literal walk with one run counter per pass.
std::vector<int> countedEdgeStep(std::vector<int> d, int rows, int x1, int x2, int y1, int y2, int t, int v)
{
    auto at = [&d, rows](int c, int r) -> int& { return d[std::size_t(c) * rows + r]; };
    int n = 0;
    for (int c = x1; c < x2; ++c) {
        for (int r = y1; r < y2; ++r) {
            if (std::abs(at(c, r) - at(c, r + 1)) > t) {
                if (++n >= 2)
                    at(c, r) = v;
            } else {
                n = 0;
            }
        }
    }
    n = 0;
    for (int r = y1; r < y2; ++r) {
        for (int c = x1; c < x2; ++c) {
            if (std::abs(at(c, r) - at(c + 1, r)) > t) {
                if (++n >= 2)
                    at(c, r) = v;
            } else {
                n = 0;
            }
        }
    }
    return d;
}

} // namespace

class TestEdgeFilter : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void runInAColumn();
    void runCarriesIntoTheNextColumn();
    void runCarriesIntoTheNextRow();
    void againstRunCounter_data();
    void againstRunCounter();
    void switchedOff();
    void threshold_data();
    void threshold();
    void roiPastTheSensor();

private:
    std::unique_ptr<Settings> m_settings;
};

void TestEdgeFilter::init()
{
    m_settings = std::make_unique<Settings>();
    m_settings->setEdgeDetection(true);
    // No frequency list (offline start): the threshold is the second value as it is.
    m_settings->setEdgeDetectionThreshold(50, true);
    m_settings->settings3D()->setDistanceMin(7);
}

void TestEdgeFilter::runInAColumn()
{
    // Steps 100, 100, 100, 10 down the first ROI column: the pixel before the first large
    // step stays, those before the next two take the marker, the small step ends the run.
    m_settings->roi()->setRoi(10, 11, 20, 24);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    distance.clear();
    setRun(distance, 10, 20, true, {100, 200, 300, 400, 410});
    // The last ROI column is only read: with what the first becomes, no horizontal step is
    // large, and its own steps change nothing.
    setRun(distance, 11, 20, true, {100, 7, 7, 400, 410});
    EdgeFilter filter(m_settings.get());
    QCOMPARE(filter.threshold(), 50);
    filter.detectEdges(distance, amplitude);
    QCOMPARE(runOf(distance, 10, 20, true, 5), (QVector<int>{100, 7, 7, 400, 410}));
    QCOMPARE(runOf(distance, 11, 20, true, 5), (QVector<int>{100, 7, 7, 400, 410}));
    QCOMPARE(runOf(filter.verticalSteps(), 10, 20, true, 4), (QVector<int>{100, 100, 100, 10}));
    QCOMPARE(runOf(filter.horizontalSteps(), 10, 20, true, 4), (QVector<int>{0, 0, 0, 0}));
    // Outside the ROI nothing changes.
    QCOMPARE(distance.value(12, 21), -1);
    QCOMPARE(distance.value(10, 25), -1);
}

void TestEdgeFilter::runCarriesIntoTheNextColumn()
{
    // The counter is set once per pass: a run that ends a column goes on at the top of the
    // next one.
    m_settings->roi()->setRoi(10, 12, 0, 2);
    m_settings->settings3D()->setDistanceMin(0);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    setRun(distance, 10, 0, true, {0, 100, 200});
    setRun(distance, 11, 0, true, {300, 400, 500});
    setRun(distance, 12, 0, true, {0, 0, 0});
    EdgeFilter filter(m_settings.get());
    filter.detectEdges(distance, amplitude);
    QCOMPARE(runOf(distance, 10, 0, true, 3), (QVector<int>{0, 0, 200}));
    QCOMPARE(runOf(distance, 11, 0, true, 3), (QVector<int>{0, 0, 500}));
    QCOMPARE(runOf(distance, 12, 0, true, 3), (QVector<int>{0, 0, 0}));
}

void TestEdgeFilter::runCarriesIntoTheNextRow()
{
    // Horizontal steps of 100 along rows 10 and 11, small vertical steps: the run of row 10
    // goes on at the start of row 11; the horizontal pass sees the vertical pass's output.
    m_settings->roi()->setRoi(0, 2, 10, 12);
    m_settings->settings3D()->setDistanceMin(-5);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    setRun(distance, 0, 10, false, {0, 100, 200});
    setRun(distance, 0, 11, false, {10, 110, 210});
    setRun(distance, 0, 12, false, {10, 110, 210});
    EdgeFilter filter(m_settings.get());
    filter.detectEdges(distance, amplitude);
    QCOMPARE(runOf(distance, 0, 10, false, 3), (QVector<int>{0, -5, 200}));
    QCOMPARE(runOf(distance, 0, 11, false, 3), (QVector<int>{-5, -5, 210}));
    QCOMPARE(runOf(distance, 0, 12, false, 3), (QVector<int>{10, 110, 210}));
}

void TestEdgeFilter::againstRunCounter_data()
{
    QTest::addColumn<QRect>("roi");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("noise"); // steps of a few LSB to this many
    QTest::addRow("whole sensor, noisy") << QRect(QPoint(0, 0), QPoint(327, 251)) << 20 << 60;
    QTest::addRow("default ROI, few edges") << QRect(QPoint(4, 6), QPoint(323, 245)) << 50 << 40;
    QTest::addRow("narrow ROI") << QRect(QPoint(100, 10), QPoint(102, 240)) << 20 << 60;
    QTest::addRow("flat ROI") << QRect(QPoint(5, 100), QPoint(300, 101)) << 20 << 60;
    QTest::addRow("one column") << QRect(QPoint(7, 10), QPoint(7, 200)) << 0 << 60;
    QTest::addRow("threshold zero") << QRect(QPoint(4, 6), QPoint(323, 245)) << 0 << 3;
    QTest::addRow("negative threshold") << QRect(QPoint(4, 6), QPoint(60, 45)) << -1 << 3;
}

void TestEdgeFilter::againstRunCounter()
{
    QFETCH(QRect, roi);
    QFETCH(int, threshold);
    QFETCH(int, noise);
    m_settings->roi()->setRoi(roi.left(), roi.right(), roi.top(), roi.bottom());
    m_settings->setEdgeDetectionThreshold(threshold, true);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    QRandomGenerator random(quint32(threshold * 31 + noise));
    for (int i = 0; i < distance.cellCount(); ++i) {
        const int pick = random.bounded(100);
        distance.cells()[i] = pick < 3 ? 65300 : (pick < 5 ? -1 : 5000 + random.bounded(noise));
    }
    const std::vector<int> expected =
        countedEdgeStep(std::vector<int>(distance.cells(), distance.cells() + distance.cellCount()),
                        distance.height(), roi.left(), roi.right(), roi.top(), roi.bottom(), threshold, 7);
    EdgeFilter filter(m_settings.get());
    filter.detectEdges(distance, amplitude);
    for (int c = 0; c < distance.width(); ++c)
        for (int r = 0; r < distance.height(); ++r)
            if (distance.value(c, r) != expected[std::size_t(c) * distance.height() + r])
                QFAIL(qPrintable(QStringLiteral("(%1, %2) holds %3, expected %4")
                                     .arg(c)
                                     .arg(r)
                                     .arg(distance.value(c, r))
                                     .arg(expected[std::size_t(c) * distance.height() + r])));
}

void TestEdgeFilter::switchedOff()
{
    m_settings->setEdgeDetection(false);
    m_settings->roi()->setRoi(10, 11, 20, 24);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    setRun(distance, 10, 20, true, {100, 200, 300, 400, 410});
    EdgeFilter filter(m_settings.get());
    filter.detectEdges(distance, amplitude);
    QCOMPARE(runOf(distance, 10, 20, true, 5), (QVector<int>{100, 200, 300, 400, 410}));
}

void TestEdgeFilter::threshold_data()
{
    QTest::addColumn<QVector<int>>("frequencies");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("expected");
    QTest::addRow("no list after an offline start") << QVector<int>{} << 1 << 55 << 55;
    QTest::addRow("first frequency") << QVector<int>{20000000, 10000000} << 0 << 55 << 55;
    QTest::addRow("half the first frequency, truncated") << QVector<int>{20000000, 10000000} << 1 << 55 << 27;
    QTest::addRow("negative value truncates toward zero")
        << QVector<int>{20000000, 10000000} << 1 << -55 << -27;
    QTest::addRow("first frequency zero") << QVector<int>{0, 10000000} << 1 << 55 << 55;
    QTest::addRow("current frequency zero") << QVector<int>{20000000, 0} << 1 << 55 << 55;
    QTest::addRow("scaled beyond int") << QVector<int>{1, 20000000} << 1 << INT_MAX << INT_MAX;
}

void TestEdgeFilter::threshold()
{
    QFETCH(QVector<int>, frequencies);
    QFETCH(int, index);
    QFETCH(int, second);
    QFETCH(int, expected);
    for (int hz : frequencies)
        m_settings->modulation()->addFrequency(QString::number(hz / 1000000) + QLatin1String(" MHz"), hz);
    m_settings->modulation()->setFrequencyIndex(index);
    // Only the second value counts; set last, it overrides the one derived from the first.
    m_settings->setEdgeDetectionThreshold(999, false);
    m_settings->setEdgeDetectionThreshold(second, true);
    EdgeFilter filter(m_settings.get());
    QCOMPARE(filter.threshold(), expected);
}

void TestEdgeFilter::roiPastTheSensor()
{
    // A ROI from a file beyond the sensor stays on the field (the sanitizers watch).
    m_settings->roi()->setRoi(-4, 500, -3, 400);
    DataPixelfield distance(m_settings.get());
    DataPixelfield amplitude(m_settings.get());
    for (int c = 0; c < distance.width(); ++c)
        for (int r = 0; r < distance.height(); ++r)
            distance.setValue(c, r, (c + r) % 2 ? 1000 : 0);
    EdgeFilter filter(m_settings.get());
    filter.detectEdges(distance, amplitude);
    // Every step is large: all but the first pixel of the first column, the last column and
    // the last row take the marker.
    QCOMPARE(distance.value(0, 0), 0);
    QCOMPARE(distance.value(0, 1), 7);
    QCOMPARE(distance.value(200, 100), 7);
    QCOMPARE(distance.value(327, 100), 1000 * ((327 + 100) % 2));
    QCOMPARE(distance.value(100, 251), 1000 * ((100 + 251) % 2));
}

KESTRANE_TEST_MAIN(TestEdgeFilter)
#include "tst_edgefilter.moc"
