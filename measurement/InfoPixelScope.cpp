#include "measurement/InfoPixelScope.h"

#include "app/Trace.h"
#include "measurement/PlotStyle.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"

#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_zoomer.h>

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

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

QString richTip(const char* text)
{
    return QStringLiteral("<html><head/><body><p>") + QLatin1String(text) +
           QStringLiteral("</p></body></html>");
}
} // namespace

InfoPixelScope::InfoPixelScope(Settings* settings, int scopeType, QWidget* parent)
    : QWidget(parent)
    , settings(settings)
    , type(uint8_t(scopeType))
    , distanceLabeler(new DistanceLabeler(settings, this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Pixel Scope"));
    buildForm();
    buildPlot();
    setTypeTexts();
    QMetaObject::connectSlotsByName(this);
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
    sbWindowLength->setValue(movingWindow.length());
    resize(794, 499);
}

InfoPixelScope::~InfoPixelScope()
{
    ZTRACE() << "-----InfoPixelScope destroying";
    ZTRACE() << "-----InfoPixelScope destroyed";
}

void InfoPixelScope::buildForm()
{
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto spin = [this](const char* name, int minimum, int maximum, int value, bool readOnly) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(minimum, maximum);
        s->setValue(value);
        s->setAlignment(Qt::AlignRight);
        s->setMinimumWidth(90);
        if (readOnly) {
            s->setReadOnly(true);
            s->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
        return s;
    };
    auto check = [this](const char* name, const char* text) {
        auto* c = new QCheckBox(QString::fromUtf8(text), this);
        c->setObjectName(QLatin1String(name));
        return c;
    };

    plotFrame = new QFrame(this);
    plotFrame->setObjectName(QStringLiteral("wPixelScope"));
    plotFrame->setMinimumSize(700, 250);

    lMin = label("lMin", "Minimum signal level");
    sbMin = spin("sbMin", -99999, 65000, 65000, true);
    lMax = label("lMax", "Maximum signal level");
    sbMax = spin("sbMax", -99999, 99999, -2048, true);
    lAverage = label("lAverage", "Average signal");
    lAverageMga = label("lAverageMga", "mga: ");
    sbAverage = spin("sbAverage", -99999, 99999, 0, true);
    lAverageMgb = label("lAverageMgb", "mgb:");
    sbAverage1 = spin("sbAverage1", -99999, 99999, 0, true);
    cbTrackMinMax = check("cbTrackMinMax", "Track min./max.");
    pbReset = new QPushButton(QStringLiteral("Reset"), this);
    pbReset->setObjectName(QStringLiteral("pbReset"));

    lHLine1 = label("lHLine1", "Y1");
    sbHLine1 = spin("sbHLine1", -20000, 20000, 0, false);
    lHLine2 = label("lHLine2", "Y2");
    sbHLine2 = spin("sbHLine2", -20000, 20000, 0, false);
    lHLineDiff = label("lHLineDiff", "Y2 - Y1");
    sbHLineDiff = spin("sbHLineDiff", -99999, 99999, 0, true);
    cbEnableMovingWindow = check("cbEnableMovingWindow", "Enable moving window");
    lWindowLength = label("lWindowLength", "Length of moving window");
    sbWindowLength = spin("sbWindowLength", 2, 100, 10, false);
    sbWindowLength->setEnabled(false);

    QLabel* lSettingsYAxis = label("lSettingsYAxis", "SETTINGS FOR Y-AXIS     ");
    lYAxisMin = label("lYAxisMin", "Minimum signal level");
    sbYAxisMin = spin("sbYAxisMin", -99999, 99999, 0, false);
    sbYAxisMin->setSingleStep(50);
    lYAxisMax = label("lYAxisMax", "Maximum signal level");
    sbYAxisMax = spin("sbYAxisMax", 0, 99999, 2047, false);
    sbYAxisMax->setSingleStep(50);
    cbShowAverage = check("cbShowAverage", "Show average level  ");
    cbShowCurve = check("cbShowCurve", "Show mga");
    cbShowCurve1 = check("cbShowCurve1", "Show mgb");
    cbShowDifference = check("cbShowDifference", "Show diff.");
    lMaximumDiff = label("lMaximumDiff", "Maximun difference");
    sbMaximumDiff = spin("sbMaximumDiff", 0, 9999, 2047, false);
    sbMaximumDiff->setSingleStep(50);

    QLabel* lPixelSelection = label("lPixelSelection", "ROI SELECTION");
    lScopeCorner1 = label("lScopeCorner1", "Lower left corner");
    lScopeCorner2 = label("lScopeCorner2", "Upper right corner");
    sbTopLeftX = spin("sbTopLeftX", 0, 9999, 0, false);
    sbTopLeftY = spin("sbTopLeftY", 0, 9999, 0, false);
    sbBottomRightX = spin("sbBottomRightX", 0, 9999, 0, false);
    sbBottomRightY = spin("sbBottomRightY", 0, 9999, 0, false);
    cbSingleRow = check("cbSingleRow", "single row");
    cbSingleColumn = check("cbSingleColumn", "single col.");

    const QString averageTip =
        richTip("Average of currently displayed data if moving window is disable and average "
                "over all pixels in moving window when the latter is enabled.");
    lAverage->setToolTip(averageTip);
    sbAverage->setToolTip(averageTip);
    const QString minTip =
        richTip("Minimum of displayed data over time or in moving window if the latter is enabled.");
    lMin->setToolTip(minTip);
    sbMin->setToolTip(minTip);
    const QString maxTip =
        richTip("Maximum of displayed data over time or in moving window if the latter is enabled.");
    lMax->setToolTip(maxTip);
    sbMax->setToolTip(maxTip);
    cbTrackMinMax->setToolTip(richTip("If checked, Y1 and Y2 (and the corresponding lines) are following the "
                                      "minimum and the maximum value, respectively."));
    pbReset->setToolTip(richTip("Resets average, minimum and maximum and clears data in moving window."));
    const QString y1Tip = richTip("Horizontal line which can be set with [Ctrl + left click].");
    lHLine1->setToolTip(y1Tip);
    sbHLine1->setToolTip(y1Tip);
    const QString y2Tip = richTip("Horizontal line which can be set with [Ctrl + right click].");
    lHLine2->setToolTip(y2Tip);
    sbHLine2->setToolTip(y2Tip);
    const QString lengthTip = richTip(
        "Number of previous samples (including current) which are taken into account for the computation of "
        "overall average, moving average curve (black) mininum and maximum when the moving window is "
        "enabled.");
    lWindowLength->setToolTip(lengthTip);
    sbWindowLength->setToolTip(lengthTip);
    cbShowAverage->setToolTip(
        richTip("If checked, the current average value is shown as a pink dashed line."));
    cbEnableMovingWindow->setToolTip(richTip(
        "If checked, the average over the last samples is plotted instead of the current sample values. The "
        "number of averaged sample values is given by the length of the moving window."));

    auto* statistics = new QGridLayout;
    statistics->addWidget(lMin, 0, 0);
    statistics->addWidget(sbMin, 0, 1);
    statistics->addWidget(lMax, 1, 0);
    statistics->addWidget(sbMax, 1, 1);
    auto* averageTitles = new QHBoxLayout;
    averageTitles->addWidget(lAverage);
    averageTitles->addWidget(lAverageMga);
    statistics->addLayout(averageTitles, 2, 0);
    statistics->addWidget(sbAverage, 2, 1);
    statistics->addWidget(lAverageMgb, 3, 0, Qt::AlignRight);
    statistics->addWidget(sbAverage1, 3, 1);
    statistics->addWidget(cbTrackMinMax, 4, 0);
    statistics->addWidget(pbReset, 4, 1);
    statistics->setRowStretch(5, 1);

    auto* lines = new QGridLayout;
    lines->addWidget(lHLine1, 0, 0);
    lines->addWidget(sbHLine1, 0, 1);
    lines->addWidget(lHLine2, 1, 0);
    lines->addWidget(sbHLine2, 1, 1);
    lines->addWidget(lHLineDiff, 2, 0);
    lines->addWidget(sbHLineDiff, 2, 1);
    lines->addWidget(cbEnableMovingWindow, 3, 0, 1, 2);
    lines->addWidget(lWindowLength, 4, 0);
    lines->addWidget(sbWindowLength, 4, 1);
    lines->addWidget(cbShowCurve, 0, 0);
    lines->addWidget(cbShowCurve1, 1, 0);
    lines->setRowStretch(5, 1);

    auto* yAxis = new QGridLayout;
    yAxis->addWidget(lSettingsYAxis, 0, 0, 1, 2);
    yAxis->addWidget(lYAxisMin, 1, 0);
    yAxis->addWidget(sbYAxisMin, 1, 1);
    yAxis->addWidget(lYAxisMax, 2, 0);
    yAxis->addWidget(sbYAxisMax, 2, 1);
    yAxis->addWidget(cbShowAverage, 3, 0, 1, 2);
    yAxis->addWidget(cbShowDifference, 4, 0);
    yAxis->addWidget(lMaximumDiff, 5, 0);
    yAxis->addWidget(sbMaximumDiff, 5, 1);
    yAxis->setRowStretch(6, 1);

    auto* region = new QGridLayout;
    region->addWidget(lPixelSelection, 0, 0);
    region->addWidget(new QLabel(QStringLiteral("x"), this), 0, 1, Qt::AlignHCenter);
    region->addWidget(new QLabel(QStringLiteral("y"), this), 0, 2, Qt::AlignHCenter);
    region->addWidget(lScopeCorner1, 1, 0);
    region->addWidget(sbTopLeftX, 1, 1);
    region->addWidget(sbTopLeftY, 1, 2);
    region->addWidget(lScopeCorner2, 2, 0);
    region->addWidget(sbBottomRightX, 2, 1);
    region->addWidget(sbBottomRightY, 2, 2);
    region->addWidget(cbSingleRow, 3, 1);
    region->addWidget(cbSingleColumn, 3, 2);
    region->setRowStretch(4, 1);

    auto* controls = new QHBoxLayout;
    controls->addLayout(statistics);
    controls->addSpacing(12);
    controls->addLayout(lines);
    controls->addSpacing(12);
    controls->addLayout(yAxis);
    controls->addSpacing(12);
    controls->addLayout(region);

    auto* page = new QVBoxLayout(this);
    page->addWidget(plotFrame, 1);
    page->addLayout(controls);
}

void InfoPixelScope::buildPlot()
{
    plot = new QwtPlot(plotFrame);
    auto* frameLayout = new QVBoxLayout(plotFrame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(plot);
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
    lYAxisMin->setText(minimum);
    lMin->setText(minimum);
    lYAxisMax->setText(maximum);
    lMax->setText(maximum);
    lAverage->setText(average);
    cbShowAverage->setText(showAverage);
    for (QSpinBox* box :
         {sbYAxisMin, sbYAxisMax, sbHLine1, sbHLine2, sbHLineDiff, sbMin, sbMax, sbAverage, sbAverage1})
        box->setSuffix(suffix);
    sbYAxisMax->setValue(yMaximum);
}

bool InfoPixelScope::flimMode() const
{
    return type == SignalLevel && settings->modeIndex() == flimModeIndex;
}

// The rectangle

int InfoPixelScope::topLeftX() const
{
    return sbTopLeftX->value();
}

int InfoPixelScope::topLeftY() const
{
    return sbTopLeftY->value();
}

int InfoPixelScope::bottomRightX() const
{
    return sbBottomRightX->value();
}

int InfoPixelScope::bottomRightY() const
{
    return sbBottomRightY->value();
}

unsigned InfoPixelScope::pixelCount() const
{
    const auto columns = uint16_t(sbBottomRightX->value() - sbTopLeftX->value() + 1);
    const auto rows = uint16_t(sbBottomRightY->value() - sbTopLeftY->value() + 1);
    return unsigned(columns) * unsigned(rows);
}

bool InfoPixelScope::isMovingWindowEnabled() const
{
    return cbEnableMovingWindow->isChecked();
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
    sbTopLeftX->setValue(x1);
    sbTopLeftY->setValue(y1);
    sbBottomRightX->setValue(x2);
    sbBottomRightY->setValue(y2);
    const bool wholeHeight = settings->chipType() == 4 || settings->chipType() == 5;
    sbTopLeftX->setRange(roi->x1(), roi->sensorWidth() - 1);
    sbTopLeftY->setRange(roi->y1(), wholeHeight ? roi->y2() : roi->sensorHeight() / 2 - 1);
    sbBottomRightX->setRange(roi->x1(), roi->x2());
    sbBottomRightY->setRange(roi->y1(), roi->y2());
}

void InfoPixelScope::storeColumns()
{
    settings->pixelScope()->setX1(sbTopLeftX->value());
    settings->pixelScope()->setX2(sbBottomRightX->value());
}

void InfoPixelScope::setZoomBase()
{
    if (zoomer)
        zoomer->setZoomBase(false);
}

void InfoPixelScope::on_sbTopLeftX_valueChanged(int TopLeftX)
{
    sbBottomRightX->setMinimum(TopLeftX);
    if (cbSingleColumn->isChecked())
        sbBottomRightX->setValue(TopLeftX);
    storeColumns();
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbTopLeftY_valueChanged(int TopLeftY)
{
    sbBottomRightY->setMinimum(TopLeftY);
    if (cbSingleRow->isChecked())
        sbBottomRightY->setValue(TopLeftY);
    settings->pixelScope()->setY1(TopLeftY);
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbBottomRightX_valueChanged(int BottomRightX)
{
    if (!cbSingleColumn->isChecked())
        sbTopLeftX->setMaximum(BottomRightX);
    storeColumns();
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_sbBottomRightY_valueChanged(int BottomRightY)
{
    if (!cbSingleRow->isChecked())
        sbTopLeftY->setMaximum(BottomRightY);
    settings->pixelScope()->setY2(BottomRightY);
    updateXAxis();
    setZoomBase();
}

void InfoPixelScope::on_cbSingleRow_toggled(bool checked)
{
    if (!checked) {
        sbBottomRightY->setEnabled(true);
        return;
    }
    cbSingleColumn->setChecked(false);
    sbBottomRightY->setEnabled(false);
    sbBottomRightY->setValue(sbTopLeftY->value());
    sbTopLeftX->setValue(0);
    sbBottomRightX->setValue(settings->roi()->sensorWidth() - 1);
    sbTopLeftY->setMaximum(settings->roi()->y2());
}

void InfoPixelScope::on_cbSingleColumn_toggled(bool checked)
{
    if (!checked) {
        sbBottomRightX->setEnabled(true);
        return;
    }
    cbSingleRow->setChecked(false);
    sbBottomRightX->setEnabled(false);
    sbBottomRightX->setValue(sbTopLeftX->value());
    sbTopLeftY->setValue(0);
    sbBottomRightY->setValue(settings->roi()->sensorHeight() - 1);
    sbTopLeftX->setMaximum(settings->roi()->x2());
}

void InfoPixelScope::onROIChanged()
{
    const SettingsROI* roi = settings->roi();
    const bool wholeHeight = settings->chipType() == 4 || settings->chipType() == 5;
    const int middleRow = wholeHeight ? roi->y1() + roi->height() / 2 : roi->sensorHeight() / 2 - 1;
    sbTopLeftX->setRange(roi->x1(), roi->sensorWidth() - 1);
    sbTopLeftX->setValue(roi->x1());
    sbTopLeftY->setMinimum(roi->y1());
    sbTopLeftY->setMaximum(wholeHeight ? roi->y2() : middleRow);
    sbTopLeftY->setValue(middleRow);
    sbBottomRightX->setRange(roi->x1(), roi->x2());
    sbBottomRightX->setValue(roi->x2());
    sbBottomRightY->setRange(roi->y1(), roi->y2());
    sbBottomRightY->setValue(middleRow);
    cbSingleColumn->setChecked(false);
    cbSingleRow->setChecked(false);
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
        const int limit = sbMaximumDiff->value();
        plot->setAxisScale(QwtPlot::yRight, -limit, limit);
        plot->enableAxis(QwtPlot::yRight, cbShowAverage->isChecked() || showDifference);
    }
    const int a = sbYAxisMax->value() - sbYAxisMin->value() + 1;
    double step = 1;
    int minor = 0;
    yAxisSteps(a, step, minor);
    plot->setAxisScale(QwtPlot::yLeft, sbYAxisMin->value(), sbYAxisMax->value(), step);
    plot->setAxisMaxMinor(QwtPlot::yLeft, minor);
    plot->replot();
}

void InfoPixelScope::updateLines()
{
    const bool tracking = cbTrackMinMax->isChecked();
    setLinePoints(y1Line, hLine1);
    setCurveShown(y1Line, hLine1 != 0 || tracking);
    setLinePoints(y2Line, hLine2);
    setCurveShown(y2Line, hLine2 != 0 || tracking);
}

void InfoPixelScope::on_sbYAxisMin_valueChanged(int yMin)
{
    if (yMin >= sbYAxisMax->value())
        sbYAxisMin->setValue(sbYAxisMax->value() - 1);
    updateYAxis();
}

void InfoPixelScope::on_sbYAxisMax_valueChanged(int yMax)
{
    if (sbYAxisMin->value() >= yMax)
        sbYAxisMax->setValue(sbYAxisMin->value() + 1);
    updateYAxis();
}

void InfoPixelScope::onHLine1Selected(const QPointF& point)
{
    hLine1 = int16_t(point.y());
    sbHLine1->setValue(hLine1);
    cbTrackMinMax->setChecked(false);
    updateLines();
    plot->replot();
}

void InfoPixelScope::onHLine2Selected(const QPointF& point)
{
    hLine2 = int16_t(point.y());
    sbHLine2->setValue(hLine2);
    cbTrackMinMax->setChecked(false);
    updateLines();
    plot->replot();
}

void InfoPixelScope::on_sbHLine1_valueChanged(int hLine1Y)
{
    hLine1 = int16_t(hLine1Y);
    sbHLineDiff->setValue(sbHLine2->value() - sbHLine1->value());
    updateLines();
}

void InfoPixelScope::on_sbHLine2_valueChanged(int hLine2Y)
{
    hLine2 = int16_t(hLine2Y);
    sbHLineDiff->setValue(sbHLine2->value() - sbHLine1->value());
    updateLines();
}

void InfoPixelScope::onZoomed(const QRectF& rectangleCoordinates)
{
    sbYAxisMin->setValue(int(rectangleCoordinates.y()));
    sbYAxisMax->setValue(int(rectangleCoordinates.y() + rectangleCoordinates.height()));
}

void InfoPixelScope::onModulationFrequencyChanged()
{
    if (!settings->configLoaded() || type != Distance)
        return;
    const int rangeMm = distanceLabeler->updateRangeMm();
    if (sbYAxisMax->value() > rangeMm)
        sbYAxisMax->setValue(rangeMm);
    updateYAxis();
}

void InfoPixelScope::onModulationIndexChanged()
{
    if (type != Amplitude)
        return;
    sbYAxisMax->setValue(settings->distanceCalculation()->maxAmplitude());
    updateYAxis();
}

void InfoPixelScope::onTransformation()
{
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    static const char* const corners[2][2][2] = {
        {{"Upper left corner", "Lower right corner"}, {"Lower left corner", "Upper right corner"}},
        {{"Upper right corner", "Bottom left corner"}, {"Lower right corner", "Upper left corner"}}};
    lScopeCorner1->setText(QLatin1String(corners[horizontal][vertical][0]));
    lScopeCorner2->setText(QLatin1String(corners[horizontal][vertical][1]));
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
        sbMin->setValue(fresh.updateRangeMm());
        sbMax->setValue(0);
        break;
    }
    case Amplitude:
        sbMin->setValue(settings->distanceCalculation()->maxAmplitude());
        sbMax->setValue(0);
        break;
    default:
        sbMin->setValue(2047);
        sbMax->setValue(-2048);
        break;
    }
    movingWindow.clear();
    sbAverage->setValue(0);
    sbAverage1->setValue(0);
}

void InfoPixelScope::on_sbWindowLength_valueChanged(int value)
{
    movingWindow.setLength(value);
}

void InfoPixelScope::on_cbEnableMovingWindow_toggled(bool checked)
{
    sbWindowLength->setEnabled(checked);
    QColor colour(0, 0, 255);
    colour.setAlpha(checked ? 50 : 255);
    currentCurve->setPen(PlotStyle::pen(colour, 1.9));
}

void InfoPixelScope::on_cbTrackMinMax_toggled(bool checked)
{
    if (checked)
        pbReset->click();
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
        sbMaximumDiff->setValue(2047);
    updateYAxis();
}

void InfoPixelScope::on_cbShowDifference_toggled(bool checked)
{
    showDifference = checked;
    lMaximumDiff->setVisible(checked);
    sbMaximumDiff->setVisible(checked);
    updateYAxis();
}

void InfoPixelScope::setFlimControlsVisible(bool flim)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{lAverageMga, lAverageMgb, sbAverage1, cbShowCurve, cbShowCurve1,
                                         cbShowDifference, lMaximumDiff, sbMaximumDiff})
        w->setVisible(flim);
    for (QWidget* w :
         std::initializer_list<QWidget*>{cbEnableMovingWindow, lWindowLength, sbWindowLength, lHLine1,
                                         sbHLine1, lHLine2, sbHLine2, lHLineDiff, sbHLineDiff, cbTrackMinMax})
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
        cbShowCurve->setChecked(true);
        cbShowCurve1->setChecked(true);
        cbShowDifference->setChecked(true);
        showCurve1 = true;
        showDifference = true;
        showCurve = true;
        PlotStyle::setAxisTitle(plot, QwtPlot::yRight, QStringLiteral("mga - mgb  [LSB]"), 8, false);
        plot->setAxisScale(QwtPlot::yRight, -sbMaximumDiff->value(), sbMaximumDiff->value());
        plot->enableAxis(QwtPlot::yRight, true);
    }
    pbReset->click();
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
    ZTRACE() << "getMinimum" << sbMin->value();
    return sbMin->value();
}

int InfoPixelScope::getMaximum() const
{
    ZTRACE() << "getMaximum" << sbMax->value();
    return sbMax->value();
}

int InfoPixelScope::average() const
{
    return sbAverage->value();
}

int InfoPixelScope::average1() const
{
    return sbAverage1->value();
}

void InfoPixelScope::setMinimum(int value)
{
    ZTRACE() << "setMinimum" << value;
    sbMin->setValue(value);
}

void InfoPixelScope::setMaximum(int value)
{
    ZTRACE() << "setMaximum" << value;
    sbMax->setValue(value);
}

void InfoPixelScope::setAverage(int value)
{
    ZTRACE() << "setAverage" << value;
    sbAverage->setValue(value);
}

void InfoPixelScope::setAverage1(int value)
{
    ZTRACE() << "setAverage1" << value;
    sbAverage1->setValue(value);
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
    sbAverage->setValue(movingWindow.overallAverage());
    sbMin->setValue(movingWindow.minimum());
    sbMax->setValue(movingWindow.maximum());
}

void InfoPixelScope::trackMinMax()
{
    if (!cbTrackMinMax->isChecked())
        return;
    hLine1 = int16_t(sbMin->value());
    hLine2 = int16_t(sbMax->value());
    sbHLine1->setValue(hLine1);
    sbHLine2->setValue(hLine2);
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
    setLinePoints(averageLine, sbAverage->value());
    setCurveShown(averageLine, cbShowAverage->isChecked());
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
    const bool averages = cbShowAverage->isChecked();
    setLinePoints(averageLine, sbAverage->value());
    setLinePoints(mgbAverageLine, sbAverage1->value());
    setLinePoints(averageDifferenceLine, sbAverage->value() - sbAverage1->value());
    setCurveShown(averageLine, averages);
    setCurveShown(mgbAverageLine, averages);
    setCurveShown(averageDifferenceLine, averages);
    trackMinMax();
    if (isVisible())
        plot->replot();
}
