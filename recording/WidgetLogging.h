#pragma once

#include <QWidget>

class QCloseEvent;
class Settings;

namespace Ui {
class WidgetLogging;
}

// The capture panel: a small window beside the live image that edits the logging options of
// the settings hub and starts a capture, which the Logging page records. It keeps no options
// of its own; it tells the page of every change through the hub's updateLog() and reloads its
// controls on the hub's updateCaptureLog(). In the DCS + grayscale mode only the name, path,
// number of pictures and capture are offered, and "Unlimited" is on: that mode records in
// rounds until it is cleared.
class WidgetLogging final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetLogging(Settings* settings, QWidget* parent = nullptr);
    ~WidgetLogging() override;

    // While a run of the Logging page is going on, "Capture" reads "Stop": a click ends a run
    // that records in rounds after its current round.
    void setRunActive(bool active);

public slots:
    void on_tbBrowse_clicked();
    void on_tbCapture_clicked();
    void on_cbDistanceUnfiltered_toggled(bool checked);
    void on_cbAmplitude_toggled(bool checked);
    void on_cbDistanceFiltered_toggled(bool checked);
    void on_sbNumberOfPictures_valueChanged(int arg1);
    void on_cbCSV_toggled(bool checked);
    void on_cbPNG_toggled(bool checked);
    void on_rbLSB_toggled(bool checked);
    void on_leFileName_textChanged(const QString& arg1);
    void on_leFilePath_textChanged(const QString& arg1);
    void updateControls();
    void on_cbBin_toggled(bool checked);
    void on_cbUnlimited_toggled(bool checked);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Ui::WidgetLogging* ui;
    Settings* settings;
    bool runActive = false;
};
