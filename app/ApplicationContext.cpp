#include "app/ApplicationContext.h"

#include "app/Trace.h"

ApplicationContext::ApplicationContext()
    : m_tcp(m_settings.socket())
    , m_imageCreator(&m_settings)
    , m_firstPostProcessor(&m_settings)
    , m_secondPostProcessor(&m_settings)
{
}

ApplicationContext::~ApplicationContext()
{
    ZTRACE() << "***ApplicationContext destroyed";
}
