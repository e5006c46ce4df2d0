#include "render/ImageColorizer.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <vector>

namespace {

constexpr QRgb kDarkBlue = 0xff00007f;
constexpr QRgb kDarkRed = 0xffbf0000;

QString rgbText(QRgb value)
{
    return QStringLiteral("(%1, %2, %3, alpha %4)")
        .arg(qRed(value))
        .arg(qGreen(value))
        .arg(qBlue(value))
        .arg(qAlpha(value));
}

// The painting rule of the image creator, from the reference colour of one entry.
QRgb paintedRgb(const ImageColorizer& colorizer, int value, int type)
{
    const bool status = value == 65300 || value == 65400 || value == 65500;
    if (value > colorizer.rangeMax() && !status)
        value = 65300;
    return colorizer.color(value, type).rgb();
}

} // namespace

class TestImageColorizer : public QObject
{
    Q_OBJECT

private slots:
    void rampEntries_data();
    void rampEntries();
    void legendsPutTheRangeMaximumOnTop_data();
    void legendsPutTheRangeMaximumOnTop();
    void colours_data();
    void colours();
    void scanLinesMatchTheReference_data();
    void scanLinesMatchTheReference();
    void paintedFieldFollowsThePaintingRule_data();
    void paintedFieldFollowsThePaintingRule();
    void paintingIntoAnUnsuitableImageIsRefused();
};

void TestImageColorizer::rampEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addRow("0 dark blue") << 0 << 0 << 0 << 127;
    QTest::addRow("3750 blue") << 3750 << 0 << 0 << 255;
    QTest::addRow("7500") << 7500 << 0 << 127 << 255;
    QTest::addRow("11250 cyan") << 11250 << 0 << 255 << 255;
    QTest::addRow("15000") << 15000 << 127 << 255 << 127;
    QTest::addRow("18750 yellow") << 18750 << 255 << 255 << 0;
    QTest::addRow("22500") << 22500 << 255 << 170 << 0;
    QTest::addRow("26250") << 26250 << 255 << 85 << 0;
    QTest::addRow("29999 dark red") << 29999 << 191 << 0 << 0;
}

void TestImageColorizer::rampEntries()
{
    QFETCH(int, index);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    const QRgb expected = qRgb(red, green, blue);
    ImageColorizer colorizer;
    QCOMPARE(rgbText(colorizer.rampColor(index).rgb()), rgbText(expected));
    QCOMPARE(colorizer.rampColor(index).alpha(), 255);
    QCOMPARE(rgbText(ImageColorizer::rampRule(30000, index)), rgbText(expected));
    // The forward ramp over 0 ... 30000 shows entry i at value i + 1.
    colorizer.setRange(0, 30000);
    QCOMPARE(rgbText(colorizer.color(index + 1, 1).rgb()), rgbText(expected));
}

void TestImageColorizer::legendsPutTheRangeMaximumOnTop_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("height");
    QTest::addColumn<QRgb>("top");
    QTest::addColumn<QRgb>("bottom");
    QTest::addRow("forward ramp: red on top") << 1 << 30000 << kDarkRed << kDarkBlue;
    QTest::addRow("reversed ramp: blue on top") << 2 << 30000 << kDarkBlue << kDarkRed;
    QTest::addRow("grayscale: light on top, 255 rows") << 0 << 255 << qRgb(254, 254, 254) << qRgb(0, 0, 0);
    QTest::addRow("unknown type is grayscale") << 7 << 255 << qRgb(254, 254, 254) << qRgb(0, 0, 0);
}

void TestImageColorizer::legendsPutTheRangeMaximumOnTop()
{
    QFETCH(int, type);
    QFETCH(int, height);
    QFETCH(QRgb, top);
    QFETCH(QRgb, bottom);
    ImageColorizer colorizer;
    const QImage legend = colorizer.legend(type);
    QCOMPARE(legend.size(), QSize(1, height));
    QCOMPARE(legend.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(rgbText(legend.pixel(0, 0)), rgbText(top));
    QCOMPARE(rgbText(legend.pixel(0, height - 1)), rgbText(bottom));
    if (type == 1 || type == 2) {
        // Every ramp entry in its row, in one direction or the other.
        for (int i = 0; i < 30000; ++i) {
            const int row = type == 2 ? i : 29999 - i;
            if (legend.pixel(0, row) != colorizer.rampColor(i).rgb())
                QFAIL(qPrintable(QStringLiteral("entry %1 not in row %2").arg(i).arg(row)));
        }
    } else {
        for (int g = 0; g < 255; ++g)
            QCOMPARE(legend.pixel(0, 254 - g), qRgb(g, g, g));
    }
}

void TestImageColorizer::colours_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("value");
    QTest::addColumn<QRgb>("expected");

    const QRgb black = ImageColorizer::kBlack;
    const QRgb white = ImageColorizer::kWhite;
    const QRgb pink = qRgb(255, 0, 128);
    const QRgb purple = qRgb(169, 14, 255);

    QTest::addRow("empty range, forward: 0 is the first entry") << 0 << 0 << 1 << 0 << kDarkBlue;
    QTest::addRow("empty range, forward: 1 is out of range") << 0 << 0 << 1 << 1 << black;
    QTest::addRow("reversed 0..30000: 1 is dark red") << 0 << 30000 << 2 << 1 << kDarkRed;
    QTest::addRow("reversed 0..30000: 30000 is dark blue") << 0 << 30000 << 2 << 30000 << kDarkBlue;
    QTest::addRow("reversed 0..30000: 0 is dark blue by its own rule") << 0 << 30000 << 2 << 0 << kDarkBlue;
    QTest::addRow("forward 0..30000: 30000 is the last entry") << 0 << 30000 << 1 << 30000 << kDarkRed;
    QTest::addRow("forward 0..30000: 1 is the first entry") << 0 << 30000 << 1 << 1 << kDarkBlue;
    QTest::addRow("forward 0..30000: middle") << 0 << 30000 << 1 << 15001 << qRgb(127, 255, 127);
    QTest::addRow("forward, 0 below the range is still dark blue") << 100 << 200 << 1 << 0 << kDarkBlue;
    QTest::addRow("forward, no data is black") << 0 << 30000 << 1 << -1 << black;
    QTest::addRow("forward, above the range is black") << 0 << 30000 << 1 << 30001 << black;
    QTest::addRow("forward, below the range is black") << 100 << 200 << 1 << 99 << black;
    QTest::addRow("reversed, a negative range takes no data in") << -1 << 1 << 2 << -1 << kDarkRed;
    for (int type : {1, 2}) {
        QTest::addRow("ramp %d, low amplitude black", type) << 0 << 30000 << type << 65300 << black;
        QTest::addRow("ramp %d, saturated pink", type) << 0 << 30000 << type << 65400 << pink;
        QTest::addRow("ramp %d, ADC purple", type) << 0 << 30000 << type << 65500 << purple;
        QTest::addRow("ramp %d, status codes keep their colour inside the range", type)
            << 0 << 70000 << type << 65400 << pink;
        QTest::addRow("ramp %d, low amplitude black inside the range", type)
            << 0 << 70000 << type << 65300 << black;
    }
    QTest::addRow("grayscale 0..4095: 4095 is 255") << 0 << 4095 << 0 << 4095 << qRgb(255, 255, 255);
    QTest::addRow("grayscale 0..4095: 4096 is white") << 0 << 4095 << 0 << 4096 << white;
    QTest::addRow("grayscale 0..4095: low amplitude is white") << 0 << 4095 << 0 << 65300 << white;
    QTest::addRow("grayscale 0..4095: no data is black") << 0 << 4095 << 0 << -1 << black;
    QTest::addRow("grayscale 0..4095: saturated pink") << 0 << 4095 << 0 << 65400 << pink;
    QTest::addRow("grayscale 0..4095: ADC purple") << 0 << 4095 << 0 << 65500 << purple;
    QTest::addRow("grayscale 0..4095: 0 is black") << 0 << 4095 << 0 << 0 << qRgb(0, 0, 0);
    QTest::addRow("grayscale 0..4095: 2048") << 0 << 4095 << 0 << 2048 << qRgb(127, 127, 127);
    QTest::addRow("grayscale 100..355: 101") << 100 << 355 << 0 << 101 << qRgb(1, 1, 1);
    QTest::addRow("grayscale, the top of some spans truncates to 254")
        << 0 << 25 << 0 << 25 << qRgb(254, 254, 254);
    QTest::addRow("grayscale, empty range: its value is black") << 5 << 5 << 0 << 5 << qRgb(0, 0, 0);
    QTest::addRow("grayscale, inverted range: above the maximum comes first") << 10 << 5 << 0 << 7 << white;
    QTest::addRow("grayscale, inverted range: below both is black") << 10 << 5 << 0 << 4 << black;
    QTest::addRow("grayscale, low amplitude inside the range is a gray")
        << 0 << 65535 << 0 << 65300 << qRgb(254, 254, 254);
    QTest::addRow("grayscale, saturated inside the range stays pink") << 0 << 65535 << 0 << 65400 << pink;
    QTest::addRow("type 9 is grayscale") << 0 << 4095 << 9 << 4095 << qRgb(255, 255, 255);
    QTest::addRow("widest range, forward")
        << std::numeric_limits<int>::min() << std::numeric_limits<int>::max() << 1
        << std::numeric_limits<int>::max() << qRgb(191, 0, 0);
    QTest::addRow("widest range, grayscale")
        << std::numeric_limits<int>::min() << std::numeric_limits<int>::max() << 0
        << std::numeric_limits<int>::min() << qRgb(0, 0, 0);
}

void TestImageColorizer::colours()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, type);
    QFETCH(int, value);
    QFETCH(QRgb, expected);
    ImageColorizer colorizer;
    colorizer.setRange(min, max);
    const QColor colour = colorizer.color(value, type);
    QCOMPARE(rgbText(colour.rgba()), rgbText(expected));
    QCOMPARE(rgbText(colorizer.rgb(value, type)), rgbText(expected));
    int line[1] = {value};
    QRgb out[1] = {0};
    colorizer.colorLine(line, 1, 1, type, out);
    QCOMPARE(rgbText(out[0]), rgbText(expected));
}

void TestImageColorizer::scanLinesMatchTheReference_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addRow("distance range 0..30000") << 0 << 30000;
    QTest::addRow("narrow distance range 1000..3000") << 1000 << 3000;
    QTest::addRow("amplitude range 0..4095") << 0 << 4095;
    QTest::addRow("range taking status codes in") << 0 << 65535;
    QTest::addRow("range with negative start") << -100 << 500;
    QTest::addRow("empty range") << 200 << 200;
    QTest::addRow("inverted range") << 500 << 100;
    QTest::addRow("range too wide for a table") << -1000000 << 1000000;
}

void TestImageColorizer::scanLinesMatchTheReference()
{
    QFETCH(int, min);
    QFETCH(int, max);
    // Every value around the range ends and the status codes, plus random ones.
    std::vector<int> values;
    for (int base : {min, max, 0, -1, 65300, 65400, 65500, 30000})
        for (int d = -3; d <= 3; ++d)
            values.push_back(base + d);
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i)
        values.push_back(random.bounded(-2000, 70000));
    const int count = int(values.size());
    std::vector<QRgb> line(values.size());

    ImageColorizer colorizer;
    for (int round = 0; round < 2; ++round) {
        // The second round switches ranges back and forth: the tables must follow.
        if (round == 1)
            colorizer.setRange(0, 100);
        for (int type : {0, 1, 2}) {
            if (round == 1)
                colorizer.colorLine(values.data(), 1, count, type, line.data());
            colorizer.setRange(min, max);
            colorizer.colorLine(values.data(), 1, count, type, line.data());
            for (int i = 0; i < count; ++i)
                if (line[i] != colorizer.color(values[i], type).rgb())
                    QFAIL(qPrintable(QStringLiteral("type %1 value %2: %3")
                                         .arg(type)
                                         .arg(values[i])
                                         .arg(rgbText(line[i]))));
            colorizer.paintLine(values.data(), 1, count, type, line.data());
            for (int i = 0; i < count; ++i)
                if (line[i] != paintedRgb(colorizer, values[i], type))
                    QFAIL(qPrintable(QStringLiteral("painting, type %1 value %2: %3")
                                         .arg(type)
                                         .arg(values[i])
                                         .arg(rgbText(line[i]))));
        }
    }
    // A stride walks a row of a column-major field.
    const int strided[] = {min, 0, 0, 65400, 0, 0, max};
    QRgb out[3];
    colorizer.colorLine(strided, 3, 3, 1, out);
    QCOMPARE(out[0], colorizer.color(min, 1).rgb());
    QCOMPARE(out[1], colorizer.color(65400, 1).rgb());
    QCOMPARE(out[2], colorizer.color(max, 1).rgb());
}

void TestImageColorizer::paintedFieldFollowsThePaintingRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addRow("grayscale 0..4095") << 0 << 0 << 4095;
    QTest::addRow("forward ramp 0..30000") << 1 << 0 << 30000;
    QTest::addRow("reversed ramp 500..20000") << 2 << 500 << 20000;
    QTest::addRow("reversed ramp, negative maximum") << 2 << -50 << -10;
}

void TestImageColorizer::paintedFieldFollowsThePaintingRule()
{
    QFETCH(int, type);
    QFETCH(int, min);
    QFETCH(int, max);
    const int columns = 328;
    const int rows = 252;
    // A distance field: a gradient inside a ROI, no data around it, status codes spread in.
    std::vector<int> field(columns * rows, -1);
    QRandomGenerator random(5);
    for (int c = 20; c < 300; ++c) {
        for (int r = 10; r < 240; ++r) {
            int v = c * 100 + r;
            const int pick = random.bounded(50);
            if (pick == 0)
                v = 65300;
            else if (pick == 1)
                v = 65400;
            else if (pick == 2)
                v = 65500;
            else if (pick == 3)
                v = 0;
            field[c * rows + r] = v;
        }
    }
    field[0] = 65000; // above every range here: drawn as code 65300
    std::vector<const int*> columnPointers(columns);
    for (int c = 0; c < columns; ++c)
        columnPointers[c] = field.data() + c * rows;

    ImageColorizer colorizer;
    colorizer.setRange(min, max);
    QImage fromColumns(columns, rows, QImage::Format_ARGB32_Premultiplied);
    fromColumns.fill(Qt::green);
    colorizer.paintField(columnPointers.data(), columns, rows, type, fromColumns);
    QImage fromBlock(columns, rows, QImage::Format_ARGB32_Premultiplied);
    fromBlock.fill(Qt::green);
    colorizer.paintField(field.data(), columns, rows, type, fromBlock);

    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const QRgb expected = paintedRgb(colorizer, field[c * rows + r], type);
            if (fromColumns.pixel(c, r) != expected || fromBlock.pixel(c, r) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) of %3: %4, expected %5")
                                     .arg(c)
                                     .arg(r)
                                     .arg(field[c * rows + r])
                                     .arg(rgbText(fromColumns.pixel(c, r)))
                                     .arg(rgbText(expected))));
        }
    }
    if (type == 0)
        QCOMPARE(fromBlock.pixel(0, 0), ImageColorizer::kWhite);
    else
        QCOMPARE(fromBlock.pixel(0, 0), ImageColorizer::kBlack);
}

void TestImageColorizer::paintingIntoAnUnsuitableImageIsRefused()
{
    ImageColorizer colorizer;
    colorizer.setRange(0, 100);
    std::vector<int> field(10 * 10, 50);
    QImage small(5, 5, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::green);
    colorizer.paintField(field.data(), 10, 10, 0, small);
    QCOMPARE(small.pixel(0, 0), QColor(Qt::green).rgb());
    QImage indexed(10, 10, QImage::Format_Indexed8);
    QImage bytes(10, 10, QImage::Format_RGBA8888);
    bytes.fill(Qt::green);
    colorizer.paintField(field.data(), 10, 10, 0, bytes); // 32 bits, but not QRgb pixels
    QCOMPARE(bytes.pixel(0, 0), QColor(Qt::green).rgb());
    colorizer.paintField(field.data(), 10, 10, 0, indexed); // wrong depth: nothing written
    QImage null;
    colorizer.paintField(field.data(), 10, 10, 0, null);
}

KESTRANE_TEST_MAIN(TestImageColorizer)
#include "tst_imagecolorizer.moc"
