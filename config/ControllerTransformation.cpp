#include "config/ControllerTransformation.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"

ControllerTransformation::ControllerTransformation(ApplicationContext* context)
    : settings(context->settings())
{
}

ControllerTransformation::~ControllerTransformation()
{
    ZTRACE() << "***ControllerTransformation destroyed";
}

void ControllerTransformation::changeHorizontalFlip(bool on)
{
    settings->transformation()->setHorizontalFlip(on);
}

void ControllerTransformation::changeVerticalFlip(bool on)
{
    settings->transformation()->setVerticalFlip(on);
}
