#pragma once

#include "config/ControllerFLIM.h"

#include <QWidget>

class ApplicationContext;
class GraphFLIM;
class Settings;
class SettingsFLIM;

namespace Ui {
class WidgetSettingsFLIM;
}

// The FLIM gate timing panel: flash, mga and mgb delays and widths, the cycle time and the
// number of cycles, with the timing graph beside them. Times are shown in ns and sent in
// whole steps of the camera's FLIM step; the FLIM fields are never locked.
class WidgetSettingsFLIM final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsFLIM(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsFLIM() override;

    // The arrows of the time fields move by one FLIM step (called again once the start-up
    // sequence has read the step from the camera).
    void applyStep();
    GraphFLIM* graph() const;

    // Whole steps for a time in ns: (ns + margin) / step, truncated; 0 while the step is
    // unknown (0), which has no conversion.
    static int toSteps(double ns, double margin, double step);

public slots:
    void on_sbNRepetition_valueChanged(int arg1);
    void on_sbFlashDelay_valueChanged(double arg1);
    void on_sbFlashWidth_valueChanged(double arg1);
    void on_sbT1_valueChanged(double arg1);
    void on_sbT2_valueChanged(double arg1);
    void on_sbT3_valueChanged(double arg1);
    void on_sbT4_valueChanged(double arg1);
    void on_sbTREP_valueChanged(double arg1);

private:
    using Change = void (ControllerFLIM::*)(int);
    using GraphSetter = void (GraphFLIM::*)(int);
    using HubSteps = int (SettingsFLIM::*)() const;
    void sendTime(double ns, double margin, Change change, GraphSetter setter, HubSteps held);

    Ui::WidgetSettingsFLIM* ui;
    Settings* settings;
    ControllerFLIM controller;
};
