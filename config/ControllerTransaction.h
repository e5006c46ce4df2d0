#pragma once

#include "acquisition/Controller.h"
#include "link/Commands.h"

#include <QObject>
#include <QString>

class ApplicationContext;
class Settings;
class ZelTcp;

// What every setting controller that talks to the camera shares: the command transaction.
// An entry stores its argument and calls begin() with its slot; the slot runs once the
// acquisition loop is quiet (at once when video is stopped), sends its one blocking command
// through exchange(), writes the hub and calls controller.resume(), which restarts video
// when it was running and unlocks the settings panels.
//
// A command the camera did not receive is announced on the hub (Settings::commandFailed)
// with the command text, so that the main window can say which setting did not reach the
// camera; the transaction itself goes on as if it had succeeded.
class ControllerTransaction : public QObject
{
    Q_OBJECT

public:
    explicit ControllerTransaction(ApplicationContext* context);
    ~ControllerTransaction() override;

    // The acquisition-pause object of this controller (the 3D panel resumes through it after
    // a modulation-frequency change, so that the new automatic offset is read).
    Controller* pauseController() { return &controller; }

protected:
    // First half of a transaction. Not a unique connection: a second entry for the same slot
    // before the pause arrives only overwrites the pending value, and the slot's first
    // disconnect removes both connections, so the command goes out once with the latest value.
    template <class Derived>
    void begin(void (Derived::*slot)())
    {
        connect(&controller, &Controller::videoPaused, static_cast<Derived*>(this), slot);
        controller.requestPause();
    }

    // The slot's own exchange: stops listening for the pause, sends; true when the camera was
    // reached (otherwise the reply buffer still holds an earlier exchange).
    template <class Derived>
    bool exchange(void (Derived::*slot)(), const QString& command, int timeout = Commands::Timeout::settings)
    {
        disconnect(&controller, &Controller::videoPaused, static_cast<Derived*>(this), slot);
        return sendCommand(command, timeout);
    }

    // The common slot body without a hub update: exchange, then resume.
    template <class Derived>
    void send(void (Derived::*slot)(), const QString& command, int timeout = Commands::Timeout::settings)
    {
        exchange(slot, command, timeout);
        controller.resume();
    }

    // A further command inside a running slot (the offset sends two).
    bool sendCommand(const QString& command, int timeout = Commands::Timeout::settings);

    Settings* settings;
    ZelTcp* tcp;
    Controller controller;
};
