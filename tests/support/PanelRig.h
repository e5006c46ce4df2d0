#pragma once

#include "app/ApplicationContext.h"
#include "settings/Settings.h"
#include "settings/SettingsSocket.h"
#include "support/ScriptedServer.h"

#include <QWidget>

// A context talking to a scripted camera on loopback, acquisition stopped: what the settings
// panels' tests send their commands through.
struct PanelRig
{
    PanelRig()
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(server.port());
        settings()->setReadOffsetOnResume(false);
    }
    Settings* settings() { return context.settings(); }
    QStringList sent() { return server.commands(); }

    ScriptedServer server{{ScriptedServer::Step::answer(QByteArray())}};
    ApplicationContext context;
};

// A panel's control by object name; a missing one is a test fault.
template <typename T>
T* child(QWidget* panel, const char* name)
{
    T* widget = panel->findChild<T*>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}
