// The view panel's acquisition settings panels: each is created once, lives in its option
// group box for the whole run, and is shown or hidden by the chip and the view mode.
#include "app/WidgetView.h"

#include "app/ApplicationContext.h"
#include "config/WidgetSettings3D.h"
#include "config/WidgetSettingsBinningAndReduction.h"
#include "config/WidgetSettingsIntegrationTime.h"
#include "config/WidgetSettingsModulation.h"
#include "config/WidgetSettingsROI.h"
#include "config/WidgetSettingsTransformation.h"
#include "settings/Settings.h"
#include "ui_WidgetView.h"

#include <QGroupBox>
#include <QLayout>

namespace {
void place(QGroupBox* box, QWidget* panel)
{
    box->layout()->addWidget(panel);
}

// The sensors read as two mirrored halves: their bottom ROI row follows the top row.
bool mirroredHalves(int chipType)
{
    return chipType >= 1 && chipType <= 3;
}
} // namespace

void WidgetView::setUpSettingsPanels(ApplicationContext* context)
{
    panelIntegrationTime = new WidgetSettingsIntegrationTime(context);
    panelModulation = new WidgetSettingsModulation(context);
    panel3D = new WidgetSettings3D(context);
    panelBinning = new WidgetSettingsBinningAndReduction(context);
    panelRoi = new WidgetSettingsROI(context);
    panelTransformation = new WidgetSettingsTransformation(context);
    place(ui->gbOptionsIntegrationTime, panelIntegrationTime);
    place(ui->gbOptionsModulation, panelModulation);
    place(ui->gbOptions3D, panel3D);
    place(ui->gbOptionsBinningAndReduction, panelBinning);
    place(ui->gbOptionsROI, panelRoi);
    place(ui->gbOptionsTransformation, panelTransformation);

    // Conditions B (the frequency's calibration) and D (full-resolution readout) of the
    // correction gate.
    connect(panelModulation, &WidgetSettingsModulation::updateCorrFields, this,
            &WidgetView::updateCorrectionFields);
    connect(panelBinning, &WidgetSettingsBinningAndReduction::updateCorrFields, this,
            &WidgetView::updateCorrectionFields);
    applyViewModeToSettingsPanels(ui->cbViewMode->currentIndex());
}

void WidgetView::applyChipToSettingsPanels(bool flimChip)
{
    // The start-up sequence has read the camera's frequency list by now.
    panelModulation->fillFrequencies();
    const int chipType = settings->chipType();
    panelRoi->setEmulationLabel(flimChip);
    panelRoi->setEmulationVisible(chipType == 2 || chipType == 3);
    panelRoi->setBottomRightYEnabled(!mirroredHalves(chipType));
    panelRoi->applySensorLimits();
    // A FLIM chip has its gate timing instead of integration times, and no distances.
    ui->gbOptionsIntegrationTime->setVisible(!flimChip);
    ui->gbOptions3D->setVisible(!flimChip && ui->cbViewMode->currentIndex() != 0);
}

void WidgetView::applyViewModeToSettingsPanels(int index)
{
    if (!panelIntegrationTime)
        return;
    // Grayscale uses the 2D time; the DCS + grayscale mode takes both pictures.
    panelIntegrationTime->showTofTime(index != 0);
    if (index == 8)
        panelIntegrationTime->showGrayscaleTime(true);
    // Distance range, amplitude minimum and offset mean nothing to a grayscale picture.
    ui->gbOptions3D->setVisible(!flimLayout && index != 0);
}
