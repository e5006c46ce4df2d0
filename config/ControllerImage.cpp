#include "config/ControllerImage.h"

#include "app/Trace.h"

ControllerImage::ControllerImage(ApplicationContext* context) : ControllerTransaction(context)
{
}

ControllerImage::~ControllerImage()
{
    ZTRACE() << "***ControllerImage destroyed";
}

void ControllerImage::changeImageAveraging(int factor)
{
    pendingFactor = factor;
    begin(&ControllerImage::setImageAveraging);
}

void ControllerImage::setImageAveraging()
{
    send(&ControllerImage::setImageAveraging, Commands::setImageAveraging(pendingFactor));
}
