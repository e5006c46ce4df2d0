#pragma once

#include "acquisition/Controller.h"
#include "render/DistanceLabeler.h"
#include "service/ApplicationRestart.h"
#include "service/ControllerCommands.h"

#include <QVector>
#include <QWidget>

#include <cstdint>

namespace Ui {
class WidgetCommands;
}
class ApplicationContext;
class DialogSystemInfo;
class InfoDRNUCurve;
class Settings;
class ZelTcp;

// The command console page ("commands"): a command line whose text goes to the camera
// through ControllerCommands (or is handled by the client: calibration page on/off, the TOF /
// FLIM switches), the reply field, and the connection test, register dump and system
// information. The bad-pixel search typed here ends with a restart of the program.
class WidgetCommands final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetCommands(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetCommands() override;

    // Asks the camera for its speed of light through the console, so that the hub has the
    // camera's value before the first range computation. An unusable reply keeps the hub's.
    void readSpeedOfLight();
    void sendModeCommand(const QString& text);
    void requestCalibrationSwitch(bool on);

    ControllerCommands* controllerCommands() { return &commands; }
    InfoDRNUCurve* drnuWindow() { return drnuCurve; }
    DialogSystemInfo* systemInfoDialog() { return systemInfo; }
    ApplicationRestart* restarter() { return &restart; }

signals:
    void enableCalibration(bool state);
    void reloadSettings();
    void hideInfoWindows();
    // The last configuration must be written now: the program restarts without its close.
    void saveConfigApp();

public slots:
    void on_pbDumpAllRegisters_clicked();
    void on_pbExecuteCommand_clicked();
    void on_pbTestConnection_clicked();
    void updateDump(QVector<QString> registerValues);
    void updateResponse(QString response);
    void changeColor();
    void on_pbSystemInfo_clicked();
    void successful(QString version);
    void failed();
    void showSystemInfo(QVector<uint16_t> information);
    void onCalibrationMarathonDone(bool successful);
    void onSearchBadPixelsDone(bool successful);
    void onCalibrationMarathonInProgress();
    void onSearchBadPixelsInProgress();
    void onCalibrateDRNUDone(bool successful);
    void onCalibrateDRNUInProgress();
    void onShowDRNU(int16_t* val);
    void onHideDRNU();
    void disableCalibration();
    void enableCalibration();

private:
    // Drops the connections that route a console command's outcome to this page.
    void disconnectResponse();
    // Shows a long operation's outcome and makes the send button usable again.
    void showLongResult(const QString& text);
    void releaseSendButton();
    // Drops the connection test's connections and shows its result.
    void endConnectionTest(int kind, const QString& text);
    // The camera's status word of a long operation: 0 success, -1 results not stored. It
    // counts only when the exchange itself succeeded (otherwise the buffer holds an earlier
    // reply); 1 stands for "no status".
    int longStatus(bool exchanged) const;

    Ui::WidgetCommands* ui;
    Settings* settings;
    ZelTcp* tcp;
    ControllerCommands commands;
    DistanceLabeler labeler;
    Controller controller;
    DialogSystemInfo* systemInfo;
    InfoDRNUCurve* drnuCurve;
    ApplicationRestart restart;
};
