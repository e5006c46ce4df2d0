#pragma once

#include <QWidget>

class ApplicationContext;
class ControllerBinningAndReduction;
class Settings;

namespace Ui {
class WidgetSettingsBinningAndReduction;
}

// Binning and row reduction. Reduced readouts are not covered by the DRNU and temperature
// calibration: the panel reports that to the view panel's correction gate
// (updateCorrFields(-4) while any reduction is on, +4 at full resolution).
class WidgetSettingsBinningAndReduction final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsBinningAndReduction(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsBinningAndReduction() override;

    ControllerBinningAndReduction* controller() const { return binningController; }

signals:
    void updateCorrFields(int);

public slots:
    void lockFields(bool state);
    // Dual MGX and HDR read rows in pairs of their own: vertical binning is not available.
    void lockVerticalBinning(bool enable);
    void on_cbBinningVertical_toggled(bool checked);
    void on_cbBinningHorizontal_toggled(bool checked);
    void on_cbRowReduction_currentIndexChanged(int index);

private:
    void announceCorrectionCondition();
    void setFullSelectable(bool selectable);

    Ui::WidgetSettingsBinningAndReduction* ui;
    Settings* settings;
    ControllerBinningAndReduction* binningController;
    bool verticalBinningOn = false;
    bool horizontalBinningOn = false;
    bool verticalBinningLocked = false;
};
