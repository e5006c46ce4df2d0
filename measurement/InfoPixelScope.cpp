#include "measurement/InfoPixelScope.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"
#include "measurement/PlotStyle.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"

#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_zoomer.h>

#include "ui_InfoPixelScope.h"

#include <algorithm>

namespace {
constexpr int flimModeIndex = 10;
const QColor averageColour(255, 0, 255);
const QColor flimAverageColour(100, 50, 255);

// Major step and largest number of minor ticks of the pixel-index axis for N pixels.
void xAxisSteps(unsigned n, double& step, int& minor)
{
    if (n < 20) {
        step = 1;
        minor = 0;
    } else if (n < 50) {
        step = 2;
        minor = 2;
    } else if (n < 500) {
        step = 50;
        minor = 5;
    } else if (n < 5000) {
        step = 500;
        minor = 5;
    } else {
        step = 5000;
        minor = 5;
    }
}

// The same for a value axis spanning a values.
void yAxisSteps(int a, double& step, int& minor)
{
    struct Band
    {
        int below;
        double step;
        int minor;
    };
    static const Band bands[] = {{20, 1, 0},     {50, 2, 2},     {200, 20, 5},      {500, 50, 5},
                                 {1000, 100, 5}, {3000, 200, 4}, {INT_MAX, 2000, 5}};
    for (const Band& band : bands) {
        if (a < band.below) {
            step = band.step;
            minor = band.minor;
            return;
        }
    }
}
} // namespace

InfoPixelScope::InfoPixelScope(Settings* settings, int scopeType, QWidget* parent)
    : QWidget(parent)
    , settings(settings)
    , type(uint8_t(scopeType))
    , distanceLabeler(new DistanceLabeler(settings, this))
    , ui(new Ui::InfoPixelScope)
{
    InfoWindowStyle::setUpWindow(this, false);
    // The form connects its controls by name; none of them changes before the plot is set up.
    ui->setupUi(this);
    plot = ui->plot;
    buildPlot();
    setTypeTexts();
    updateXAxis();
    updateYAxis();
    zoomer = new QwtPlotZoomer(plot->canvas(), false);
    zoomer->setTrackerMode(QwtPicker::AlwaysOff);
    zoomer->setRubberBandPen(QPen(Qt::darkGray));
    zoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton, Qt::ShiftModifier);
    zoomer->setMousePattern(QwtEventPattern::MouseSelect3, Qt::RightButton);
    zoomer->setKeyPattern(QwtEventPattern::KeyRedo, Qt::Key_I, Qt::ShiftModifier);
    zoomer->setKeyPattern(QwtEventPattern::KeyUndo, Qt::Key_O, Qt::ShiftModifier);
    zoomer->setKeyPattern(QwtEventPattern::KeyHome, Qt::Key_Escape);
    zoomer->setZoomBase(false);
    ui->sbWindowLength->setValue(movingWindow.length());
}

InfoPixelScope::~InfoPixelScope()
{
    ZTRACE() << "-----InfoPixelScope destroying";
    ZTRACE() << "-----InfoPixelScope destroyed";
    delete ui;
}

void InfoPixelScope::buildPlot()
{
    PlotStyle::setUp(plot);
    PlotStyle::addGrid(plot, QColor(230, 230, 230));

    const bool flim = flimMode();
    using PlotStyle::makeCurve;
    using PlotStyle::pen;
    const int steps = QwtPlotCurve::Steps;
    currentCurve = makeCurve(pen(QColor(0, 0, 255), 1.9), steps, QwtPlot::yLeft);
    mgbCurve = makeCurve(pen(QColor(0, 255, 0), 1.9), steps, QwtPlot::yLeft);
    differenceCurve = makeCurve(pen(Qt::black, 1.9), steps, QwtPlot::yRight);
    y1Line = makeCurve(pen(QColor(255, 0, 0), 1.5, Qt::DashDotLine), steps, QwtPlot::yLeft);
    y2Line = makeCurve(pen(QColor(0, 170, 0), 1.5, Qt::DashDotDotLine), steps, QwtPlot::yLeft);
    averageLine =
        makeCurve(pen(flim ? flimAverageColour : averageColour, 1.5, Qt::DashLine), steps, QwtPlot::yLeft);
    mgbAverageLine = makeCurve(pen(QColor(0, 180, 0), 1.5, Qt::DashLine), steps, QwtPlot::yLeft);
    averageDifferenceLine = makeCurve(pen(Qt::black, 1.5, Qt::DashLine), steps, QwtPlot::yRight);
    movingAverageCurve = makeCurve(pen(Qt::black, 2.0), steps, QwtPlot::yLeft);
    // Every curve stays attached (the plot deletes it) and is shown or hidden frame by frame.
    for (QwtPlotCurve* curve : {currentCurve, mgbCurve, differenceCurve, y1Line, y2Line, averageLine,
                                mgbAverageLine, averageDifferenceLine, movingAverageCurve}) {
        curve->attach(plot);
        curve->setVisible(false);
    }

    PlotStyle::setAxisTitle(plot, QwtPlot::xBottom, QStringLiteral("pixel index"), 8, false);

    auto makePicker = [this](Qt::MouseButton button) {
        auto* picker = new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::CrossRubberBand,
                                         QwtPicker::ActiveOnly, plot->canvas());
        picker->setStateMachine(new QwtPickerClickPointMachine);
        picker->setMousePattern(QwtEventPattern::MouseSelect1, button, Qt::ControlModifier);
        picker->setRubberBandPen(QPen(Qt::darkGray));
        return picker;
    };
    y1Picker = makePicker(Qt::RightButton);
    y2Picker = makePicker(Qt::LeftButton);
}

void InfoPixelScope::setTypeTexts()
{
    QString axisTitle;
    QString minimum;
    QString maximum;
    QString average;
    QString showAverage;
    QString suffix = QStringLiteral(" LSB");
    int yMaximum = 2047;
    switch (type) {
    case Distance:
        axisTitle = QStringLiteral("distance [mm]");
        minimum = QStringLiteral("Minimum distance");
        maximum = QStringLiteral("Maximum distance");
        average = QStringLiteral("Average distance");
        showAverage = QStringLiteral("Show average distance");
        suffix = QStringLiteral(" mm");
        yMaximum = 6000;
        break;
    case Amplitude:
        axisTitle = QStringLiteral("amplitude [LSB]");
        minimum = QStringLiteral("Minimum amplitude");
        maximum = QStringLiteral("Maximum amplitude");
        average = QStringLiteral("Average amplitude");
        showAverage = QStringLiteral("Show average amplitude");
        yMaximum = settings->distanceCalculation()->maxAmplitude();
        break;
    default:
        axisTitle =
            flimMode() ? QStringLiteral("mga mgb signal level [LSB]") : QStringLiteral("signal level [LSB]");
        minimum = QStringLiteral("Minimum signal level");
        maximum = QStringLiteral("Maximum signal level");
        average = QStringLiteral("Average signal level");
        showAverage = QStringLiteral("Show average signal level");
        break;
    }
    PlotStyle::setAxisTitle(plot, QwtPlot::yLeft, axisTitle, 8, false);
    ui->lYAxisMin->setText(minimum);
    ui->lMin->setText(minimum);
    ui->lYAxisMax->setText(maximum);
    ui->lMax->setText(maximum);
    ui->lAverage->setText(average);
    ui->cbShowAverage->setText(showAverage);
    for (QSpinBox* box : {ui->sbYAxisMin, ui->sbYAxisMax, ui->sbHLine1, ui->sbHLine2, ui->sbHLineDiff,
                          ui->sbMin, ui->sbMax, ui->sbAverage, ui->sbAverage1})
        box->setSuffix(suffix);
    ui->sbYAxisMax->setValue(yMaximum);
}

bool InfoPixelScope::flimMode() const
{
    return type == SignalLevel && settings->modeIndex() == flimModeIndex;
}

// The rectangle

int InfoPixelScope::topLeftX() const
{
    return ui->sbTopLeftX->value();
}

int InfoPixelScope::topLeftY() const
{
    return ui->sbTopLeftY->value();
}

int InfoPixelScope::bottomRightX() const
{
    return ui->sbBottomRightX->value();
}

int InfoPixelScope::bottomRightY() const
{
    return ui->sbBottomRightY->value();
}

unsigned InfoPixelScope::pixelCount() const
{
    const auto columns = uint16_t(ui->sbBottomRightX->value() - ui->sbTopLeftX->value() + 1);
    const auto rows = uint16_t(ui->sbBottomRightY->value() - ui->sbTopLeftY->value() + 1);
    return unsigned(columns) * unsigned(rows);
}

bool InfoPixelScope::isMovingWindowEnabled() const
{
    return ui->cbEnableMovingWindow->isChecked();
}

void InfoPixelScope::loadRegion()
{
    // Read all four first: each box's slot writes the rectangle back.
    const SettingsPixelScope* scope = settings->pixelScope();
    const int x1 = scope->x1();
    const int x2 = scope->x2();
    const int y1 = scope->y1();
    const int y2 = scope->y2();
    const SettingsROI* roi = settings->roi();
    ui->sbTopLeftX->setValue(x1);
    ui->sbTopLeftY->setValue(y1);
    ui->sbBottomRightX->setValue(x2);
    ui->sbBottomRightY->setValue(y2);
    const bool wholeHeight = settings->chipType() == 4 || settings->chipType() == 5;
    ui->sbTopLeftX->setRange(roi->x1(), roi->sensorWidth() - 1);
    ui->sbTopLeftY->setRange(roi->y1(), wholeHeight ? roi->y2() : roi->sensorHeight() / 2 - 1);
    ui->sbBottomRightX->setRange(roi->x1(), roi->x2());
    ui->sbBottomRightY->setRange(roi->y1(), roi->y2());
}

void InfoPixelScope::storeColumns()
{
    settings->pixelScope()->setX1(ui->sbTopLeftX->value());
    settings->pixelScope()->setX2(ui->sbBottomRightX->value());
}

void InfoPixelScope::setZoomBase()
{
    if (zoomer)
        zoomer->setZoomBase(false);
}

void InfoPixelScope::on_sbTopLeftX_valueChanged(int TopLeftX)
{
    ui->sbBottomRightX->setMinimum(TopLeftX);
    if (ui->cbSingleColumn->isChecked())
        ui->sbBottomRightX->setValue(TopLeftX);
    storeColumns();
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbTopLeftY_valueChanged(int TopLeftY)
{
    ui->sbBottomRightY->setMinimum(TopLeftY);
    if (ui->cbSingleRow->isChecked())
        ui->sbBottomRightY->setValue(TopLeftY);
    settings->pixelScope()->setY1(TopLeftY);
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbBottomRightX_valueChanged(int BottomRightX)
{
    if (!ui->cbSingleColumn->isChecked())
        ui->sbTopLeftX->setMaximum(BottomRightX);
    storeColumns();
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbBottomRightY_valueChanged(int BottomRightY)
{
    if (!ui->cbSingleRow->isChecked())
        ui->sbTopLeftY->setMaximum(BottomRightY);
    settings->pixelScope()->setY2(BottomRightY);
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_cbSingleRow_toggled(bool checked)
{
    if (!checked) {
        ui->sbBottomRightY->setEnabled(true);
        return;
    }
    ui->cbSingleColumn->setChecked(false);
    ui->sbBottomRightY->setEnabled(false);
    ui->sbBottomRightY->setValue(ui->sbTopLeftY->value());
    ui->sbTopLeftX->setValue(0);
    ui->sbBottomRightX->setValue(settings->roi()->sensorWidth() - 1);
    ui->sbTopLeftY->setMaximum(settings->roi()->y2());
}

void InfoPixelScope::on_cbSingleColumn_toggled(bool checked)
{
    if (!checked) {
        ui->sbBottomRightX->setEnabled(true);
        return;
    }
    ui->cbSingleRow->setChecked(false);
    ui->sbBottomRightX->setEnabled(false);
    ui->sbBottomRightX->setValue(ui->sbTopLeftX->value());
    ui->sbTopLeftY->setValue(0);
    ui->sbBottomRightY->setValue(settings->roi()->sensorHeight() - 1);
    ui->sbTopLeftX->setMaximum(settings->roi()->x2());
}

void InfoPixelScope::onROIChanged()
{
    const SettingsROI* roi = settings->roi();
    const bool wholeHeight = settings->chipType() == 4 || settings->chipType() == 5;
    const int middleRow = wholeHeight ? roi->y1() + roi->height() / 2 : roi->sensorHeight() / 2 - 1;
    ui->sbTopLeftX->setRange(roi->x1(), roi->sensorWidth() - 1);
    ui->sbTopLeftX->setValue(roi->x1());
    ui->sbTopLeftY->setMinimum(roi->y1());
    ui->sbTopLeftY->setMaximum(wholeHeight ? roi->y2() : middleRow);
    ui->sbTopLeftY->setValue(middleRow);
    ui->sbBottomRightX->setRange(roi->x1(), roi->x2());
    ui->sbBottomRightX->setValue(roi->x2());
    ui->sbBottomRightY->setRange(roi->y1(), roi->y2());
    ui->sbBottomRightY->setValue(middleRow);
    ui->cbSingleColumn->setChecked(false);
    ui->cbSingleRow->setChecked(false);
    updateXAxis();
}

// Axes and lines

void InfoPixelScope::updateXAxis()
{
    const unsigned n = pixelCount();
    double step = 1;
    int minor = 0;
    xAxisSteps(n, step, minor);
    plot->setAxisScale(QwtPlot::xBottom, -0.5, double(n) - 0.5, step);
    plot->setAxisMaxMinor(QwtPlot::xBottom, minor);
    if (isMovingWindowEnabled())
        movingWindow.clear();
    updateLines();
    movingAverageCurve->setPen(PlotStyle::pen(Qt::black, n <= 100 ? 2.0 : 1.5));
    plot->replot();
}

void InfoPixelScope::updateYAxis()
{
    if (flimMode()) {
        const int limit = ui->sbMaximumDiff->value();
        plot->setAxisScale(QwtPlot::yRight, -limit, limit);
        plot->enableAxis(QwtPlot::yRight, ui->cbShowAverage->isChecked() || showDifference);
    }
    const int a = ui->sbYAxisMax->value() - ui->sbYAxisMin->value() + 1;
    double step = 1;
    int minor = 0;
    yAxisSteps(a, step, minor);
    plot->setAxisScale(QwtPlot::yLeft, ui->sbYAxisMin->value(), ui->sbYAxisMax->value(), step);
    plot->setAxisMaxMinor(QwtPlot::yLeft, minor);
    plot->replot();
}

void InfoPixelScope::updateLines()
{
    const bool tracking = ui->cbTrackMinMax->isChecked();
    setLinePoints(y1Line, hLine1);
    setCurveShown(y1Line, hLine1 != 0 || tracking);
    setLinePoints(y2Line, hLine2);
    setCurveShown(y2Line, hLine2 != 0 || tracking);
}

void InfoPixelScope::on_sbYAxisMin_valueChanged(int yMin)
{
    if (yMin >= ui->sbYAxisMax->value())
        ui->sbYAxisMin->setValue(ui->sbYAxisMax->value() - 1);
    updateYAxis();
}

void InfoPixelScope::on_sbYAxisMax_valueChanged(int yMax)
{
    if (ui->sbYAxisMin->value() >= yMax)
        ui->sbYAxisMax->setValue(ui->sbYAxisMin->value() + 1);
    updateYAxis();
}

void InfoPixelScope::onHLine1Selected(const QPointF& point)
{
    hLine1 = int16_t(point.y());
    ui->sbHLine1->setValue(hLine1);
    ui->cbTrackMinMax->setChecked(false);
    updateLines();
    plot->replot();
}

void InfoPixelScope::onHLine2Selected(const QPointF& point)
{
    hLine2 = int16_t(point.y());
    ui->sbHLine2->setValue(hLine2);
    ui->cbTrackMinMax->setChecked(false);
    updateLines();
    plot->replot();
}

void InfoPixelScope::on_sbHLine1_valueChanged(int hLine1Y)
{
    hLine1 = int16_t(hLine1Y);
    ui->sbHLineDiff->setValue(ui->sbHLine2->value() - ui->sbHLine1->value());
    updateLines();
}

void InfoPixelScope::on_sbHLine2_valueChanged(int hLine2Y)
{
    hLine2 = int16_t(hLine2Y);
    ui->sbHLineDiff->setValue(ui->sbHLine2->value() - ui->sbHLine1->value());
    updateLines();
}

void InfoPixelScope::onZoomed(const QRectF& rectangleCoordinates)
{
    ui->sbYAxisMin->setValue(int(rectangleCoordinates.y()));
    ui->sbYAxisMax->setValue(int(rectangleCoordinates.y() + rectangleCoordinates.height()));
}

void InfoPixelScope::onModulationFrequencyChanged()
{
    if (!settings->configLoaded() || type != Distance)
        return;
    const int rangeMm = distanceLabeler->updateRangeMm();
    if (ui->sbYAxisMax->value() > rangeMm)
        ui->sbYAxisMax->setValue(rangeMm);
    updateYAxis();
}

void InfoPixelScope::onModulationIndexChanged()
{
    if (type != Amplitude)
        return;
    ui->sbYAxisMax->setValue(settings->distanceCalculation()->maxAmplitude());
    updateYAxis();
}

void InfoPixelScope::onTransformation()
{
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    static const char* const corners[2][2][2] = {
        {{"Upper left corner", "Lower right corner"}, {"Lower left corner", "Upper right corner"}},
        {{"Upper right corner", "Bottom left corner"}, {"Lower right corner", "Upper left corner"}}};
    ui->lScopeCorner1->setText(QLatin1String(corners[horizontal][vertical][0]));
    ui->lScopeCorner2->setText(QLatin1String(corners[horizontal][vertical][1]));
}

// Statistics and the moving window

void InfoPixelScope::reset()
{
    on_pbReset_clicked();
}

void InfoPixelScope::on_pbReset_clicked()
{
    switch (type) {
    case Distance: {
        DistanceLabeler fresh(settings);
        ui->sbMin->setValue(fresh.updateRangeMm());
        ui->sbMax->setValue(0);
        break;
    }
    case Amplitude:
        ui->sbMin->setValue(settings->distanceCalculation()->maxAmplitude());
        ui->sbMax->setValue(0);
        break;
    default:
        ui->sbMin->setValue(2047);
        ui->sbMax->setValue(-2048);
        break;
    }
    movingWindow.clear();
    ui->sbAverage->setValue(0);
    ui->sbAverage1->setValue(0);
}

void InfoPixelScope::on_sbWindowLength_valueChanged(int value)
{
    movingWindow.setLength(value);
}

void InfoPixelScope::on_cbEnableMovingWindow_toggled(bool checked)
{
    ui->sbWindowLength->setEnabled(checked);
    QColor colour(0, 0, 255);
    colour.setAlpha(checked ? 50 : 255);
    currentCurve->setPen(PlotStyle::pen(colour, 1.9));
}

void InfoPixelScope::on_cbTrackMinMax_toggled(bool checked)
{
    if (checked)
        ui->pbReset->click();
}

void InfoPixelScope::on_cbShowAverage_clicked()
{
    updateYAxis();
}

// FLIM mode

void InfoPixelScope::on_cbShowCurve_toggled(bool checked)
{
    showCurve = checked;
}

void InfoPixelScope::on_cbShowCurve1_toggled(bool checked)
{
    showCurve1 = checked;
}

void InfoPixelScope::on_sbMaximumDiff_valueChanged(int arg1)
{
    if (arg1 >= 2048)
        ui->sbMaximumDiff->setValue(2047);
    updateYAxis();
}

void InfoPixelScope::on_cbShowDifference_toggled(bool checked)
{
    showDifference = checked;
    ui->lMaximumDiff->setVisible(checked);
    ui->sbMaximumDiff->setVisible(checked);
    updateYAxis();
}

void InfoPixelScope::setFlimControlsVisible(bool flim)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lAverageMga, ui->lAverageMgb, ui->sbAverage1,
                                                      ui->cbShowCurve, ui->cbShowCurve1, ui->cbShowDifference,
                                                      ui->lMaximumDiff, ui->sbMaximumDiff})
        w->setVisible(flim);
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->cbEnableMovingWindow, ui->lWindowLength, ui->sbWindowLength, ui->lHLine1, ui->sbHLine1,
             ui->lHLine2, ui->sbHLine2, ui->lHLineDiff, ui->sbHLineDiff, ui->cbTrackMinMax})
        w->setVisible(!flim);
}

// Opening and closing

void InfoPixelScope::connectSignals()
{
    connect(y1Picker, qOverload<const QPointF&>(&QwtPlotPicker::selected), this,
            &InfoPixelScope::onHLine1Selected, Qt::UniqueConnection);
    connect(y2Picker, qOverload<const QPointF&>(&QwtPlotPicker::selected), this,
            &InfoPixelScope::onHLine2Selected, Qt::UniqueConnection);
    connect(zoomer, &QwtPlotZoomer::zoomed, this, &InfoPixelScope::onZoomed, Qt::UniqueConnection);
    connect(settings->roi(), &SettingsROI::roiChanged, this, &InfoPixelScope::onROIChanged,
            Qt::UniqueConnection);
    connect(settings->modulation(), &SettingsModulation::modulationFrequencyChanged, this,
            &InfoPixelScope::onModulationFrequencyChanged, Qt::UniqueConnection);
    connect(settings->distanceCalculation(), &SettingsDistanceCalculation::modulationIndexChanged, this,
            &InfoPixelScope::onModulationIndexChanged, Qt::UniqueConnection);
    connect(settings->transformation(), &SettingsTransformation::horizontalFlipped, this,
            &InfoPixelScope::onTransformation, Qt::UniqueConnection);
    connect(settings->transformation(), &SettingsTransformation::verticalFlipped, this,
            &InfoPixelScope::onTransformation, Qt::UniqueConnection);

    const bool flim = flimMode();
    setFlimControlsVisible(flim);
    if (flim) {
        ui->cbShowCurve->setChecked(true);
        ui->cbShowCurve1->setChecked(true);
        ui->cbShowDifference->setChecked(true);
        showCurve1 = true;
        showDifference = true;
        showCurve = true;
        PlotStyle::setAxisTitle(plot, QwtPlot::yRight, QStringLiteral("mga - mgb  [LSB]"), 8, false);
        plot->setAxisScale(QwtPlot::yRight, -ui->sbMaximumDiff->value(), ui->sbMaximumDiff->value());
        plot->enableAxis(QwtPlot::yRight, true);
    }
    ui->pbReset->click();
}

void InfoPixelScope::disconnectSignals()
{
    disconnect(y1Picker, nullptr, this, nullptr);
    disconnect(y2Picker, nullptr, this, nullptr);
    disconnect(zoomer, nullptr, this, nullptr);
    disconnect(settings->roi(), &SettingsROI::roiChanged, this, &InfoPixelScope::onROIChanged);
    disconnect(settings->modulation(), &SettingsModulation::modulationFrequencyChanged, this,
               &InfoPixelScope::onModulationFrequencyChanged);
    disconnect(settings->distanceCalculation(), &SettingsDistanceCalculation::modulationIndexChanged, this,
               &InfoPixelScope::onModulationIndexChanged);
    disconnect(settings->transformation(), nullptr, this, nullptr);
}

void InfoPixelScope::setShown(bool shown)
{
    if (shown) {
        loadRegion();
        QWidget::show();
        connectSignals();
    } else {
        close();
        disconnectSignals();
    }
}

// The statistics boxes

int InfoPixelScope::getMinimum() const
{
    ZTRACE() << "getMinimum" << ui->sbMin->value();
    return ui->sbMin->value();
}

int InfoPixelScope::getMaximum() const
{
    ZTRACE() << "getMaximum" << ui->sbMax->value();
    return ui->sbMax->value();
}

int InfoPixelScope::average() const
{
    return ui->sbAverage->value();
}

int InfoPixelScope::average1() const
{
    return ui->sbAverage1->value();
}

void InfoPixelScope::setMinimum(int value)
{
    ZTRACE() << "setMinimum" << value;
    ui->sbMin->setValue(value);
}

void InfoPixelScope::setMaximum(int value)
{
    ZTRACE() << "setMaximum" << value;
    ui->sbMax->setValue(value);
}

void InfoPixelScope::setAverage(int value)
{
    ZTRACE() << "setAverage" << value;
    ui->sbAverage->setValue(value);
}

void InfoPixelScope::setAverage1(int value)
{
    ZTRACE() << "setAverage1" << value;
    ui->sbAverage1->setValue(value);
}

// Frames

void InfoPixelScope::copyInto(const QVector<int>& from, QVector<int>& to)
{
    // Element by element into the scope's own buffer: sharing the view's buffer would make
    // the view's next frame detach (allocate) it.
    to.resize(from.size());
    std::copy(from.cbegin(), from.cend(), to.begin());
}

void InfoPixelScope::setCurveShown(QwtPlotCurve* curve, bool shown)
{
    curve->setVisible(shown);
}

void InfoPixelScope::setStepPoints(QwtPlotCurve* curve, const QVector<int>& v)
{
    QVector<QPointF>& points = PlotStyle::points(curve);
    const int n = std::min(int(pixelCount()), v.size());
    points.resize(0);
    if (n == 0)
        return;
    points.append(QPointF(-0.5, v.at(0)));
    for (int i = 0; i < n; ++i)
        points.append(QPointF(i + 0.5, v.at(i)));
}

void InfoPixelScope::setLinePoints(QwtPlotCurve* curve, double height)
{
    QVector<QPointF>& points = PlotStyle::points(curve);
    points.resize(0);
    points.append(QPointF(-0.5, height));
    points.append(QPointF(double(pixelCount()) - 0.5, height));
}

void InfoPixelScope::showMovingWindow(const QVector<int>& shown)
{
    if (!isMovingWindowEnabled()) {
        setCurveShown(movingAverageCurve, false);
        return;
    }
    movingWindow.append(shown);
    movingWindow.compute();
    movingWindow.series(PlotStyle::points(movingAverageCurve));
    setCurveShown(movingAverageCurve, true);
    ui->sbAverage->setValue(movingWindow.overallAverage());
    ui->sbMin->setValue(movingWindow.minimum());
    ui->sbMax->setValue(movingWindow.maximum());
}

void InfoPixelScope::trackMinMax()
{
    if (!ui->cbTrackMinMax->isChecked())
        return;
    hLine1 = int16_t(ui->sbMin->value());
    hLine2 = int16_t(ui->sbMax->value());
    ui->sbHLine1->setValue(hLine1);
    ui->sbHLine2->setValue(hLine2);
    // The boxes' slots redraw the lines only on a change; a line at an unchanged value
    // still has to span the current pixel count.
    updateLines();
}

void InfoPixelScope::setData(const QVector<int>& data)
{
    copyInto(data, values);
    ++frames;
    setStepPoints(currentCurve, values);
    setCurveShown(currentCurve, true);
    showMovingWindow(values);
    setLinePoints(averageLine, ui->sbAverage->value());
    setCurveShown(averageLine, ui->cbShowAverage->isChecked());
    trackMinMax();
    if (isVisible())
        plot->replot();
}

void InfoPixelScope::setData(const QVector<int>& mga, const QVector<int>& mgb)
{
    copyInto(mga, values);
    copyInto(mgb, values1);
    ++frames;
    setStepPoints(currentCurve, values);
    setCurveShown(currentCurve, showCurve);
    setStepPoints(mgbCurve, values1);
    setCurveShown(mgbCurve, showCurve1);
    const int n = std::min(values.size(), values1.size());
    differences.resize(n);
    for (int i = 0; i < n; ++i)
        differences[i] = values.at(i) - values1.at(i);
    setStepPoints(differenceCurve, differences);
    setCurveShown(differenceCurve, showDifference);
    showMovingWindow(values);
    const bool averages = ui->cbShowAverage->isChecked();
    setLinePoints(averageLine, ui->sbAverage->value());
    setLinePoints(mgbAverageLine, ui->sbAverage1->value());
    setLinePoints(averageDifferenceLine, ui->sbAverage->value() - ui->sbAverage1->value());
    setCurveShown(averageLine, averages);
    setCurveShown(mgbAverageLine, averages);
    setCurveShown(averageDifferenceLine, averages);
    trackMinMax();
    if (isVisible())
        plot->replot();
}
