#include "config/ControllerView.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

ControllerView::ControllerView(ApplicationContext* context)
    : ControllerTransaction(context), labeler(settings)
{
}

ControllerView::~ControllerView()
{
    ZTRACE() << "***ControllerView destroyed";
}

void ControllerView::pauseForView()
{
    controller.requestPause();
}

void ControllerView::resumeForView()
{
    controller.resume();
}

// Configuration switch: grayscale has a camera configuration of its own, every other view
// mode shares the TOF one.

void ControllerView::loadViewConfig(int modeIndex)
{
    pendingViewMode = modeIndex;
    begin(&ControllerView::loadConfig);
}

void ControllerView::loadConfig()
{
    exchange(&ControllerView::loadConfig, Commands::loadConfig(pendingViewMode),
             Commands::Timeout::loadConfig);
    settings->setModeIndex(pendingViewMode);
    controller.resume();
}

// Bad pixels

void ControllerView::changeInterpolation(bool on)
{
    begin(on ? &ControllerView::enableInterpolation : &ControllerView::disableInterpolation);
}

void ControllerView::enableInterpolation()
{
    // The camera's list replaces the one held: switching on again must not list every pixel
    // twice. Without a connection the reply buffer holds an earlier exchange (often a frame),
    // which is no pixel list, so the list stays as it is.
    if (exchange(&ControllerView::enableInterpolation, Commands::getBadPixels(), Commands::Timeout::slow)) {
        settings->calibration()->clearBadPixels();
        settings->calibration()->setBadPixels(tcp->response());
    }
    controller.resume();
}

void ControllerView::disableInterpolation()
{
    disconnect(&controller, &Controller::videoPaused, this, &ControllerView::disableInterpolation);
    settings->calibration()->clearBadPixels();
    controller.resume();
}

// Grayscale, DRNU and temperature corrections: the camera recomputes its tables, hence the
// long time-outs.

void ControllerView::changeGrayscaleOffset(bool on)
{
    begin(on ? &ControllerView::enableGrayscaleOffset : &ControllerView::disableGrayscaleOffset);
}

void ControllerView::enableGrayscaleOffset()
{
    send(&ControllerView::enableGrayscaleOffset, Commands::correctGrayscaleOffset(true),
         Commands::Timeout::slow);
}

void ControllerView::disableGrayscaleOffset()
{
    send(&ControllerView::disableGrayscaleOffset, Commands::correctGrayscaleOffset(false),
         Commands::Timeout::slow);
}

void ControllerView::changeGrayscaleGain(bool on)
{
    begin(on ? &ControllerView::enableGrayscaleGain : &ControllerView::disableGrayscaleGain);
}

void ControllerView::enableGrayscaleGain()
{
    send(&ControllerView::enableGrayscaleGain, Commands::correctGrayscaleGain(true), Commands::Timeout::slow);
}

void ControllerView::disableGrayscaleGain()
{
    send(&ControllerView::disableGrayscaleGain, Commands::correctGrayscaleGain(false),
         Commands::Timeout::slow);
}

void ControllerView::changeDrnu(bool on)
{
    begin(on ? &ControllerView::enableDRNU : &ControllerView::disableDRNU);
}

void ControllerView::enableDRNU()
{
    send(&ControllerView::enableDRNU, Commands::correctDRNU(true), Commands::Timeout::correctDRNU);
}

void ControllerView::disableDRNU()
{
    send(&ControllerView::disableDRNU, Commands::correctDRNU(false), Commands::Timeout::correctDRNU);
}

void ControllerView::changeShowDrnu(bool on)
{
    begin(on ? &ControllerView::showDRNU : &ControllerView::hideDRNU);
}

void ControllerView::showDRNU()
{
    // A short reply, or none because the camera was not reached, leaves the previous table.
    if (exchange(&ControllerView::showDRNU, Commands::showDRNU(), Commands::Timeout::slow))
        Replies::drnuTable(tcp->response(), drnuTable);
    emit showDRNUDone(drnuTable);
    controller.resume();
}

void ControllerView::hideDRNU()
{
    exchange(&ControllerView::hideDRNU, Commands::hideDRNU(), Commands::Timeout::slow);
    emit hideDRNUDone();
    controller.resume();
}

void ControllerView::changeTemperatureCorrection(bool on)
{
    begin(on ? &ControllerView::checkInTemperature : &ControllerView::checkOutTemperature);
}

void ControllerView::checkInTemperature()
{
    send(&ControllerView::checkInTemperature, Commands::correctTemperature(true), Commands::Timeout::slow);
    settings->calibration()->setTemperatureCorrection(true);
}

void ControllerView::checkOutTemperature()
{
    send(&ControllerView::checkOutTemperature, Commands::correctTemperature(false), Commands::Timeout::slow);
    settings->calibration()->setTemperatureCorrection(false);
}

// Availability queries. A camera that was not reached reports nothing available: the reply
// buffer then holds an earlier exchange, whose first byte says nothing about calibration data.

void ControllerView::queryGrayscaleCorrection()
{
    begin(&ControllerView::availableGrayscaleCorrection);
}

void ControllerView::availableGrayscaleCorrection()
{
    const bool reached = exchange(&ControllerView::availableGrayscaleCorrection,
                                  Commands::isGrayscaleCorrectionAvailable(), Commands::Timeout::slow);
    settings->calibration()->setGrayscaleCorrectionAvailable(reached && Replies::flag(tcp->response()));
    controller.resume();
}

void ControllerView::queryDrnuCorrection()
{
    begin(&ControllerView::availableDRNUCorrection);
}

void ControllerView::availableDRNUCorrection()
{
    const bool reached = exchange(&ControllerView::availableDRNUCorrection, Commands::isDRNUAvailable(),
                                  Commands::Timeout::slow);
    settings->setDrnuAvailable(reached && Replies::flag(tcp->response()));
    controller.resume();
}

void ControllerView::queryFlimCorrection()
{
    begin(&ControllerView::availableFlimCorrection);
}

void ControllerView::availableFlimCorrection()
{
    const bool reached = exchange(&ControllerView::availableFlimCorrection,
                                  Commands::isFlimCorrectionAvailable(), Commands::Timeout::slow);
    settings->setFlimCorrectionAvailable(reached && Replies::flag(tcp->response()));
    controller.resume();
}

// Background suppression

void ControllerView::changeAbs(bool on)
{
    begin(on ? &ControllerView::enableABS : &ControllerView::disableABS);
}

void ControllerView::enableABS()
{
    exchange(&ControllerView::enableABS, Commands::setABS(true), Commands::Timeout::settings);
    settings->abs()->setAbs(true);
    controller.resume();
}

void ControllerView::disableABS()
{
    exchange(&ControllerView::disableABS, Commands::setABS(false), Commands::Timeout::settings);
    settings->abs()->setAbs(false);
    controller.resume();
}

// Kalman filter family. The entries write the hub first; the slots read it back, so a
// threshold in centimetres is converted with the range that holds when it is sent.

void ControllerView::changeKalman(int variant)
{
    settings->setKalman(variant);
    switch (variant) {
    case 1:
        begin(&ControllerView::enableKalman1);
        break;
    case 2:
        begin(&ControllerView::enableKalman2);
        break;
    case 3:
        begin(&ControllerView::enableKalman3);
        break;
    default:
        begin(&ControllerView::disableKalman);
        break;
    }
}

void ControllerView::enableKalman1()
{
    send(&ControllerView::enableKalman1, Commands::kalman(1), Commands::Timeout::settings);
}

void ControllerView::enableKalman2()
{
    send(&ControllerView::enableKalman2, Commands::kalman(2), Commands::Timeout::settings);
}

void ControllerView::enableKalman3()
{
    send(&ControllerView::enableKalman3, Commands::kalman(3), Commands::Timeout::settings);
}

void ControllerView::disableKalman()
{
    send(&ControllerView::disableKalman, Commands::kalman(0), Commands::Timeout::settings);
}

void ControllerView::changeDistortionDetection(bool on)
{
    settings->setDistortionDetection(on);
    begin(&ControllerView::enableDistortionDetection);
}

void ControllerView::enableDistortionDetection()
{
    send(&ControllerView::enableDistortionDetection,
         Commands::enableArgCheck(settings->distortionDetection()), Commands::Timeout::settings);
}

void ControllerView::changeKalmanK(double k)
{
    settings->setKalmanK(k);
    begin(&ControllerView::updateKalmanK);
}

void ControllerView::updateKalmanK()
{
    send(&ControllerView::updateKalmanK, Commands::setKalmanK(settings->kalmanK()),
         Commands::Timeout::settings);
}

void ControllerView::changeKalmanQ(double q)
{
    settings->setKalmanQ(q);
    begin(&ControllerView::updateKalmanQ);
}

void ControllerView::updateKalmanQ()
{
    send(&ControllerView::updateKalmanQ, Commands::setKalmanQ(settings->kalmanQ()),
         Commands::Timeout::settings);
}

void ControllerView::updateKalmanThreshold1(int value)
{
    settings->setKalmanThreshold1(value);
    begin(qOverload<>(&ControllerView::updateKalmanThreshold1));
}

void ControllerView::updateKalmanThreshold1()
{
    send(qOverload<>(&ControllerView::updateKalmanThreshold1),
         Commands::setKalmanThreshold(labeler.cmToLsb(settings->kalmanThreshold1())),
         Commands::Timeout::settings);
}

void ControllerView::updateKalmanThreshold2(int value)
{
    settings->setKalmanThreshold2(value);
    begin(qOverload<>(&ControllerView::updateKalmanThreshold2));
}

void ControllerView::updateKalmanThreshold2()
{
    send(qOverload<>(&ControllerView::updateKalmanThreshold2),
         Commands::setKalmanThreshold2(labeler.cmToLsb(settings->kalmanThreshold2())),
         Commands::Timeout::settings);
}

void ControllerView::changeKalmanDiff(double d)
{
    settings->setKalmanDiff(d);
    begin(&ControllerView::updateKalmanDiff);
}

void ControllerView::updateKalmanDiff()
{
    send(&ControllerView::updateKalmanDiff, Commands::setKalmanKdiff(settings->kalmanDiff()),
         Commands::Timeout::settings);
}

void ControllerView::changeKalmanThreshold3(int cm)
{
    settings->setKalmanThreshold3(cm);
    begin(&ControllerView::updateKalmanThreshold3);
}

void ControllerView::updateKalmanThreshold3()
{
    // The interference filter's threshold shares the camera's first threshold register.
    send(&ControllerView::updateKalmanThreshold3,
         Commands::setKalmanThreshold(labeler.cmToLsb(settings->kalmanThreshold3())),
         Commands::Timeout::settings);
}

void ControllerView::changeKalmanNumChecks(int n)
{
    settings->setKalmanNumChecks(n);
    begin(&ControllerView::updateKalmanNumChecks);
}

void ControllerView::updateKalmanNumChecks()
{
    send(&ControllerView::updateKalmanNumChecks, Commands::setKalmanNumCheck(settings->kalmanNumChecks()),
         Commands::Timeout::settings);
}

void ControllerView::resetKalmanNumChecks()
{
    begin(&ControllerView::updateKalmanNumChecksDone0);
}

void ControllerView::updateKalmanNumChecksDone0()
{
    send(&ControllerView::updateKalmanNumChecksDone0, Commands::setKalmanNumCheck(0),
         Commands::Timeout::settings);
}

// FLIM corrections and the Gauss filter

void ControllerView::changeFlimDsnu(bool on)
{
    settings->setFlimDsnu(on);
    begin(&ControllerView::enableFlimDSNU);
}

void ControllerView::enableFlimDSNU()
{
    send(&ControllerView::enableFlimDSNU, Commands::correctFlimOffset(settings->flimDsnu()),
         Commands::Timeout::settings);
}

void ControllerView::changeFlimPrnu(bool on)
{
    settings->setFlimPrnu(on);
    begin(&ControllerView::enableFlimPRNU);
}

void ControllerView::enableFlimPRNU()
{
    send(&ControllerView::enableFlimPRNU, Commands::correctFlimGain(settings->flimPrnu()),
         Commands::Timeout::settings);
}

void ControllerView::changeGaussFilter(bool on)
{
    settings->setGaussFilter(on);
    begin(&ControllerView::enableGaussFilter);
}

void ControllerView::enableGaussFilter()
{
    send(&ControllerView::enableGaussFilter, Commands::filterMode(settings->gaussFilter()),
         Commands::Timeout::settings);
}

void ControllerView::changeGaussFilterIterations(int n)
{
    settings->setGaussFilterIterations(n);
    begin(&ControllerView::setGaussFilterIterations);
}

void ControllerView::setGaussFilterIterations()
{
    send(&ControllerView::setGaussFilterIterations, Commands::nloopFilter(settings->gaussFilterIterations()),
         Commands::Timeout::settings);
}
