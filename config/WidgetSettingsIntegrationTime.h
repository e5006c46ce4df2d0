#pragma once

#include "config/ControllerIntegrationTime.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsIntegrationTime;
}

// The integration times: grayscale (2D), TOF and, with HDR, the second TOF time; and the
// length of the pseudo-noise sequence, of which the TOF time should be a multiple.
class WidgetSettingsIntegrationTime final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsIntegrationTime(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsIntegrationTime() override;

    // The TOF time for the distance modes, the grayscale time otherwise.
    void showTofTime(bool tof);
    void showGrayscaleTime(bool visible);
    // "off" for sinusoidal modulation, otherwise the sequence length in µs; "n/a" without a
    // known modulation frequency.
    static QString pnSequenceText(int modulationIndex, int lfsrIndex, int frequencyHz);

public slots:
    void lock2DField(bool state);
    void on_sbIntegrationTime2D_valueChanged(int arg1);
    void on_sbIntegrationTime3D_valueChanged(int arg1);
    void lockFields(bool state);
    void updateMinPNSeq();
    void on_sbIntegrationTime3DHDR_valueChanged(int arg1);

private:
    Ui::WidgetSettingsIntegrationTime* ui;
    Settings* settings;
    ControllerIntegrationTime controller;
};
