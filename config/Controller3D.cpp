#include "config/Controller3D.h"

#include "app/Trace.h"
#include "settings/Settings.h"

Controller3D::Controller3D(ApplicationContext* context) : ControllerTransaction(context)
{
}

Controller3D::~Controller3D()
{
    ZTRACE() << "***Controller3D destroyed";
}

void Controller3D::changeMinAmplitude(int lsb)
{
    pendingMinAmplitude = lsb;
    begin(&Controller3D::setMinAmplitude);
}

void Controller3D::changeHysteresis(int lsb)
{
    pendingHysteresis = lsb;
    begin(&Controller3D::setHysteresis);
}

void Controller3D::changeOffset(int value)
{
    pendingOffset = value;
    begin(&Controller3D::setOffset);
}

void Controller3D::useDefaultOffset()
{
    begin(&Controller3D::enableDefaultOffsetDone);
}

void Controller3D::changeOffsetTemperatureCorrection(bool on)
{
    begin(on ? &Controller3D::enableTemperatureCorrectionOffset
             : &Controller3D::disableTemperatureCorrectionOffset);
}

void Controller3D::setMinAmplitude()
{
    exchange(&Controller3D::setMinAmplitude, Commands::setMinAmplitude(pendingMinAmplitude));
    settings->settings3D()->setMinAmplitude(pendingMinAmplitude);
    controller.resume();
}

void Controller3D::setHysteresis()
{
    exchange(&Controller3D::setHysteresis, Commands::setHysteresis(pendingHysteresis));
    if (pendingHysteresis != 0)
        settings->settings3D()->setHysteresis(pendingHysteresis);
    controller.resume();
}

void Controller3D::setOffset()
{
    disconnect(&controller, &Controller::videoPaused, this, &Controller3D::setOffset);
    Settings3D* s3d = settings->settings3D();
    const bool automatic = s3d->autoOffsetEnabled();
    if (!automatic)
        s3d->setManualOffset(pendingOffset);
    sendCommand(Commands::enableDefaultOffset(automatic));
    sendCommand(Commands::setOffset(pendingOffset));
    controller.resume();
}

void Controller3D::enableDefaultOffsetDone()
{
    send(&Controller3D::enableDefaultOffsetDone, Commands::enableDefaultOffset(true));
}

void Controller3D::enableTemperatureCorrectionOffset()
{
    exchange(&Controller3D::enableTemperatureCorrectionOffset, Commands::enableTempCorrection(true));
    settings->settings3D()->setTemperatureOffsetCorrection(true);
    controller.resume();
}

void Controller3D::disableTemperatureCorrectionOffset()
{
    exchange(&Controller3D::disableTemperatureCorrectionOffset, Commands::enableTempCorrection(false));
    settings->settings3D()->setTemperatureOffsetCorrection(false);
    controller.resume();
}
