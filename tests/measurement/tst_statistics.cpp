#include "measurement/MovingWindow.h"
#include "measurement/StatisticsBuffer.h"
#include "support/TestMain.h"

#include <QtTest>

#include <cmath>

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void knownSequences_data();
    void knownSequences();
    void windowDropsTheOldest();
    void movingWindow_data();
    void movingWindow();
    void movingWindowLengthAndRestart();
};

void TestStatistics::knownSequences_data()
{
    QTest::addColumn<QVector<double>>("samples");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("deviation");

    QTest::addRow("no sample") << QVector<double>{} << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::addRow("one sample gives zeros") << QVector<double>{1234} << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::addRow("two samples: sigma |a-b|/sqrt 2")
        << QVector<double>{10, 13} << 11.5 << 10.0 << 13.0 << 3 / std::sqrt(2.0);
    QTest::addRow("sample, not population, deviation")
        << QVector<double>{2, 4, 4, 4, 5, 5, 7, 9} << 5.0 << 2.0 << 9.0 << std::sqrt(32.0 / 7);
    QTest::addRow("large close values stay exact") << QVector<double>{299999, 300001, 299999, 300001}
                                                   << 300000.0 << 299999.0 << 300001.0 << std::sqrt(4.0 / 3);
    QTest::addRow("negative values")
        << QVector<double>{-2048, 2047, 0} << -1.0 / 3 << -2048.0 << 2047.0
        << std::sqrt((std::pow(-2048 + 1.0 / 3, 2) + std::pow(2047 + 1.0 / 3, 2) + std::pow(1.0 / 3, 2)) / 2);
}

void TestStatistics::knownSequences()
{
    QFETCH(QVector<double>, samples);
    QFETCH(double, mean);
    QFETCH(double, deviation);
    StatisticsBuffer buffer(100);
    for (double s : samples)
        buffer.append(s);
    QCOMPARE(buffer.count(), samples.size());
    QVERIFY(qFuzzyCompare(1 + buffer.mean(), 1 + mean));
    QTEST(buffer.minimum(), "minimum");
    QTEST(buffer.maximum(), "maximum");
    QVERIFY(qFuzzyCompare(1 + buffer.standardDeviation(), 1 + deviation));
}

void TestStatistics::windowDropsTheOldest()
{
    StatisticsBuffer buffer(100);
    // The first sample is an outlier: the 101st append drops it.
    buffer.append(5000);
    for (int i = 1; i <= 100; ++i)
        buffer.append(i);
    QCOMPARE(buffer.count(), 100);
    QCOMPARE(buffer.at(0), 1.0);
    QCOMPARE(buffer.at(99), 100.0);
    QCOMPARE(buffer.maximum(), 100.0);
    QCOMPARE(buffer.mean(), 50.5);
    buffer.clear();
    QCOMPARE(buffer.count(), 0);
    QCOMPARE(buffer.mean(), 0.0);
}

void TestStatistics::movingWindow_data()
{
    QTest::addColumn<QVector<QVector<int>>>("frames");
    QTest::addColumn<QVector<int>>("averages");
    QTest::addColumn<int>("overall");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");

    QTest::addRow("1, 2, 2 averages to 2 (2.17 truncated)")
        << QVector<QVector<int>>{{1}, {2}, {2}} << QVector<int>{2} << 2 << 1 << 2;
    QTest::addRow("averages 1 and 2: overall 1.5 rounds away from zero")
        << QVector<QVector<int>>{{1, 2}, {1, 2}} << QVector<int>{1, 2} << 2 << 1 << 2;
    QTest::addRow("half rounds up per pixel")
        << QVector<QVector<int>>{{1, 10}, {2, 20}} << QVector<int>{2, 15} << 9 << 1 << 20;
    QTest::addRow("pixel count change restarts with the new frame")
        << QVector<QVector<int>>{{100, 100}, {100, 100}, {7, 8, 9}} << QVector<int>{7, 8, 9} << 8 << 7 << 9;
}

void TestStatistics::movingWindow()
{
    QFETCH(QVector<QVector<int>>, frames);
    MovingWindow window;
    for (const QVector<int>& frame : frames)
        window.append(frame);
    window.compute();
    QTEST(window.averages(), "averages");
    QTEST(window.overallAverage(), "overall");
    QTEST(window.minimum(), "minimum");
    QTEST(window.maximum(), "maximum");
    QVector<QPointF> points;
    window.series(points);
    QCOMPARE(points.size(), window.averages().size() + 1);
    QCOMPARE(points.first(), QPointF(-0.5, window.averages().first()));
    QCOMPARE(points.last(), QPointF(window.averages().size() - 0.5, window.averages().last()));
}

void TestStatistics::movingWindowLengthAndRestart()
{
    MovingWindow window;
    QCOMPARE(int(window.length()), 10);
    for (int f = 1; f <= 11; ++f)
        window.append({f});
    window.compute();
    // The eleventh frame dropped the first: frames 2 ... 11.
    QCOMPARE(window.frameCount(), 10);
    QCOMPARE(window.minimum(), 2);
    QCOMPARE(window.maximum(), 11);
    window.setLength(5);
    window.compute();
    QCOMPARE(window.frameCount(), 5);
    QCOMPARE(window.minimum(), 7);
    QCOMPARE(window.averages(), QVector<int>{9});
    window.append({12});
    window.compute();
    QCOMPARE(window.minimum(), 8);
    QCOMPARE(window.maximum(), 12);
    window.setLength(300); // low 8 bits: 44
    QCOMPARE(int(window.length()), 44);
    window.clear();
    QCOMPARE(window.frameCount(), 0);
    QCOMPARE(window.pixelCount(), 0);
}

KESTRANE_TEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
