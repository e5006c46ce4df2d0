#pragma once

#include "link/ZelTcp.h"
#include "settings/Settings.h"

// The objects that live for the whole run, created by the entry point before anything else.
// Every long-lived object receives a pointer to the context and borrows the settings and the
// command channel from it; nothing else is global.
class ApplicationContext final
{
public:
    ApplicationContext();
    ~ApplicationContext();
    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    Settings* settings() { return &m_settings; }
    ZelTcp* tcp() { return &m_tcp; }

private:
    // Constructed in this order, destroyed in reverse: the channel reads its address from the
    // settings' socket sub-object, so it goes first.
    Settings m_settings;
    ZelTcp m_tcp;
    // The shared image creator goes here (built with the settings).
    // The first and the second image post-processor go here (built with the settings).
};
