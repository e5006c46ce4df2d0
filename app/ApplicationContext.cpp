#include "app/ApplicationContext.h"

#include "app/Trace.h"

ApplicationContext::ApplicationContext() : m_tcp(m_settings.socket())
{
}

ApplicationContext::~ApplicationContext()
{
    ZTRACE() << "***ApplicationContext destroyed";
}
