#include "measurement/InfoPixelScope.h"
#include "measurement/PlotStyle.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_item.h>

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>

namespace {
QSpinBox* box(const QWidget& scope, const char* name)
{
    return scope.findChild<QSpinBox*>(QLatin1String(name));
}

QCheckBox* check(const QWidget& scope, const char* name)
{
    return scope.findChild<QCheckBox*>(QLatin1String(name));
}

// The visible curves' point lists, by pen colour.
QwtPlotCurve* curveOfColour(QwtPlot* plot, const QColor& colour)
{
    for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        auto* curve = static_cast<QwtPlotCurve*>(item);
        if (curve->isVisible() && curve->pen().color().rgb() == colour.rgb())
            return curve;
    }
    return nullptr;
}

// A scope on the rectangle x1..x2, y1..y2 of a full 328 x 252 ROI, opened.
void open(Settings& settings, InfoPixelScope& scope, int x1, int x2, int y1, int y2)
{
    settings.roi()->setRoi(0, 327, 0, 251);
    settings.pixelScope()->setX1(x1);
    settings.pixelScope()->setX2(x2);
    settings.pixelScope()->setY1(y1);
    settings.pixelScope()->setY2(y2);
    scope.setShown(true);
}
} // namespace

class TestPixelScope : public QObject
{
    Q_OBJECT

private slots:
    void xAxisSteps_data();
    void xAxisSteps();
    void yAxisSteps_data();
    void yAxisSteps();
    void singlePixelAndLines();
    void movingWindowFillsTheBoxes();
    void trackingAndPickers();
    void typesAndFlimMode();
    void settingsChanges();
};

void TestPixelScope::xAxisSteps_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("minor");
    QTest::addColumn<double>("penWidth");

    QTest::addRow("1 pixel") << 1 << 1 << 1.0 << 0 << 2.0;
    QTest::addRow("19 pixels") << 19 << 1 << 1.0 << 0 << 2.0;
    QTest::addRow("20 pixels") << 10 << 2 << 2.0 << 2 << 2.0;
    QTest::addRow("100 pixels: wide moving average") << 50 << 2 << 50.0 << 5 << 2.0;
    QTest::addRow("101 pixels: thinner") << 101 << 1 << 50.0 << 5 << 1.5;
    QTest::addRow("500 pixels") << 250 << 2 << 500.0 << 5 << 1.5;
    QTest::addRow("5000 pixels") << 250 << 20 << 5000.0 << 5 << 1.5;
}

void TestPixelScope::xAxisSteps()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(double, penWidth);
    Settings settings;
    InfoPixelScope scope(&settings, InfoPixelScope::SignalLevel);
    open(settings, scope, 0, columns - 1, 0, rows - 1);
    const unsigned n = scope.pixelCount();
    QCOMPARE(n, unsigned(columns * rows));
    const QwtPlot* plot = scope.plotWidget();
    QCOMPARE(plot->axisInterval(QwtPlot::xBottom).minValue(), -0.5);
    QCOMPARE(plot->axisInterval(QwtPlot::xBottom).maxValue(), n - 0.5);
    QTEST(plot->axisStepSize(QwtPlot::xBottom), "step");
    QTEST(plot->axisMaxMinor(QwtPlot::xBottom), "minor");
    check(scope, "cbEnableMovingWindow")->setChecked(true);
    scope.setData(QVector<int>(int(n), 100));
    QwtPlotCurve* moving = curveOfColour(scope.plotWidget(), Qt::black);
    QVERIFY(moving);
    QCOMPARE(moving->pen().widthF(), penWidth);
}

void TestPixelScope::yAxisSteps_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("minor");

    QTest::addRow("19 values") << 0 << 18 << 1.0 << 0;
    QTest::addRow("20 values") << 0 << 19 << 2.0 << 2;
    QTest::addRow("50 values") << 100 << 149 << 20.0 << 5;
    QTest::addRow("200 values") << 0 << 199 << 50.0 << 5;
    QTest::addRow("500 values") << 0 << 499 << 100.0 << 5;
    QTest::addRow("0 ... 2998") << 0 << 2998 << 200.0 << 4;
    QTest::addRow("0 ... 2999") << 0 << 2999 << 2000.0 << 5;
}

void TestPixelScope::yAxisSteps()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    Settings settings;
    InfoPixelScope scope(&settings, InfoPixelScope::SignalLevel);
    box(scope, "sbYAxisMax")->setValue(maximum);
    box(scope, "sbYAxisMin")->setValue(minimum);
    const QwtPlot* plot = scope.plotWidget();
    QCOMPARE(plot->axisInterval(QwtPlot::yLeft).minValue(), double(minimum));
    QCOMPARE(plot->axisInterval(QwtPlot::yLeft).maxValue(), double(maximum));
    QTEST(plot->axisStepSize(QwtPlot::yLeft), "step");
    QTEST(plot->axisMaxMinor(QwtPlot::yLeft), "minor");
    // The minimum cannot reach the maximum, nor the maximum fall to the minimum.
    box(scope, "sbYAxisMin")->setValue(maximum);
    QCOMPARE(box(scope, "sbYAxisMin")->value(), maximum - 1);
}

void TestPixelScope::singlePixelAndLines()
{
    Settings settings;
    InfoPixelScope scope(&settings, InfoPixelScope::SignalLevel);
    open(settings, scope, 7, 7, 9, 9);
    QCOMPARE(scope.pixelCount(), 1u);
    scope.setAverage(300);
    check(scope, "cbShowAverage")->click();
    scope.setData({321});
    QwtPlotCurve* current = curveOfColour(scope.plotWidget(), QColor(0, 0, 255));
    QVERIFY(current);
    QCOMPARE(PlotStyle::points(current), (QVector<QPointF>{{-0.5, 321}, {0.5, 321}}));
    QCOMPARE(current->style(), QwtPlotCurve::Steps);
    QwtPlotCurve* average = curveOfColour(scope.plotWidget(), QColor(255, 0, 255));
    QVERIFY(average);
    QCOMPARE(PlotStyle::points(average), (QVector<QPointF>{{-0.5, 300}, {0.5, 300}}));
    // Y1 at 0 is hidden until set; the difference follows both lines.
    QVERIFY(!curveOfColour(scope.plotWidget(), QColor(255, 0, 0)));
    box(scope, "sbHLine1")->setValue(100);
    box(scope, "sbHLine2")->setValue(250);
    QCOMPARE(box(scope, "sbHLineDiff")->value(), 150);
    QVERIFY(curveOfColour(scope.plotWidget(), QColor(255, 0, 0)));
    QVERIFY(curveOfColour(scope.plotWidget(), QColor(0, 170, 0)));
    scope.setShown(false);
}

void TestPixelScope::movingWindowFillsTheBoxes()
{
    Settings settings;
    InfoPixelScope scope(&settings, InfoPixelScope::Amplitude);
    open(settings, scope, 0, 1, 0, 0);
    check(scope, "cbEnableMovingWindow")->setChecked(true);
    QVERIFY(box(scope, "sbWindowLength")->isEnabled());
    scope.setData({1, 10});
    scope.setData({2, 20});
    QCOMPARE(scope.getMinimum(), 1);
    QCOMPARE(scope.getMaximum(), 20);
    QCOMPARE(scope.average(), 9); // averages 2 and 15
    box(scope, "sbWindowLength")->setValue(2);
    scope.setData({3, 30});
    QCOMPARE(scope.getMinimum(), 2);
    QCOMPARE(scope.movingWindowState().frameCount(), 2);
    // Reset empties the window and restarts the amplitude statistics from the full scale.
    scope.reset();
    QCOMPARE(scope.movingWindowState().frameCount(), 0);
    QCOMPARE(scope.getMinimum(), settings.distanceCalculation()->maxAmplitude());
    QCOMPARE(scope.getMaximum(), 0);
    // A new rectangle restarts the window as well.
    scope.setData({3, 30});
    box(scope, "sbBottomRightX")->setValue(2);
    QCOMPARE(scope.movingWindowState().frameCount(), 0);
}

void TestPixelScope::trackingAndPickers()
{
    Settings settings;
    InfoPixelScope scope(&settings, InfoPixelScope::SignalLevel);
    open(settings, scope, 0, 9, 0, 0);
    scope.setMinimum(5);
    check(scope, "cbTrackMinMax")->setChecked(true);
    // Ticking resets the statistics first.
    QCOMPARE(scope.getMinimum(), 2047);
    scope.setMinimum(12);
    scope.setMaximum(80);
    scope.setData(QVector<int>(10, 40));
    QCOMPARE(scope.horizontalLine1(), 12);
    QCOMPARE(scope.horizontalLine2(), 80);
    QCOMPARE(box(scope, "sbHLineDiff")->value(), 68);
    // A Ctrl-click on the plot sets the line and stops the tracking.
    scope.onHLine2Selected(QPointF(3.2, 99.7));
    QCOMPARE(scope.horizontalLine2(), 99);
    QVERIFY(!check(scope, "cbTrackMinMax")->isChecked());
    scope.onZoomed(QRectF(0, 10.6, 5, 100));
    QCOMPARE(box(scope, "sbYAxisMin")->value(), 10);
    QCOMPARE(box(scope, "sbYAxisMax")->value(), 110);
    scope.setShown(false);
}

void TestPixelScope::typesAndFlimMode()
{
    Settings settings;
    {
        InfoPixelScope distance(&settings, InfoPixelScope::Distance);
        QCOMPARE(distance.plotWidget()->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("distance [mm]"));
        QCOMPARE(box(distance, "sbYAxisMax")->value(), 6000);
        QCOMPARE(box(distance, "sbMin")->suffix(), QStringLiteral(" mm"));
        QCOMPARE(distance.findChild<QLabel*>(QStringLiteral("lAverage"))->text(),
                 QStringLiteral("Average distance"));
        QCOMPARE(distance.size(), QSize(794, 499));
    }
    settings.setModeIndex(10);
    InfoPixelScope flim(&settings, InfoPixelScope::SignalLevel);
    QCOMPARE(flim.plotWidget()->axisTitle(QwtPlot::yLeft).text(),
             QStringLiteral("mga mgb signal level [LSB]"));
    open(settings, flim, 0, 3, 0, 0);
    QVERIFY(check(flim, "cbShowDifference")->isChecked());
    QVERIFY(box(flim, "sbAverage1")->isVisible());
    QVERIFY(!check(flim, "cbEnableMovingWindow")->isVisible());
    QVERIFY(flim.plotWidget()->axisEnabled(QwtPlot::yRight));
    QCOMPARE(flim.plotWidget()->axisTitle(QwtPlot::yRight).text(), QStringLiteral("mga - mgb  [LSB]"));
    box(flim, "sbMaximumDiff")->setValue(5000);
    QCOMPARE(box(flim, "sbMaximumDiff")->value(), 2047);
    flim.setData({100, 200, 300, 400}, {50, 250, 300, 0});
    QwtPlotCurve* difference = curveOfColour(flim.plotWidget(), Qt::black);
    QVERIFY(difference);
    QCOMPARE(difference->yAxis(), int(QwtPlot::yRight));
    QCOMPARE(PlotStyle::points(difference).at(2), QPointF(1.5, -50));
    check(flim, "cbShowCurve1")->setChecked(false);
    flim.setData({100, 200, 300, 400}, {50, 250, 300, 0});
    QVERIFY(!curveOfColour(flim.plotWidget(), QColor(0, 255, 0)));
    flim.setShown(false);
}

void TestPixelScope::settingsChanges()
{
    Settings settings;
    settings.modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    settings.modulation()->addFrequency(QStringLiteral("100 MHz"), 100000000);
    settings.setConfigLoaded(true);
    settings.setChipType(2);
    InfoPixelScope scope(&settings, InfoPixelScope::Distance);
    open(settings, scope, 3, 5, 10, 10);
    // A longer range leaves the y maximum, a shorter one lowers it.
    settings.modulation()->setFrequencyIndex(0);
    QCOMPARE(box(scope, "sbYAxisMax")->value(), 6000);
    settings.modulation()->setFrequencyIndex(1);
    QCOMPARE(box(scope, "sbYAxisMax")->value(), 1500);

    // A ROI change shows the full width of the middle row.
    settings.roi()->setRoi(4, 323, 6, 245);
    emit settings.roi()->roiChanged();
    QCOMPARE(scope.topLeftX(), 4);
    QCOMPARE(scope.bottomRightX(), 323);
    QCOMPARE(scope.topLeftY(), 125);
    QCOMPARE(scope.bottomRightY(), 125);
    QCOMPARE(settings.pixelScope()->x2(), 323);

    settings.transformation()->setHorizontalFlip(true);
    QCOMPARE(scope.findChild<QLabel*>(QStringLiteral("lScopeCorner1"))->text(),
             QStringLiteral("Upper right corner"));
    QCOMPARE(scope.findChild<QLabel*>(QStringLiteral("lScopeCorner2"))->text(),
             QStringLiteral("Bottom left corner"));
    // Closed, the scope no longer follows the settings.
    scope.setShown(false);
    settings.roi()->setRoi(0, 327, 0, 251);
    emit settings.roi()->roiChanged();
    QCOMPARE(scope.bottomRightX(), 323);
}

KESTRANE_TEST_MAIN(TestPixelScope)
#include "tst_pixelscope.moc"
