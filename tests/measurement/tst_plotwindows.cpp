#include "measurement/DenseLineCurve.h"
#include "measurement/InfoDRNUCurve.h"
#include "measurement/InfoTemperature.h"
#include "measurement/InfoTemperature1.h"
#include "measurement/PlotStyle.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QLineEdit>
#include <QtTest>

#include <cmath>

namespace {
QString field(const QWidget& window, const char* name)
{
    const auto* edit = window.findChild<QLineEdit*>(QLatin1String(name));
    return edit ? edit->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

// The canvas of a 400 x 300 plot that autoscales to `points`, drawn by `curve` with a pen of
// `width` (the time scope's by default).
QImage drawnCanvas(QwtPlotCurve* curve, const QVector<QPointF>& points, double width = 1.9)
{
    QwtPlot plot;
    PlotStyle::setUp(&plot);
    plot.resize(400, 300);
    curve->setPen(PlotStyle::pen(QColor(0, 0, 255), width));
    curve->setSamples(points);
    curve->attach(&plot);
    plot.show();
    plot.replot();
    QCoreApplication::processEvents();
    return plot.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool drawnNear(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(x + dx, y + dy) && qBlue(image.pixel(x + dx, y + dy)) > 200 &&
                qRed(image.pixel(x + dx, y + dy)) < 50)
                return true;
    return false;
}
} // namespace

class TestPlotWindows : public QObject
{
    Q_OBJECT

private slots:
    void drnuTable_data();
    void drnuTable();
    void temperatures_data();
    void temperatures();
    void secondTemperatureWindowByChip();
    void denseCurveDrawsLikeEveryPoint_data();
    void denseCurveDrawsLikeEveryPoint();
};

void TestPlotWindows::drnuTable_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("rangeMm");
    QTest::addColumn<int>("correctionMm");
    QTest::addColumn<int>("firstTemperature");
    QTest::addColumn<double>("axisFrom");

    QTest::addRow("300 at 10 MHz") << 300 << 15000 << 150 << 437 << 38.0;
    QTest::addRow("-1 truncates to 0") << -1 << 15000 << 0 << -437 << -48.0;
    // 32767 x 60000 overflows 32 bits: the 64-bit product keeps the sign, the table's 16 bits
    // hold the limit.
    QTest::addRow("long range at a low frequency") << 32767 << 60000 << 32767 << 250 << 20.0;
    QTest::addRow("negative at a long range") << -20000 << 120000 << -32768 << 0 << -5.0;
    QTest::addRow("below the limit at a long range") << 5000 << 150000 << 25000 << 0 << -5.0;
}

void TestPlotWindows::drnuTable()
{
    QFETCH(int, raw);
    QFETCH(int, rangeMm);
    QFETCH(int, firstTemperature);
    int16_t table[InfoDRNUCurve::valueCount] = {};
    table[0] = int16_t(raw);
    table[50] = int16_t(firstTemperature);
    table[99] = 455;
    InfoDRNUCurve window;
    QCOMPARE(window.windowTitle(), QStringLiteral("DRNU Average"));
    window.setTable(table, rangeMm);
    QTEST(int(window.values[0]), "correctionMm");
    QCOMPARE(window.values[99], int16_t(455));
    QwtPlot* plot = window.plotWidget();
    QTEST(plot->axisInterval(QwtPlot::yRight).minValue(), "axisFrom");
    QCOMPARE(plot->axisInterval(QwtPlot::yRight).width(), 10.0);
    QCOMPARE(plot->axisInterval(QwtPlot::yLeft).minValue(), -400.0);
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 2);
    const QVector<QPointF>& temperature = PlotStyle::points(static_cast<QwtPlotCurve*>(curves.at(1)));
    QCOMPARE(temperature.size(), 50);
    QCOMPARE(temperature.last(), QPointF(49, 45.5));
}

void TestPlotWindows::temperatures_data()
{
    QTest::addColumn<QVector<int>>("list");
    QTest::addColumn<QString>("topLeft");
    QTest::addColumn<QString>("average");
    QTest::addColumn<QString>("lower");

    QTest::addRow("average truncates") << QVector<int>{250, 251, 252, 254, 300, 2047} << "25.0°C "
                                       << "25.1°C "
                                       << "204.7°C ";
    QTest::addRow("below zero") << QVector<int>{-5, -5, -5, -6, 0, 253} << "-0.5°C "
                                << "-0.5°C "
                                << "25.3°C ";
}

void TestPlotWindows::temperatures()
{
    QFETCH(QVector<int>, list);
    Settings settings;
    InfoTemperature window(&settings);
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    // Only between setActive(true) and setActive(false).
    settings.setTemperatures(list);
    QCOMPARE(field(window, "leTl"), QString());
    window.setActive(true);
    settings.setTemperatures(list);
    QTEST(field(window, "leTl"), "topLeft");
    QTEST(field(window, "leTempAvg"), "average");
    QTEST(field(window, "leLower"), "lower");
    window.setActive(false);
    QVERIFY(!window.isVisible());
    settings.setTemperatures({0, 0, 0, 0, 0, 0});
    QTEST(field(window, "leTl"), "topLeft");
}

void TestPlotWindows::secondTemperatureWindowByChip()
{
    Settings settings;
    InfoTemperature1 window(&settings);
    window.setActive(true);
    settings.setChipType(2);
    settings.setTemperatures({253, 300, 310});
    QCOMPARE(field(window, "leTl"), QString());
    settings.setChipType(4);
    settings.setTemperatures({253, 300, 310});
    QCOMPARE(field(window, "leTl"), QStringLiteral("25.3°C "));
    QCOMPARE(field(window, "leUpper"), QStringLiteral("30.0°C "));
    QCOMPARE(field(window, "leLower"), QStringLiteral("31.0°C "));
    window.setActive(false);
}

void TestPlotWindows::denseCurveDrawsLikeEveryPoint_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    auto series = [](int count, double (*distance)(int)) {
        QVector<QPointF> points;
        for (int i = 0; i < count; ++i)
            points.append(QPointF(i, distance(i)));
        return points;
    };
    QTest::addRow("10,000 frames of a slow wave")
        << series(10000, [](int i) { return 2.4 + 0.01 * std::sin(i * 0.1); });
    QTest::addRow("10,000 frames of noise with a jump")
        << series(10000, [](int i) { return (i < 6000 ? 2.4 : 3.1) + 0.001 * ((i * 7919) % 23); });
    QTest::addRow("fewer frames than columns")
        << series(60, [](int i) { return 1.0 + 0.02 * ((i * 37) % 11); });
    QTest::addRow("a steady distance") << series(10000, [](int) { return 2.0; });
    QTest::addRow("one frame") << series(1, [](int) { return 2.0; });
}

void TestPlotWindows::denseCurveDrawsLikeEveryPoint()
{
    QFETCH(QVector<QPointF>, points);
    // Vertical strokes filled as rectangles cover exactly the pixels the lines cover.
    for (double width : {1.1, 1.5, 1.9, 2.5, 2.9}) {
        auto* lines = new DenseLineCurve;
        lines->setFillsColumns(false);
        QCOMPARE(drawnCanvas(new DenseLineCurve, points, width), drawnCanvas(lines, points, width));
    }
    const QImage everyPoint = drawnCanvas(new QwtPlotCurve, points);
    const QImage dense = drawnCanvas(new DenseLineCurve, points);
    QCOMPARE(dense.size(), everyPoint.size());
    // The same line: every pixel one draws and the other not lies next to the other's line
    // (square segment ends against polyline joins), and such pixels stay few.
    int lineless = 0;
    int differing = 0;
    int drawn = 0;
    for (int y = 0; y < dense.height(); ++y) {
        for (int x = 0; x < dense.width(); ++x) {
            drawn += everyPoint.pixel(x, y) != qRgb(255, 255, 255);
            if (dense.pixel(x, y) == everyPoint.pixel(x, y))
                continue;
            ++differing;
            if (!drawnNear(dense, x, y) || !drawnNear(everyPoint, x, y))
                ++lineless;
        }
    }
    qInfo() << differing << "of" << drawn << "pixels differ";
    QCOMPARE(lineless, 0);
    QVERIFY2(differing * 20 <= drawn,
             qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(differing).arg(drawn)));
}

KESTRANE_TEST_MAIN(TestPlotWindows)
#include "tst_plotwindows.moc"
