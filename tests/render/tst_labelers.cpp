#include "render/AxisLabeler.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QtTest>

namespace {

void selectFrequency(Settings& settings, int hz)
{
    settings.modulation()->addFrequency(QStringLiteral("test"), hz);
    settings.modulation()->setFrequencyIndex(settings.modulation()->frequenciesHz().size() - 1);
}

} // namespace

class TestLabelers : public QObject
{
    Q_OBJECT

private slots:
    void cornerLabels_data();
    void cornerLabels();
    void positionConversion_data();
    void positionConversion();
    void conversionIsItsOwnInverse();
    void distanceUnits_data();
    void distanceUnits();
    void rangesFollowTheFrequency();
    void undefinedFrequencyKeepsDefinedRanges_data();
    void undefinedFrequencyKeepsDefinedRanges();
};

void TestLabelers::cornerLabels_data()
{
    QTest::addColumn<int>("chip");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QStringList>("labels"); // top, bottom, left, right

    QTest::addRow("no flips") << 2 << false << false << QStringList{"0", "251", "0", "327"};
    QTest::addRow("both flips") << 2 << true << true << QStringList{"251", "0", "327", "0"};
    QTest::addRow("vertical only") << 2 << false << true << QStringList{"251", "0", "0", "327"};
    QTest::addRow("small sensor, horizontal") << 4 << true << false << QStringList{"0", "71", "167", "0"};
}

void TestLabelers::cornerLabels()
{
    QFETCH(int, chip);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    QFETCH(QStringList, labels);

    Settings settings;
    settings.roi()->setChipType(chip);
    settings.transformation()->setHorizontalFlip(horizontal);
    settings.transformation()->setVerticalFlip(vertical);
    AxisLabeler labeler(&settings);
    QCOMPARE(
        (QStringList{labeler.topLabel(), labeler.bottomLabel(), labeler.leftLabel(), labeler.rightLabel()}),
        labels);
}

void TestLabelers::positionConversion_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QPoint>("shown");
    QTest::addColumn<QPoint>("clamped");
    QTest::addColumn<QPoint>("unclamped");

    QTest::addRow("outside, no flips")
        << false << false << QPoint(400, -5) << QPoint(327, 0) << QPoint(400, -5);
    QTest::addRow("inside, no flips") << false << false << QPoint(10, 20) << QPoint(10, 20) << QPoint(10, 20);
    QTest::addRow("both flips") << true << true << QPoint(10, 20) << QPoint(317, 231) << QPoint(317, 231);
    QTest::addRow("outside, flipped") << true << true << QPoint(-3, 260) << QPoint(327, 0) << QPoint(330, -9);
}

void TestLabelers::positionConversion()
{
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    QFETCH(QPoint, shown);
    QFETCH(QPoint, clamped);
    QFETCH(QPoint, unclamped);

    Settings settings;
    settings.transformation()->setHorizontalFlip(horizontal);
    settings.transformation()->setVerticalFlip(vertical);
    AxisLabeler labeler(&settings);
    QCOMPARE(labeler.toSensor(shown.x(), shown.y()), clamped);
    QCOMPARE(labeler.toSensorUnclamped(shown.x(), shown.y()), unclamped);
}

void TestLabelers::conversionIsItsOwnInverse()
{
    Settings settings;
    settings.transformation()->setHorizontalFlip(true);
    settings.transformation()->setVerticalFlip(true);
    AxisLabeler labeler(&settings);
    for (const QPoint& p : {QPoint(0, 0), QPoint(327, 251), QPoint(100, 7)}) {
        const QPoint sensor = labeler.toSensor(p.x(), p.y());
        QCOMPARE(labeler.toSensor(sensor.x(), sensor.y()), p);
    }
}

void TestLabelers::distanceUnits_data()
{
    QTest::addColumn<int>("frequencyHz");
    QTest::addColumn<QString>("conversion");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("expected");

    QTest::addRow("10 MHz: 30000 LSB is the range") << 10000000 << "cm" << 30000 << 1500;
    QTest::addRow("10 MHz: just past 30000 truncates") << 10000000 << "cm" << 30001 << 1500;
    QTest::addRow("10 MHz: beyond the range") << 10000000 << "cm" << 30020 << -1;
    QTest::addRow("10 MHz: no data") << 10000000 << "cm" << -1 << -1;
    QTest::addRow("10 MHz: saturated") << 10000000 << "cm" << 65400 << -1;
    QTest::addRow("10 MHz: cm to LSB") << 10000000 << "toLsb" << 150 << 3000;
    QTest::addRow("10 MHz: mm") << 10000000 << "mm" << 15000 << 7500;
    QTest::addRow("10 MHz: mm at the range") << 10000000 << "mm" << 30000 << 15000;
    QTest::addRow("10 MHz: mm just past the range") << 10000000 << "mm" << 30002 << -1;
    QTest::addRow("20 MHz: half the range") << 20000000 << "cm" << 15000 << 375;
    QTest::addRow("20 MHz: range") << 20000000 << "cm" << 30000 << 750;
    QTest::addRow("20 MHz: beyond") << 20000000 << "cm" << 30040 << -1;
    QTest::addRow("20 MHz: cm to LSB") << 20000000 << "toLsb" << 75 << 3000;
    QTest::addRow("20 MHz: low amplitude") << 20000000 << "mm" << 65300 << -1;
}

void TestLabelers::distanceUnits()
{
    QFETCH(int, frequencyHz);
    QFETCH(QString, conversion);
    QFETCH(int, input);
    QFETCH(int, expected);

    Settings settings;
    selectFrequency(settings, frequencyHz);
    DistanceLabeler labeler(&settings);
    int result = 0;
    if (conversion == QLatin1String("cm"))
        result = labeler.lsbToCm(input);
    else if (conversion == QLatin1String("mm"))
        result = labeler.lsbToMm(input);
    else
        result = labeler.cmToLsb(input);
    QCOMPARE(result, expected);
}

void TestLabelers::rangesFollowTheFrequency()
{
    Settings settings;
    DistanceLabeler labeler(&settings);
    QCOMPARE(labeler.rangeCm(), 1500);
    QCOMPARE(labeler.rangeMm(), 15000);
    selectFrequency(settings, 5000000);
    QCOMPARE(labeler.updateRangeCm(), 3000);
    QCOMPARE(labeler.updateRangeMm(), 30000);
    settings.setSpeedOfLight(149896229.0);
    selectFrequency(settings, 20000000);
    QCOMPARE(labeler.updateRangeMm(), 7494);
}

// After an offline start the frequency list is empty; a server may also report a frequency of
// 0 or the speed of light may read 0. The conversions stay defined: no division by zero and no
// out-of-range float conversion.
void TestLabelers::undefinedFrequencyKeepsDefinedRanges_data()
{
    QTest::addColumn<int>("frequencyHz"); // -1: empty list
    QTest::addColumn<double>("speedOfLight");

    QTest::addRow("empty list") << -1 << 150000000.0;
    QTest::addRow("zero frequency") << 0 << 150000000.0;
    QTest::addRow("negative frequency") << -5 << 150000000.0;
    QTest::addRow("zero speed of light") << 10000000 << 0.0;
    QTest::addRow("absurd speed of light") << 1 << 1e300;
    QTest::addRow("not a number") << 10000000 << std::nan("");
}

void TestLabelers::undefinedFrequencyKeepsDefinedRanges()
{
    QFETCH(int, frequencyHz);
    QFETCH(double, speedOfLight);

    Settings settings;
    if (frequencyHz != -1)
        selectFrequency(settings, frequencyHz);
    settings.setSpeedOfLight(speedOfLight);
    DistanceLabeler labeler(&settings);
    const int rangeCm = labeler.updateRangeCm();
    const int rangeMm = labeler.updateRangeMm();
    QVERIFY(rangeCm >= 1);
    QVERIFY(rangeMm >= 1);
    QVERIFY(labeler.lsbToCm(30000) <= rangeCm);
    QVERIFY(labeler.lsbToMm(15000) <= rangeMm);
    const int lsb = labeler.cmToLsb(100);
    QVERIFY(lsb >= 0);
}

KESTRANE_TEST_MAIN(TestLabelers)
#include "tst_labelers.moc"
