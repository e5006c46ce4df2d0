#include "config/WidgetSettingsROI.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsROI.h"

#include <QSignalBlocker>

namespace {
// The centred 160 x 60 region of the smaller sensor.
constexpr int emulationRoi[4] = {84, 243, 96, 155};

bool isOdd(int value)
{
    return (value & 1) != 0;
}
} // namespace

WidgetSettingsROI::WidgetSettingsROI(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), ui(new Ui::WidgetSettingsROI), settings(context->settings()), controller(context)
{
    ui->setupUi(this);
    ui->sbTopLeftY->setMaximum(118);
    ui->lShow->hide();
    ui->cbShow->hide();
    ui->cbShow->setEnabled(false);

    SettingsROI* roi = settings->roi();
    connect(roi, &SettingsROI::roiChangedUpdateFields, this, &WidgetSettingsROI::updateROI);
    connect(settings->transformation(), &SettingsTransformation::horizontalFlipped, this,
            &WidgetSettingsROI::transform);
    connect(settings->transformation(), &SettingsTransformation::verticalFlipped, this,
            &WidgetSettingsROI::transform);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsROI::lockFields);
    connect(roi, &SettingsROI::emulationLoaded, this, &WidgetSettingsROI::applyLoadedEmulation);
}

WidgetSettingsROI::~WidgetSettingsROI()
{
    ZTRACE() << "-----WidgetSettingsROI destroying";
    delete ui;
}

void WidgetSettingsROI::setEmulationLabel(bool flim)
{
    ui->cbEmulation->setText(flim ? QStringLiteral("Emulation zc220") : QStringLiteral("Emulation zc310"));
}

void WidgetSettingsROI::setBottomRightYEnabled(bool enabled)
{
    ui->sbBottomRightY->setEnabled(enabled);
}

void WidgetSettingsROI::setEmulationVisible(bool visible)
{
    ui->cbEmulation->setVisible(visible);
}

void WidgetSettingsROI::applySensorLimits()
{
    const SettingsROI* roi = settings->roi();
    ui->sbBottomRightX->setMaximum(roi->sensorWidth() - 1);
    ui->sbBottomRightY->setMaximum(roi->sensorHeight() - 1);
}

bool WidgetSettingsROI::mirroredHalves() const
{
    const int chipType = settings->chipType();
    return chipType >= 1 && chipType <= 3;
}

void WidgetSettingsROI::sendRoi()
{
    settings->announceFieldsLocked(true);
    controller.changeRoi(ui->sbTopLeftX->value(), ui->sbBottomRightX->value(), ui->sbTopLeftY->value(),
                         ui->sbBottomRightY->value());
}

// Each corner first corrects its parity; the corrected value comes back through the same
// slot and is the one sent.

void WidgetSettingsROI::on_sbTopLeftX_valueChanged(int arg1)
{
    if (isOdd(arg1)) {
        ui->sbTopLeftX->setValue(arg1 + 1);
        return;
    }
    ui->sbBottomRightX->setMinimum(settings->roi()->minRoiWidth() + arg1 - 1);
    sendRoi();
}

void WidgetSettingsROI::on_sbBottomRightX_valueChanged(int arg1)
{
    if (!isOdd(arg1)) {
        ui->sbBottomRightX->setValue(arg1 - 1);
        return;
    }
    ui->sbTopLeftX->setMaximum(arg1 - settings->roi()->minRoiWidth() + 1);
    sendRoi();
}

void WidgetSettingsROI::on_sbTopLeftY_valueChanged(int arg1)
{
    if (isOdd(arg1)) {
        ui->sbTopLeftY->setValue(arg1 - 1);
        return;
    }
    const SettingsROI* roi = settings->roi();
    ui->sbBottomRightY->setMinimum(roi->minRoiHeight() + arg1 - 1);
    if (ui->cbShow->currentIndex() == 0 && mirroredHalves()) {
        // The bottom row mirrors the top row about the sensor's centre line.
        const QSignalBlocker blocker(ui->sbBottomRightY);
        ui->sbBottomRightY->setValue(roi->sensorHeight() - arg1 - 1);
    }
    sendRoi();
}

void WidgetSettingsROI::on_sbBottomRightY_valueChanged(int arg1)
{
    if (!isOdd(arg1)) {
        ui->sbBottomRightY->setValue(arg1 - 1);
        return;
    }
    // On the mirrored-half sensors the bottom row follows the top row.
    if (mirroredHalves())
        return;
    ui->sbTopLeftY->setMaximum(arg1 - settings->roi()->minRoiHeight() + 1);
    sendRoi();
}

void WidgetSettingsROI::on_cbShow_currentIndexChanged(int index)
{
    struct OutputMode
    {
        int topMin, topMax, bottomMin, bottomMax;
        bool bottomEnabled;
        int top, bottom;
    };
    static constexpr OutputMode modes[3] = {
        {0, 124, 2, 251, false, 6, 245},     // Both
        {0, 124, 2, 125, true, 6, 125},      // Top
        {126, 250, 127, 251, true, 126, 245} // Bottom
    };
    if (index < 0 || index > 2)
        return;
    const OutputMode& mode = modes[index];
    {
        const QSignalBlocker top(ui->sbTopLeftY);
        const QSignalBlocker bottom(ui->sbBottomRightY);
        ui->sbTopLeftY->setRange(mode.topMin, mode.topMax);
        ui->sbBottomRightY->setRange(mode.bottomMin, mode.bottomMax);
        ui->sbBottomRightY->setEnabled(mode.bottomEnabled);
        ui->sbTopLeftY->setValue(mode.top);
        ui->sbBottomRightY->setValue(mode.bottom);
    }
    sendRoi();
}

void WidgetSettingsROI::lockFields(bool state)
{
    ui->sbTopLeftX->setReadOnly(state);
    ui->sbBottomRightX->setReadOnly(state);
    ui->sbTopLeftY->setReadOnly(state);
    ui->sbBottomRightY->setReadOnly(state);
}

void WidgetSettingsROI::updateROI()
{
    const SettingsROI* roi = settings->roi();
    {
        const QSignalBlocker x1(ui->sbTopLeftX);
        const QSignalBlocker x2(ui->sbBottomRightX);
        const QSignalBlocker y1(ui->sbTopLeftY);
        const QSignalBlocker y2(ui->sbBottomRightY);
        // The limits first, so that a region from the hub is not clipped by the previous
        // region's interlocks.
        ui->sbTopLeftX->setMaximum(roi->x2() - roi->minRoiWidth() + 1);
        ui->sbBottomRightX->setMinimum(roi->minRoiWidth() + roi->x1() - 1);
        ui->sbBottomRightY->setMinimum(roi->minRoiHeight() + roi->y1() - 1);
        ui->sbTopLeftX->setValue(roi->x1());
        ui->sbBottomRightX->setValue(roi->x2());
        ui->sbTopLeftY->setValue(roi->y1());
        ui->sbBottomRightY->setValue(roi->y2());
    }
    // Without an identified camera (offline start) the fields only show the region.
    if (settings->chipType() != 0)
        sendRoi();
}

void WidgetSettingsROI::on_cbEmulation_toggled(bool checked)
{
    SettingsROI* roi = settings->roi();
    roi->setEmulation(checked);
    if (checked)
        roi->setRoiAndFields(emulationRoi[0], emulationRoi[1], emulationRoi[2], emulationRoi[3]);
    else
        roi->setRoiAndFields(roi->defaultX1(), roi->defaultX2(), roi->defaultY1(), roi->defaultY2());
    enableCornerFields(!checked);
    updateROI();
}

void WidgetSettingsROI::enableCornerFields(bool enabled)
{
    for (QWidget* field : {static_cast<QWidget*>(ui->sbTopLeftX), static_cast<QWidget*>(ui->sbBottomRightX),
                           static_cast<QWidget*>(ui->sbTopLeftY), static_cast<QWidget*>(ui->tbDefaultROI)})
        field->setEnabled(enabled);
}

// A configuration announces the switch twice (negated, then its value) and sets its region
// afterwards: toggling the box would replace that region with the default or the emulated
// one, so the region stored with the configuration would never reach the camera.
void WidgetSettingsROI::applyLoadedEmulation(bool on)
{
    {
        const QSignalBlocker blocker(ui->cbEmulation);
        ui->cbEmulation->setChecked(on);
    }
    settings->roi()->setEmulation(on);
    enableCornerFields(!on);
}

void WidgetSettingsROI::transform()
{
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    static const char* const corners[4][2] = {
        {"Upper left corner", "Lower right corner"},
        {"Upper right corner", "Bottom left corner"},
        {"Lower left corner", "Upper right corner"},
        {"Lower right corner", "Upper left corner"},
    };
    const int row = (horizontal ? 1 : 0) + (vertical ? 2 : 0);
    ui->lCorner1->setText(QLatin1String(corners[row][0]));
    ui->lCorner2->setText(QLatin1String(corners[row][1]));
}

void WidgetSettingsROI::on_tbDefaultROI_clicked()
{
    SettingsROI* roi = settings->roi();
    roi->setRoiAndFields(roi->defaultX1(), roi->defaultX2(), roi->defaultY1(), roi->defaultY2());
}
