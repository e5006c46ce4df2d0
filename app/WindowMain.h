#pragma once

#include <QMainWindow>
#include <QString>

class ApplicationContext;
class Settings;
class StartupManager;
class ZelTcp;

namespace Ui {
class WindowMain;
}

// The application's main window: title strip with the product label and the logo, the tool
// bar that switches the pages, the page stack and the correction status strip. The pages
// themselves (view panel, console, logging, calibration, save/load) are added as they are
// built; until then the stack is empty.
class WindowMain final : public QMainWindow
{
    Q_OBJECT

public:
    WindowMain(ApplicationContext* context, StartupManager* startupManager, QWidget* parent = nullptr);
    ~WindowMain() override;

    // The start-up initialisation after the connection: product label and FLIM layout by chip
    // type, then the configuration of the chip (the default or the last one).
    void initialize(bool loadDefault);

    // The configuration file that the last initialize() chose (empty: none for this chip).
    QString chosenConfiguration() const { return m_chosenConfiguration; }

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
    void enableCalibration(bool state);
    void enableLogIcon(bool state);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showPage(int index);
    void startVideo();

    Ui::WindowMain* ui;
    Settings* settings;
    ZelTcp* tcp;
    StartupManager* startupManager;
    QString m_chosenConfiguration;
    bool m_startVideoWhenShown = false;
};
