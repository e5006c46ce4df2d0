#pragma once

#include "settings/Settings3D.h"
#include "settings/SettingsABS.h"
#include "settings/SettingsBinningAndReduction.h"
#include "settings/SettingsCalibration.h"
#include "settings/SettingsDLL.h"
#include "settings/SettingsDataValidation.h"
#include "settings/SettingsDistanceCalculation.h"
#include "settings/SettingsFLIM.h"
#include "settings/SettingsIntegrationTime.h"
#include "settings/SettingsModulation.h"
#include "settings/SettingsPixelScope.h"
#include "settings/SettingsROI.h"
#include "settings/SettingsSocket.h"
#include "settings/SettingsTransformation.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <cmath>

// The client's single model of the camera and of its own options. Values only: no
// validation, no clamping, no commands. Notifying setters emit on every call, also when the
// value does not change, because a configuration load re-announces every value.
class Settings final : public QObject
{
    Q_OBJECT

public:
    explicit Settings(QObject* parent = nullptr);
    ~Settings() override;

    Settings3D* settings3D() { return &m_settings3D; }
    SettingsBinningAndReduction* binningAndReduction() { return &m_binningAndReduction; }
    SettingsIntegrationTime* integrationTime() { return &m_integrationTime; }
    SettingsModulation* modulation() { return &m_modulation; }
    SettingsROI* roi() { return &m_roi; }
    SettingsSocket* socket() { return &m_socket; }
    SettingsTransformation* transformation() { return &m_transformation; }
    SettingsDistanceCalculation* distanceCalculation() { return &m_distanceCalculation; }
    SettingsABS* abs() { return &m_abs; }
    SettingsDLL* dll() { return &m_dll; }
    SettingsPixelScope* pixelScope() { return &m_pixelScope; }
    SettingsFLIM* flim() { return &m_flim; }
    SettingsDataValidation* dataValidation() { return &m_dataValidation; }
    SettingsCalibration* calibration() { return &m_calibration; }
    const Settings3D* settings3D() const { return &m_settings3D; }
    const SettingsBinningAndReduction* binningAndReduction() const { return &m_binningAndReduction; }
    const SettingsIntegrationTime* integrationTime() const { return &m_integrationTime; }
    const SettingsModulation* modulation() const { return &m_modulation; }
    const SettingsROI* roi() const { return &m_roi; }
    const SettingsSocket* socket() const { return &m_socket; }
    const SettingsTransformation* transformation() const { return &m_transformation; }
    const SettingsDistanceCalculation* distanceCalculation() const { return &m_distanceCalculation; }
    const SettingsABS* abs() const { return &m_abs; }
    const SettingsDLL* dll() const { return &m_dll; }
    const SettingsPixelScope* pixelScope() const { return &m_pixelScope; }
    const SettingsFLIM* flim() const { return &m_flim; }
    const SettingsDataValidation* dataValidation() const { return &m_dataValidation; }
    const SettingsCalibration* calibration() const { return &m_calibration; }

    // Acquisition state: stopped (false, false), streaming (true, true), paused (true, false).
    bool running() const { return m_running; }
    bool videoActive() const { return m_videoActive; }
    void startAcquisition();
    void pauseAcquisition();
    // Leaves videoActive as it is.
    void stopAcquisition();
    void requestStop();
    void requestPause();
    void announceStopped();
    void announceStartedVideo();
    void announceFieldsLocked(bool state);
    // A settings command did not reach the camera: the hub holds a value the camera may not.
    void announceCommandFailed(const QString& command);

    int modeIndex() const { return m_modeIndex; }
    // Announces every view mode except 10: the FLIM mode is entered silently at start-up.
    void setModeIndex(int index);

    bool pixelScopeEnabled() const { return m_pixelScopeEnabled; }
    bool pixelInfoEnabled() const { return m_pixelInfoEnabled; }
    bool temperaturePolling() const { return m_temperaturePolling; }
    bool readOffsetOnResume() const { return m_readOffsetOnResume; }
    bool configLoaded() const { return m_configLoaded; }
    bool drnuAvailable() const { return m_drnuAvailable; }
    bool enabledCalibration() const { return m_enabledCalibration; }
    bool showFrameRate() const { return m_showFrameRate; }
    int movingAverageImageNumber() const { return m_movingAverageImageNumber; }
    double speedOfLight() const { return m_speedOfLight; }
    void setPixelScopeEnabled(bool state) { m_pixelScopeEnabled = state; }
    void setPixelInfoEnabled(bool state) { m_pixelInfoEnabled = state; }
    void setTemperaturePolling(bool state) { m_temperaturePolling = state; }
    void setReadOffsetOnResume(bool state) { m_readOffsetOnResume = state; }
    void setConfigLoaded(bool state) { m_configLoaded = state; }
    void setDrnuAvailable(bool state) { m_drnuAvailable = state; }
    void setEnabledCalibration(bool state) { m_enabledCalibration = state; }
    void setShowFrameRate(bool state) { m_showFrameRate = state; }
    void setMovingAverageImageNumber(int number);
    void setSpeedOfLight(double value) { m_speedOfLight = value; }

    // Chip identification, written by the start-up sequence.
    quint16 serverVersion() const { return m_serverVersion; }
    quint8 icVersion() const { return m_icVersion; }
    int partVersion() const { return m_partVersion; }
    int chipType() const { return m_chipType; }
    void setServerVersion(quint16 version) { m_serverVersion = version; }
    void setIcVersion(quint8 version) { m_icVersion = version; }
    void setPartVersion(int version) { m_partVersion = version; }
    void setChipType(int chipType) { m_chipType = chipType; }
    // The outcome of every frame reply: incomplete when its length did not match what the
    // settings give (cut short or garbled). Reported before the frame is handed to the views,
    // so that a recorder asked to write it can tell.
    void reportFrame(bool complete)
    {
        m_lastFrameComplete = complete;
        emit frameReceived(complete);
    }
    bool lastFrameComplete() const { return m_lastFrameComplete; }
    // major.minor.patch of a version coded as major x 10000 + minor x 100 + patch.
    QString serverVersionText() const;
    // Chip types 4 and 5 always; 2 and 3 only from part version 6 on.
    bool isChipSupported() const;

    const QVector<int>& temperatures() const { return m_temperatures; }
    void setTemperatures(const QVector<int>& temperatures);

    // Processing options.
    int kalman() const { return m_kalman; }
    double kalmanK() const { return m_kalmanK; }
    double kalmanQ() const { return m_kalmanQ; }
    int kalmanThreshold1() const { return m_kalmanThreshold1; }
    int kalmanThreshold2() const { return m_kalmanThreshold2; }
    double kalmanDiff() const { return m_kalmanDiff; }
    int kalmanThreshold3() const { return m_kalmanThreshold3; }
    int kalmanNumChecks() const { return m_kalmanNumChecks; }
    bool distortionDetection() const { return m_distortionDetection; }
    bool flimDsnu() const { return m_flimDsnu; }
    bool flimPrnu() const { return m_flimPrnu; }
    bool flimCorrectionAvailable() const { return m_flimCorrectionAvailable; }
    bool pointCloudTransformation() const { return m_pointCloudTransformation; }
    bool edgeDetection() const { return m_edgeDetection; }
    // Two-valued fields: the flag selects the second value (true) or the first (false).
    int edgeDetectionThreshold(bool second) const { return m_edgeDetectionThreshold[second ? 1 : 0]; }
    bool gaussFilter() const { return m_gaussFilter; }
    int gaussFilterIterations() const { return m_gaussFilterIterations; }
    bool medianFilter() const { return m_medianFilter; }
    int medianFilterIterations() const { return m_medianFilterIterations; }
    int medianFilterSize() const { return m_medianFilterSize; }
    bool gaussFilter1() const { return m_gaussFilter1; }
    int gaussFilterIterations1() const { return m_gaussFilterIterations1; }
    bool pcFilter() const { return m_pcFilter; }
    int pcFilterIterations(bool second) const { return m_pcFilterIterations[second ? 1 : 0]; }

    void setKalman(int value) { m_kalman = value; }
    void setKalmanK(double value);
    void setKalmanQ(double value);
    void setKalmanThreshold1(int value) { m_kalmanThreshold1 = value; }
    void setKalmanThreshold2(int value) { m_kalmanThreshold2 = value; }
    void setKalmanDiff(double value) { m_kalmanDiff = value; }
    void setKalmanThreshold3(int value) { m_kalmanThreshold3 = value; }
    void setKalmanNumChecks(int value) { m_kalmanNumChecks = value; }
    void setDistortionDetection(bool state) { m_distortionDetection = state; }
    void setFlimDsnu(bool state) { m_flimDsnu = state; }
    void setFlimPrnu(bool state) { m_flimPrnu = state; }
    void setFlimCorrectionAvailable(bool state) { m_flimCorrectionAvailable = state; }
    void setPointCloudTransformation(bool state) { m_pointCloudTransformation = state; }
    void setEdgeDetection(bool state) { m_edgeDetection = state; }
    // Setting the first value (camera units) also sets the second (LSB, the one the edge step
    // uses) by the view panel's rule, so a loaded file, the start values and the control
    // agree; setting the second alone changes only the second.
    void setEdgeDetectionThreshold(int value, bool second)
    {
        m_edgeDetectionThreshold[second ? 1 : 0] = value;
        if (!second)
            m_edgeDetectionThreshold[1] = edgeStepLsb(value);
    }
    // The edge step's threshold for a configured one: the same number of LSB. (A tenth of it,
    // as once derived, is under 1 mm: every sloping surface counted as an edge and was blanked.)
    static int edgeStepLsb(int threshold) { return threshold; }
    void setGaussFilter(bool state) { m_gaussFilter = state; }
    void setGaussFilterIterations(int value) { m_gaussFilterIterations = value; }
    void setMedianFilter(bool state) { m_medianFilter = state; }
    void setMedianFilterIterations(int value) { m_medianFilterIterations = value; }
    void setMedianFilterSize(int value) { m_medianFilterSize = value; }
    void setGaussFilter1(bool state) { m_gaussFilter1 = state; }
    void setGaussFilterIterations1(int value) { m_gaussFilterIterations1 = value; }
    void setPcFilter(bool state) { m_pcFilter = state; }
    void setPcFilterIterations(int value, bool second) { m_pcFilterIterations[second ? 1 : 0] = value; }
    // sendKalmanThreshold1 then sendKalmanThreshold2, with the stored thresholds.
    void emitKalmanThresholds();

    // Logging options.
    bool logDistance() const { return m_logDistance; }
    bool logAmplitude() const { return m_logAmplitude; }
    bool logFilteredDistance() const { return m_logFilteredDistance; }
    bool logLsb() const { return m_logLsb; }
    bool logCsv() const { return m_logCsv; }
    bool logPng() const { return m_logPng; }
    bool logBin() const { return m_logBin; }
    bool logUnlimited() const { return m_logUnlimited; }
    int logNumberOfPictures() const { return m_logNumberOfPictures; }
    QString logPath() const { return m_logPath; }
    QString logFilename() const { return m_logFilename; }
    void setLogDistance(bool state) { m_logDistance = state; }
    void setLogAmplitude(bool state) { m_logAmplitude = state; }
    void setLogFilteredDistance(bool state) { m_logFilteredDistance = state; }
    void setLogLsb(bool state) { m_logLsb = state; }
    void setLogCsv(bool state) { m_logCsv = state; }
    void setLogPng(bool state) { m_logPng = state; }
    void setLogBin(bool state) { m_logBin = state; }
    void setLogUnlimited(bool state) { m_logUnlimited = state; }
    void setLogNumberOfPictures(int number) { m_logNumberOfPictures = number; }
    void setLogPath(const QString& path) { m_logPath = path; }
    void setLogFilename(const QString& filename) { m_logFilename = filename; }

    // Geometry of the main window and of the demonstration window.
    int windPosX() const { return m_windPosX; }
    int windPosY() const { return m_windPosY; }
    int windWidth() const { return m_windWidth; }
    int windHeight() const { return m_windHeight; }
    int windDemoPosX() const { return m_windDemoPosX; }
    int windDemoPosY() const { return m_windDemoPosY; }
    int windDemoWidth() const { return m_windDemoWidth; }
    int windDemoHeight() const { return m_windDemoHeight; }
    void setWindPosX(int value) { m_windPosX = value; }
    void setWindPosY(int value) { m_windPosY = value; }
    void setWindWidth(int value) { m_windWidth = value; }
    void setWindHeight(int value) { m_windHeight = value; }
    void setWindDemoPosX(int value) { m_windDemoPosX = value; }
    void setWindDemoPosY(int value) { m_windDemoPosY = value; }
    void setWindDemoWidth(int value) { m_windDemoWidth = value; }
    void setWindDemoHeight(int value) { m_windDemoHeight = value; }

    // Correction switches saved while the corrections are locked.
    bool correctionsSaved() const { return m_correctionsSaved; }
    bool savedDrnu() const { return m_savedDrnu; }
    bool savedShowDrnu() const { return m_savedShowDrnu; }
    bool savedTemperature() const { return m_savedTemperature; }
    // The view panel keeps the user's DRNU-table choice here directly.
    void setSavedShowDrnu(bool state) { m_savedShowDrnu = state; }
    // Locking unticks the DRNU, DRNU-table and temperature boxes, remembering the switches
    // as they were before the first lock; unlocking restores them.
    void lockCorrections(bool lock);

    void announceCalibrationChanged();
    void announceCheckDRNU(bool state);
    void announceCheckShowDRNU(bool state);
    void announceCheckTemperature(bool state);
    void announceEnableGrayscaleOffset(bool state);
    void announceEnableGrayscaleGain(bool state);
    void announceLockDRNUCorrection(bool state);
    void announceLockTemperatureCorrection(bool state);
    void announceCaptureLogImages();
    void announceUpdateViewControls();
    void announceUpdateCaptureLog();
    // The point-cloud capture panel's name for announceUpdateCaptureLog().
    void announceUpdatePointCloudLogging();
    void announceUpdateLog();
    void announceUpdateDemoWinSize();

signals:
    void frameReceived(bool complete);
    void stopRequested();
    void startRequested();
    void pauseRequested();
    void paused();
    void stopped();
    void started();
    void startedVideo();
    void pausedVideo(bool state);
    void fieldsLocked(bool state);
    // The command text (keyword and value) that the camera did not receive.
    void commandFailed(const QString& command);
    void modeIndexChanged(int);
    void videoModeTriggered();
    void videoModeStop();
    void videoModeStopped();
    void temperaturesChanged();
    void calibrationChanged();
    void movingAverageImageNumberChanged(int);
    void checkDRNU(bool state);
    void checkShowDRNU(bool state);
    void checkTemperature(bool state);
    void enableGrayscaleOffset(bool state);
    void enableGrayscaleGain(bool state);
    void lockDRNUCorrection(bool state);
    void lockTemperatureCorrection(bool state);
    void sendKalmanThreshold1(int);
    void sendKalmanThreshold2(int);
    void captureLogImages();
    void updateKalmanK(double);
    void updateKalmanQ(double);
    void updateViewControls();
    void updateLogControls();
    void updateCaptureLog();
    void updateLog();
    void updateDemoWinSize();

private:
    // Constructed in this order and destroyed in reverse.
    Settings3D m_settings3D;
    SettingsBinningAndReduction m_binningAndReduction;
    SettingsIntegrationTime m_integrationTime;
    SettingsModulation m_modulation;
    SettingsROI m_roi;
    SettingsSocket m_socket;
    SettingsTransformation m_transformation;
    SettingsDistanceCalculation m_distanceCalculation;
    SettingsABS m_abs;
    SettingsDLL m_dll;
    SettingsPixelScope m_pixelScope;
    SettingsFLIM m_flim;
    SettingsDataValidation m_dataValidation;
    SettingsCalibration m_calibration;

    int m_modeIndex = 1;
    bool m_running = false;
    bool m_lastFrameComplete = true;
    bool m_videoActive = false;
    bool m_pixelScopeEnabled = false;
    bool m_pixelInfoEnabled = false;
    bool m_temperaturePolling = false;
    bool m_readOffsetOnResume = true;
    bool m_configLoaded = false;
    bool m_drnuAvailable = false;
    bool m_enabledCalibration = false;
    bool m_showFrameRate = false;
    int m_movingAverageImageNumber = 1;
    double m_speedOfLight = 150000000.0;

    quint16 m_serverVersion = 0;
    quint8 m_icVersion = 0;
    int m_partVersion = 0;
    int m_chipType = 0;

    QVector<int> m_temperatures;

    int m_kalman = 0;
    double m_kalmanK = 0.1;
    double m_kalmanQ = 2.0;
    int m_kalmanThreshold1 = 25;
    int m_kalmanThreshold2 = 25;
    double m_kalmanDiff = 0.1;
    int m_kalmanThreshold3 = 25;
    int m_kalmanNumChecks = 2;
    bool m_distortionDetection = false;
    bool m_flimDsnu = true;
    bool m_flimPrnu = true;
    bool m_flimCorrectionAvailable = false;
    bool m_pointCloudTransformation = false;
    bool m_edgeDetection = true;
    int m_edgeDetectionThreshold[2] = {100, 100}; // the second derived from the first
    bool m_gaussFilter = false;
    int m_gaussFilterIterations = 5;
    bool m_medianFilter = false;
    int m_medianFilterIterations = 1;
    int m_medianFilterSize = 3;
    bool m_gaussFilter1 = false;
    int m_gaussFilterIterations1 = 0;
    bool m_pcFilter = true;
    int m_pcFilterIterations[2] = {70, 0};

    bool m_logDistance = true;
    bool m_logAmplitude = true;
    bool m_logFilteredDistance = true;
    bool m_logLsb = false;
    bool m_logCsv = true;
    bool m_logPng = true;
    bool m_logBin = false;
    bool m_logUnlimited = true;
    int m_logNumberOfPictures = 1;
    QString m_logPath;
    QString m_logFilename;

    int m_windPosX = 0;
    int m_windPosY = 0;
    int m_windWidth = 0;
    int m_windHeight = 0;
    int m_windDemoPosX = 0;
    int m_windDemoPosY = 0;
    int m_windDemoWidth = 0;
    int m_windDemoHeight = 0;

    bool m_correctionsSaved = false;
    bool m_savedDrnu = false;
    bool m_savedShowDrnu = false;
    bool m_savedTemperature = false;
};
