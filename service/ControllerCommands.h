#pragma once

#include "acquisition/Controller.h"
#include "link/Replies.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <cstdint>

class ApplicationContext;
class Settings;
class ZelTcp;

// Runs the command console's commands and the calibration page's long camera operations.
// Every entry is one command transaction on the member Controller: pause acquisition, then
// the slot named in the entry does the exchange once the channel is free.
//
// Typed lines are routed by keyword: some the client answers itself (frame-rate display,
// edge threshold, DRNU window), some have a reply of their own layout (speed of light, DRNU
// table), the long camera operations ("factoryCalibration", "searchBadPixels",
// "calibrateDRNU") run as event-driven exchanges, and anything else is sent as typed and
// its reply shown as 16-bit hexadecimal values.
//
// A long operation keeps the panels locked from its start to its completion signal, so that
// neither a setting nor a video start opens a second exchange on the one channel whose reply
// would be taken for the operation's result. Afterwards acquisition stays paused (except
// after a successful "factoryCalibration").
//
// stopVideo() / startVideo() follow the hub's stopped() / startedVideo(): every stop of
// acquisition, the main window's close included, tells the camera "stopVideo" and leaves the
// acquisition loop stopped (a stop that bypassed the view panel is passed to it first). A
// stop during a long operation sends nothing: the operation keeps the channel.
class ControllerCommands final : public QObject
{
    Q_OBJECT

public:
    explicit ControllerCommands(ApplicationContext* context);
    ~ControllerCommands() override;

    void executeCommand(const QString& text);
    void requestRegisterDump();
    void requestConnectionCheck();
    void requestChipInfo();

    // The console's presentation of replies, used by the slots below.
    // Consecutive 16-bit values as upper-case hexadecimal, at least two digits, each followed
    // by a space; "operation failed..." when any value is -1.
    static QString hexAnswer(const QByteArray& reply);
    // One line per register: "0x", the address, "\t 0x", the register's low byte.
    static QVector<QString> dumpLines(const QByteArray& reply);
    // major.minor.patch of a "version" reply.
    static QString versionText(quint16 version);

    const int16_t* drnu() const { return drnuTable; }
    // True from the start of a long camera operation to its completion signal.
    bool longCommandRunning() const { return longCommand != LongCommand::None; }

signals:
    void answerReceived(QString answer);
    void dumpReceived(QVector<QString> dump);
    void connectionFailed();
    void success(QString version);
    void failed();
    // Empty when the camera could not be reached.
    void chipInfoReceived(QVector<uint16_t> information);
    void calibrationMarathonDone(bool success);
    void calibrationMarathonInProgress();
    void searchBadPixelsDone(bool success);
    void searchBadPixelsInProgress();
    void calibrateDRNUDone(bool success);
    void calibrateDRNUInProgress();
    void showDRNU(int16_t* val);
    void hideDRNU();

public slots:
    void dumpRegister();
    void sendCommand();
    void checkConnection();
    void checkChipInfo();
    void onCalibrationMarathonSuccessful();
    void onCalibrationMarathonFailed();
    void onSearchBadPixelsSuccessful();
    void onSearchBadPixelsFailed();
    void onCalibrateDRNUFailed();
    void onCalibrateDRNUSuccessful();
    void startVideo();
    void startedVideo();
    void stopVideo();
    void stopedVideo();

private:
    using Slot = void (ControllerCommands::*)();
    enum class LongCommand
    {
        None,
        Marathon,
        SearchBadPixels,
        CalibrateDRNU
    };

    void begin(Slot slot);
    bool exchange(Slot slot, const QString& text, int timeout);
    void answer(const QString& text);

    void readSpeedOfLight();
    void writeSpeedOfLight();
    void readDrnu(const QString& answerText);
    void setEdgeThreshold();
    void sendGeneric();
    // "startVideo" / "stopVideo" after giving an exchange in flight 500 ms.
    void switchVideo(Slot slot, const QString& text, int timeout);
    void startLong(LongCommand which, Slot success, Slot failure, int timeout);
    // Removes the channel connections of the long operation; false when none was running
    // (a stray completion).
    bool endLong(Slot success, Slot failure);
    using Done = void (ControllerCommands::*)(bool);
    // Ends a long operation: unlocks the panels (or resumes after a successful marathon) and
    // emits its completion signal.
    void finishLong(Slot success, Slot failure, Done done, bool exchanged);

    Settings* settings;
    ZelTcp* tcp;
    Controller controller;
    QString command;
    LongCommand longCommand = LongCommand::None;
    int16_t drnuTable[Replies::drnuTableCount] = {};
};
