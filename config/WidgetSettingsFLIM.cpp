#include "config/WidgetSettingsFLIM.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "measurement/GraphFLIM.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsFLIM.h"

#include <cmath>
#include <limits>

namespace {
// Added before truncating, so that a time shown as a whole number of steps is not lost to
// rounding; the flash width needs a little more.
constexpr double timeMargin = 0.2;
constexpr double flashWidthMargin = 0.4;
// The fields show two decimals.
constexpr double shownPrecision = 0.005 + 1e-9;
} // namespace

WidgetSettingsFLIM::WidgetSettingsFLIM(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), ui(new Ui::WidgetSettingsFLIM), settings(context->settings()), controller(context)
{
    ui->setupUi(this);
    SettingsFLIM* flim = settings->flim();
    connect(flim, &SettingsFLIM::flashDelayChanged, ui->sbFlashDelay, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::flashWidthChanged, ui->sbFlashWidth, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::mgaDelayChanged, ui->sbT1, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::mgaWidthChanged, ui->sbT2, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::mgbDelayChanged, ui->sbT3, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::mgbWidthChanged, ui->sbT4, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::repetitionTimeChanged, ui->sbTREP, &QDoubleSpinBox::setValue);
    connect(flim, &SettingsFLIM::repetitionsChanged, ui->sbNRepetition, &QSpinBox::setValue);
    applyStep();
}

WidgetSettingsFLIM::~WidgetSettingsFLIM()
{
    ZTRACE() << "-----WidgetSettingsFLIM destroying";
    delete ui;
    ZTRACE() << "-----WidgetSettingsFLIM destroyed";
}

GraphFLIM* WidgetSettingsFLIM::graph() const
{
    return ui->widgetGraph;
}

void WidgetSettingsFLIM::applyStep()
{
    const double step = settings->flim()->step();
    // Without a step from the camera the arrows keep their whole nanosecond.
    if (step <= 0)
        return;
    for (QDoubleSpinBox* box :
         {ui->sbFlashDelay, ui->sbFlashWidth, ui->sbT1, ui->sbT2, ui->sbT3, ui->sbT4, ui->sbTREP})
        box->setSingleStep(step);
}

int WidgetSettingsFLIM::toSteps(double ns, double margin, double step)
{
    if (!(step > 0))
        return 0;
    const double steps = (ns + margin) / step;
    if (!std::isfinite(steps) || steps >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(steps);
}

void WidgetSettingsFLIM::sendTime(double ns, double margin, Change change, GraphSetter setter, HubSteps held)
{
    SettingsFLIM* flim = settings->flim();
    const double step = flim->step();
    if (step > 0) {
        // The hub announces the steps it holds in ns (a loaded configuration, or the echo of a
        // sent value): those steps are sent as they are. Converting them again would add a
        // step whenever the margin exceeds the step, and every echo would add another.
        const int heldSteps = (flim->*held)();
        const bool fromHub = std::abs(ns - heldSteps * step) < shownPrecision;
        (controller.*change)(fromHub ? heldSteps : toSteps(ns, margin, step));
    } else
        ZTRACE() << "FLIM step unknown, timing not sent";
    (ui->widgetGraph->*setter)(int(ns));
    ui->widgetGraph->redraw();
}

void WidgetSettingsFLIM::on_sbNRepetition_valueChanged(int arg1)
{
    controller.changeRepetitions(arg1);
}

void WidgetSettingsFLIM::on_sbFlashDelay_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeFlashDelay, &GraphFLIM::setFlashDelay,
             &SettingsFLIM::flashDelay);
}

void WidgetSettingsFLIM::on_sbFlashWidth_valueChanged(double arg1)
{
    sendTime(arg1, flashWidthMargin, &ControllerFLIM::changeFlashWidth, &GraphFLIM::setFlashWidth,
             &SettingsFLIM::flashWidth);
}

void WidgetSettingsFLIM::on_sbT1_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeT1, &GraphFLIM::setMgaDelay, &SettingsFLIM::mgaDelay);
}

void WidgetSettingsFLIM::on_sbT2_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeT2, &GraphFLIM::setMgaWidth, &SettingsFLIM::mgaWidth);
}

void WidgetSettingsFLIM::on_sbT3_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeT3, &GraphFLIM::setMgbDelay, &SettingsFLIM::mgbDelay);
}

void WidgetSettingsFLIM::on_sbT4_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeT4, &GraphFLIM::setMgbWidth, &SettingsFLIM::mgbWidth);
}

void WidgetSettingsFLIM::on_sbTREP_valueChanged(double arg1)
{
    sendTime(arg1, timeMargin, &ControllerFLIM::changeTREP, &GraphFLIM::setRepetitionTime,
             &SettingsFLIM::repetitionTime);
}
