#pragma once

#include "link/ZelTcp.h"
#include "render/EdgeFilter.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
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
    ZelImageCreator* imageCreator() { return &m_imageCreator; }
    // The filters every image view runs on its frames: bad pixels, median, Gauss, HDR merge ...
    ImageFilter* firstPostProcessor() { return &m_firstPostProcessor; }
    // ... and the edge step, with its own working fields.
    EdgeFilter* secondPostProcessor() { return &m_secondPostProcessor; }

private:
    // Constructed in this order, destroyed in reverse: the channel reads its address from the
    // settings' socket sub-object, so it goes first.
    Settings m_settings;
    ZelTcp m_tcp;
    ZelImageCreator m_imageCreator;
    ImageFilter m_firstPostProcessor;
    EdgeFilter m_secondPostProcessor;
};
