#include "settings/Settings.h"

#include "app/Trace.h"

Settings::Settings(QObject* parent) : QObject(parent)
{
}

Settings::~Settings()
{
    ZTRACE() << "***Settings destroyed";
}

void Settings::startAcquisition()
{
    m_running = true;
    m_videoActive = true;
    emit started();
}

void Settings::pauseAcquisition()
{
    m_running = true;
    m_videoActive = false;
    emit paused();
}

void Settings::stopAcquisition()
{
    m_running = false;
    emit stopped();
}

void Settings::requestStop()
{
    emit stopRequested();
}

void Settings::requestPause()
{
    emit pauseRequested();
}

void Settings::announceStopped()
{
    emit stopped();
}

void Settings::announceStartedVideo()
{
    emit startedVideo();
}

void Settings::announceFieldsLocked(bool state)
{
    emit fieldsLocked(state);
}

void Settings::announceCommandFailed(const QString& command)
{
    emit commandFailed(command);
}

void Settings::setModeIndex(int index)
{
    m_modeIndex = index;
    if (index != 10)
        emit modeIndexChanged(index);
}

void Settings::setMovingAverageImageNumber(int number)
{
    m_movingAverageImageNumber = number;
    emit movingAverageImageNumberChanged(number);
}

QString Settings::serverVersionText() const
{
    return QStringLiteral("%1.%2.%3")
        .arg(m_serverVersion / 10000)
        .arg((m_serverVersion / 100) % 100)
        .arg(m_serverVersion % 100);
}

bool Settings::isChipSupported() const
{
    if (m_chipType == 4 || m_chipType == 5)
        return true;
    return m_partVersion > 5 && (m_chipType == 2 || m_chipType == 3);
}

void Settings::setTemperatures(const QVector<int>& temperatures)
{
    m_temperatures = temperatures;
    emit temperaturesChanged();
}

void Settings::setKalmanK(double value)
{
    m_kalmanK = value;
    emit updateKalmanK(value);
}

void Settings::setKalmanQ(double value)
{
    m_kalmanQ = value;
    emit updateKalmanQ(value);
}

void Settings::emitKalmanThresholds()
{
    emit sendKalmanThreshold1(m_kalmanThreshold1);
    emit sendKalmanThreshold2(m_kalmanThreshold2);
}

void Settings::lockCorrections(bool lock)
{
    // Only the first lock saves: a second lock must not save the already unticked boxes.
    if (!m_correctionsSaved) {
        m_savedDrnu = m_calibration.drnuCorrection();
        m_savedTemperature = m_calibration.temperatureCorrection();
        m_correctionsSaved = true;
    }
    if (lock) {
        emit checkDRNU(false);
        emit checkShowDRNU(false);
        emit checkTemperature(false);
    } else {
        m_correctionsSaved = false;
        emit checkDRNU(m_savedDrnu);
        emit checkShowDRNU(m_savedShowDrnu);
        emit checkTemperature(m_savedTemperature);
    }
    emit lockDRNUCorrection(lock);
    emit lockTemperatureCorrection(lock);
}

void Settings::announceCalibrationChanged()
{
    emit calibrationChanged();
}

void Settings::announceCheckDRNU(bool state)
{
    emit checkDRNU(state);
}

void Settings::announceCheckShowDRNU(bool state)
{
    emit checkShowDRNU(state);
}

void Settings::announceCheckTemperature(bool state)
{
    emit checkTemperature(state);
}

void Settings::announceEnableGrayscaleOffset(bool state)
{
    emit enableGrayscaleOffset(state);
}

void Settings::announceEnableGrayscaleGain(bool state)
{
    emit enableGrayscaleGain(state);
}

void Settings::announceLockDRNUCorrection(bool state)
{
    emit lockDRNUCorrection(state);
}

void Settings::announceLockTemperatureCorrection(bool state)
{
    emit lockTemperatureCorrection(state);
}

void Settings::announceCaptureLogImages()
{
    emit captureLogImages();
}

void Settings::announceUpdateViewControls()
{
    emit updateViewControls();
}

void Settings::announceUpdateCaptureLog()
{
    emit updateCaptureLog();
}

void Settings::announceUpdatePointCloudLogging()
{
    emit updateCaptureLog();
}

void Settings::announceUpdateLog()
{
    emit updateLog();
}

void Settings::announceUpdateDemoWinSize()
{
    emit updateDemoWinSize();
}
