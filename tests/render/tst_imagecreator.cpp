#include "frames/DataPixelfield.h"
#include "render/ImageColorizer.h"
#include "render/ZelImageCreator.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

class TestImageCreator : public QObject
{
    Q_OBJECT

private slots:
    void paintsEveryPixelByTheMappingRule_data();
    void paintsEveryPixelByTheMappingRule();
    void valuesAboveTheRange_data();
    void valuesAboveTheRange();
    void legendFollowsTheMapping();
    void clearAndRebuild();
    void smallerFieldThanThePicture();
};

void TestImageCreator::paintsEveryPixelByTheMappingRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addRow("grayscale 0..2047") << 0 << 0 << 2047;
    QTest::addRow("forward ramp 0..4095") << 1 << 0 << 4095;
    QTest::addRow("reversed ramp 800..30000") << 2 << 800 << 30000;
    QTest::addRow("grayscale DCS differences") << 0 << 0 << 8191;
}

// Every pixel of the picture is the colour of its field entry, with entries above the range
// drawn as low amplitude.
void TestImageCreator::paintsEveryPixelByTheMappingRule()
{
    QFETCH(int, type);
    QFETCH(int, min);
    QFETCH(int, max);

    Settings settings;
    DataPixelfield field(&settings);
    QRandomGenerator random(7);
    const int specials[] = {-1, 65300, 65400, 65500, max + 1, min - 1, min, max};
    for (int c = 0; c < field.width(); ++c) {
        for (int r = 0; r < field.height(); ++r) {
            const bool special = random.bounded(10) == 0;
            field.setValue(c, r, special ? specials[random.bounded(8)] : random.bounded(min, max + 1));
        }
    }
    ZelImageCreator creator(&settings);
    const QImage& image = creator.createImage(field.data(), min, max, type);
    QCOMPARE(image.size(), QSize(328, 252));

    ImageColorizer reference;
    reference.setRange(min, max);
    for (int c = 0; c < field.width(); ++c) {
        for (int r = 0; r < field.height(); ++r) {
            int v = field.value(c, r);
            if (v > max && v != 65300 && v != 65400 && v != 65500)
                v = 65300;
            const QRgb expected = reference.color(v, type).rgb();
            if (image.pixel(c, r) != expected)
                QFAIL(qPrintable(
                    QStringLiteral("pixel (%1, %2) of entry %3").arg(c).arg(r).arg(field.value(c, r))));
        }
    }
}

void TestImageCreator::valuesAboveTheRange_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("value");
    QTest::addColumn<QRgb>("expected");
    QTest::addRow("4096 in grayscale is white") << 0 << 4096 << QRgb(0xffffffff);
    QTest::addRow("4096 on the ramp is black") << 1 << 4096 << QRgb(0xff000000);
    QTest::addRow("4096 on the reversed ramp is black") << 2 << 4096 << QRgb(0xff000000);
    QTest::addRow("saturated keeps pink") << 0 << 65400 << ImageColorizer::kPink;
    QTest::addRow("ADC code keeps purple") << 1 << 65500 << ImageColorizer::kPurple;
    QTest::addRow("no data is black") << 0 << -1 << QRgb(0xff000000);
}

void TestImageCreator::valuesAboveTheRange()
{
    QFETCH(int, type);
    QFETCH(int, value);
    QFETCH(QRgb, expected);
    Settings settings;
    DataPixelfield field(&settings);
    field.clear();
    field.setValue(10, 20, value);
    ZelImageCreator creator(&settings);
    QCOMPARE(creator.createImage(field, 0, 4095, type).pixel(10, 20), expected);
}

void TestImageCreator::legendFollowsTheMapping()
{
    Settings settings;
    ZelImageCreator creator(&settings);
    QVERIFY(creator.legend().isNull());
    DataPixelfield field(&settings);
    creator.createImage(field, 0, 100, 0);
    QCOMPARE(creator.legend().size(), QSize(1, 255));
    creator.createImage(field, 0, 100, 2);
    QCOMPARE(creator.legend().size(), QSize(1, 30000));
    // The colour of the range maximum is at the top: blue (far) on the distance view's ramp.
    QCOMPARE(creator.legend().pixel(0, 0), creator.colorizer()->legend(2).pixel(0, 0));
    QVERIFY(qBlue(creator.legend().pixel(0, 0)) > qRed(creator.legend().pixel(0, 0)));
    creator.createImage(field, 0, 100, 1);
    QVERIFY(qRed(creator.legend().pixel(0, 0)) > qBlue(creator.legend().pixel(0, 0)));
}

void TestImageCreator::clearAndRebuild()
{
    Settings settings;
    ZelImageCreator creator(&settings);
    DataPixelfield field(&settings);
    field.clear();
    creator.createImage(field, 0, 10, 0);
    QCOMPARE(creator.image().pixel(0, 0), QRgb(0xff000000));
    QCOMPARE(creator.clearImage().pixel(0, 0), QRgb(0xffffffff));

    settings.roi()->setChipType(4);
    creator.rebuild();
    QCOMPARE(creator.image().size(), QSize(168, 72));
}

// The picture follows the sensor size as soon as the chip is known. A field of the large
// sensor painted after that (one not decoded since) paints only what both share and never
// reads past the picture.
void TestImageCreator::smallerFieldThanThePicture()
{
    Settings settings;
    ZelImageCreator creator(&settings);
    DataPixelfield large(&settings);
    large.clear();
    large.setValue(167, 71, 65400);
    large.setValue(327, 251, 65400);
    settings.roi()->setChipType(4);
    QCOMPARE(creator.image().size(), QSize(168, 72));
    const QImage& image = creator.createImage(large, 0, 100, 0);
    QCOMPARE(image.size(), QSize(168, 72));
    QCOMPARE(image.pixel(167, 71), ImageColorizer::kPink);
}

KESTRANE_TEST_MAIN(TestImageCreator)
#include "tst_imagecreator.moc"
