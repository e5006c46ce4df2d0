#pragma once

#include "settings/Settings3D.h"
#include "settings/SettingsManager.h"

#include <QMainWindow>
#include <QString>

class ApplicationContext;
class QLabel;
class QTimer;
class Settings;
class StartupManager;
class WidgetCalibration;
class WidgetCommands;
class WidgetLog;
class WidgetView;
class WidgetSaveLoad;
class ZelTcp;

namespace Ui {
class WindowMain;
}

// The application's main window: title strip with the product label and the logo, the tool
// bar that switches the pages, the page stack (view panel, command console, logging,
// calibration, save/load) and the correction status strip. After the start-up it loads the
// chip's configuration (initialize); on close it writes the last configuration and shuts
// the channel down.
class WindowMain final : public QMainWindow
{
    Q_OBJECT

public:
    // How long the status strip names a settings command the camera did not receive.
    static constexpr int kCommandFailedShownMs = 10000;

    enum Page
    {
        PageView = 0,
        PageCommands = 1,
        PageLog = 2,
        PageCalibration = 3,
        PageSaveLoad = 4
    };

    WindowMain(ApplicationContext* context, StartupManager* startupManager, QWidget* parent = nullptr);
    ~WindowMain() override;

    // The start-up initialisation after the connection, and again after a reload: product
    // label and FLIM layout by chip type, the chip's configuration (the default or the last
    // one), sensor geometry, window geometry, automatic offset, calibration page, the
    // pre-configuration offer after a default load, and the correction lock.
    void initialize(bool loadDefault);

    // The configuration file that the last initialize() loaded first (empty: none for this
    // chip).
    QString chosenConfiguration() const { return m_chosenConfiguration; }

    // After a default load the save/load page offers a pre-configuration file. Unattended
    // starts (command line "--load-default") switch the offer off.
    void setOfferPreConfiguration(bool offer) { m_offerPreConfiguration = offer; }

    // Live video once the window is shown (command line "--start-video").
    void setStartVideoWhenShown(bool start) { m_startVideoWhenShown = start; }
    bool startVideoWhenShown() const { return m_startVideoWhenShown; }

signals:
    void showLogDialog(bool);
    // The start of live video that --start-video asked for has been requested.
    void videoStartRequested();

public slots:
    void on_actionCommand_triggered();
    void on_actionView_triggered();
    void on_actionLog_triggered();
    void on_actionCalibration_triggered();
    void on_actionSaveLoad_triggered();
    void on_tbLogo_clicked();
    void updateStatus(Settings3D::CalibrationType type);
    void saveConfiguration();
    void enableCalibration(bool state);
    void reloadSettings();
    void enableLogIcon(bool state);
    // A settings command did not reach the camera: the status strip names it for a while.
    void showCommandFailed(const QString& command);
    // The text that showCommandFailed() shows (empty once it has expired).
    QString commandFailedText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpForChip(int chipType);
    void loadConfiguration(int chipType, bool loadDefault);
    void applyWindowGeometry();
    void readAutomaticOffset();
    void applyCorrectionLock();
    void startVideo();

    Ui::WindowMain* ui;
    QLabel* lCommandFailed;
    QTimer* commandFailedExpiry;
    Settings* settings;
    ZelTcp* tcp;
    SettingsManager manager;
    StartupManager* startupManager;
    WidgetView* view;
    WidgetCommands* commands;
    WidgetLog* log;
    WidgetCalibration* calibration;
    WidgetSaveLoad* saveLoad;
    QString m_chosenConfiguration;
    bool m_offerPreConfiguration = true;
    bool m_startVideoWhenShown = false;
};
