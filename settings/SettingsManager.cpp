#include "settings/SettingsManager.h"

#include "app/Trace.h"
#include "settings/ConfigBounds.h"
#include "settings/Settings.h"
#include "settings/SettingsXml.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

bool is(const SettingsXml::Element& element, const SettingsXml::Element& other)
{
    return qstrcmp(element.name, other.name) == 0;
}

const SettingsXml::Element* findElement(QStringRef name)
{
    for (const SettingsXml::Element& element : SettingsXml::All) {
        if (name == QLatin1String(element.name))
            return &element;
    }
    return nullptr;
}

QString switchText(bool state)
{
    return QLatin1String(state ? SettingsXml::On : SettingsXml::Off);
}

QString boolText(bool state)
{
    return QLatin1String(state ? "true" : "false");
}

// A value brought into its range is traced, so that a damaged file can be found in the log.
int bounded(const SettingsXml::Element& element, int value, ConfigBounds::Range range)
{
    const int result = qBound(range.min, value, range.max);
    if (result != value) {
        ZTRACE().nospace() << "configuration value out of range: " << element.name << " " << value
                           << ", using " << result;
    }
    return result;
}

// Loading announces each value twice so that a control already showing it still changes.
// The first announcement is value + 1; at the top of a bounded list it is value - 1 instead,
// so that no listener ever sees an index the list does not have.
template <typename Setter>
void applyTwice(int value, Setter setter)
{
    setter(value + 1);
    setter(value);
}

template <typename Setter>
void applyTwiceInRange(int value, ConfigBounds::Range range, Setter setter)
{
    setter(value < range.max || value <= range.min ? value + 1 : value - 1);
    setter(value);
}

template <typename Setter>
void applyTwice(double value, Setter setter)
{
    setter(value + 1.0);
    setter(value);
}

template <typename Setter>
void applySwitchTwice(bool state, Setter setter)
{
    setter(!state);
    setter(state);
}

} // namespace

struct SettingsManager::LoadState
{
    bool roiSeen = false;
};

SettingsManager::SettingsManager(Settings* settings, QObject* parent) : QObject(parent), settings(settings)
{
}

SettingsManager::~SettingsManager()
{
    ZTRACE() << "***SettingsManager destroyed";
}

bool SettingsManager::isFlimChip() const
{
    return settings->flim()->flimChip();
}

bool SettingsManager::hasLargeSensorRoi() const
{
    // The ROI and the emulation of a file are taken only by the two large-array chips.
    return settings->chipType() == 2 || settings->chipType() == 3;
}

bool SettingsManager::saveConfig(const QString& filename)
{
    QSaveFile file(filename);
    if (!file.open(QIODevice::WriteOnly)) {
        ZTRACE().nospace() << "saveConfig: could not open " << filename << ": " << file.errorString();
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(SettingsXml::Root));
    const bool flim = isFlimChip();
    for (const SettingsXml::Element& element : SettingsXml::All) {
        if (flim && !element.flimChip)
            continue;
        if (is(element, SettingsXml::Emulation310) && !hasLargeSensorRoi())
            continue;
        writeElement(writer, element);
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit()) {
        ZTRACE().nospace() << "saveConfig: could not write " << filename << ": " << file.errorString();
        return false;
    }
    ZTRACE().nospace() << "saveConfig: " << filename;
    return true;
}

void SettingsManager::writeElement(QXmlStreamWriter& writer, const SettingsXml::Element& element) const
{
    using namespace SettingsXml;
    const Settings* s = settings;
    const Settings3D* s3d = s->settings3D();
    const SettingsDistanceCalculation* dc = s->distanceCalculation();
    const SettingsIntegrationTime* it = s->integrationTime();
    const SettingsFLIM* flim = s->flim();
    const SettingsROI* roi = s->roi();
    const SettingsCalibration* cal = s->calibration();

    QString state;
    QString value;
    switch (element.inner) {
    case Inner::State:
        if (is(element, Abs))
            state = switchText(s->abs()->abs());
        else if (is(element, PiDelay))
            state = switchText(dc->piDelay());
        else if (is(element, DualMgx))
            state = switchText(dc->dualMGX());
        else if (is(element, Hdr))
            state = switchText(dc->hdr());
        else if (is(element, Fpn))
            state = switchText(s3d->fpn());
        else if (is(element, EnableAutoOffset))
            state = switchText(s3d->autoOffsetEnabled());
        else if (is(element, PixelInterpolation))
            state = switchText(cal->pixelInterpolation());
        else if (is(element, GaussFilter))
            state = switchText(s->gaussFilter());
        else if (is(element, EdgeDetection))
            state = switchText(s->edgeDetection());
        else if (is(element, MedianFilter))
            state = switchText(s->medianFilter());
        else if (is(element, GaussFilter1))
            state = switchText(s->gaussFilter1());
        else if (is(element, PcFilter))
            state = switchText(s->pcFilter());
        else if (is(element, LogLsb))
            state = switchText(s->logLsb());
        else if (is(element, LogDistance))
            state = switchText(s->logDistance());
        else if (is(element, LogAmplitude))
            state = switchText(s->logAmplitude());
        else if (is(element, LogFilteredDistance))
            state = switchText(s->logFilteredDistance());
        else if (is(element, LogCsv))
            state = switchText(s->logCsv());
        else if (is(element, LogPng))
            state = switchText(s->logPng());
        else if (is(element, Saturation))
            state = switchText(s->dataValidation()->saturation());
        else if (is(element, AdcValidation))
            state = switchText(s->dataValidation()->adcOverflow());
        else if (is(element, Emulation310))
            state = switchText(roi->emulation());
        else if (is(element, VerticalBinning))
            state = switchText(s->binningAndReduction()->verticalBinning());
        else if (is(element, HorizontalBinning))
            state = switchText(s->binningAndReduction()->horizontalBinning());
        else if (is(element, HorizontalFlip))
            state = switchText(s->transformation()->horizontalFlip());
        else if (is(element, VerticalFlip))
            state = switchText(s->transformation()->verticalFlip());
        else if (is(element, DrnuCorrection))
            state = switchText(cal->drnuCorrection());
        else if (is(element, TemperatureCorrection))
            state = switchText(cal->temperatureCorrection());
        else if (is(element, GrayscaleOffset))
            state = switchText(cal->grayscaleOffset());
        else if (is(element, GrayscaleGain))
            state = switchText(cal->grayscaleGain());
        else if (is(element, EnabledCalibration))
            state = switchText(s->enabledCalibration());
        break;
    case Inner::StateAndValue: // hysteresis
        state = switchText(s3d->hysteresisEnabled());
        value = QString::number(s3d->hysteresis());
        break;
    case Inner::Index:
        if (is(element, ModulationFrequencyIndex))
            value = QString::number(s->modulation()->frequencyIndex());
        else if (is(element, Modulation))
            value = QString::number(dc->modulationIndex());
        else if (is(element, ViewMode))
            value = QString::number(s->modeIndex());
        else if (is(element, RowReduction))
            value = QString::number(s->binningAndReduction()->rowReductionIndex());
        break;
    case Inner::Value:
        if (is(element, RangeMax))
            value = QString::number(s3d->distanceMax());
        else if (is(element, RangeMin))
            value = QString::number(s3d->distanceMin());
        else if (is(element, AmplitudeMin))
            value = QString::number(s3d->minAmplitude());
        else if (is(element, ManualOffset))
            value = QString::number(s3d->manualOffset());
        else if (is(element, IntegrationGrayscale))
            value = QString::number(it->integrationTime2D());
        else if (is(element, IntegrationTof))
            value = QString::number(it->integrationTime3D());
        else if (is(element, IntegrationTofHdr))
            value = QString::number(it->integrationTime3DHDR());
        else if (is(element, Kalman))
            value = QString::number(s->kalman());
        else if (is(element, KalmanK))
            value = QString::number(s->kalmanK(), 'g', 6);
        else if (is(element, KalmanQ))
            value = QString::number(s->kalmanQ(), 'g', 6);
        else if (is(element, KalmanThreshold1))
            value = QString::number(s->kalmanThreshold1());
        else if (is(element, KalmanThreshold2))
            value = QString::number(s->kalmanThreshold2());
        else if (is(element, GaussFilterIterations))
            value = QString::number(s->gaussFilterIterations());
        else if (is(element, EdgeDetectionThresholds))
            value = QString::number(s->edgeDetectionThreshold(false));
        else if (is(element, MedianFilterIterations))
            value = QString::number(s->medianFilterIterations());
        else if (is(element, MedianFilterSize))
            value = QString::number(s->medianFilterSize());
        else if (is(element, GaussFilterIterations1))
            value = QString::number(s->gaussFilterIterations1());
        else if (is(element, PcFilterIterations))
            value = QString::number(s->pcFilterIterations(false));
        else if (is(element, LogPath))
            value = s->logPath();
        else if (is(element, LogFilename))
            value = s->logFilename();
        else if (is(element, LogNumberOfPictures))
            value = QString::number(s->logNumberOfPictures());
        else if (is(element, FlashDelay))
            value = QString::number(flim->flashDelay());
        else if (is(element, FlashWidth))
            value = QString::number(flim->flashWidth());
        else if (is(element, MgaDelay))
            value = QString::number(flim->mgaDelay());
        else if (is(element, MgaWidth))
            value = QString::number(flim->mgaWidth());
        else if (is(element, MgbDelay))
            value = QString::number(flim->mgbDelay());
        else if (is(element, MgbWidth))
            value = QString::number(flim->mgbWidth());
        else if (is(element, RepetitionTime))
            value = QString::number(flim->repetitionTime());
        else if (is(element, Repetitions))
            value = QString::number(flim->repetitions());
        else if (is(element, X1))
            value = QString::number(roi->x1());
        else if (is(element, X2))
            value = QString::number(roi->x2());
        else if (is(element, Y1))
            value = QString::number(roi->y1());
        else if (is(element, Y2))
            value = QString::number(roi->y2());
        else if (is(element, Lfsr))
            value = QString::number(dc->lfsrIndex());
        else if (is(element, Polynomial))
            value = QString::number(dc->polynomialIndex());
        else if (is(element, FovLens))
            value = QString::number(cal->fov());
        else if (is(element, MovingAverageImageNumber))
            value = QString::number(s->movingAverageImageNumber());
        else if (is(element, WindPosX))
            value = QString::number(s->windPosX());
        else if (is(element, WindPosY))
            value = QString::number(s->windPosY());
        else if (is(element, WindWidth))
            value = QString::number(s->windWidth());
        else if (is(element, WindHeight))
            value = QString::number(s->windHeight());
        else if (is(element, WindDemoPosX))
            value = QString::number(s->windDemoPosX());
        else if (is(element, WindDemoPosY))
            value = QString::number(s->windDemoPosY());
        else if (is(element, WindDemoWidth))
            value = QString::number(s->windDemoWidth());
        else if (is(element, WindDemoHeight))
            value = QString::number(s->windDemoHeight());
        break;
    }

    writer.writeStartElement(QLatin1String(element.name));
    if (element.inner == Inner::State || element.inner == Inner::StateAndValue)
        writer.writeTextElement(QLatin1String(State), state);
    if (element.inner == Inner::Value || element.inner == Inner::StateAndValue)
        writer.writeTextElement(QLatin1String(Value), value);
    if (element.inner == Inner::Index)
        writer.writeTextElement(QLatin1String(Index), value);
    writer.writeEndElement();
}

bool SettingsManager::loadConfig(const QString& filename)
{
    ZTRACE().nospace() << "loadConfig(QString filename): " << filename;
    const bool defaultFile = filename.contains(QLatin1String("_default.xml"));

    QFile file(filename);
    bool applied = false;
    bool complete = false;
    if (!file.open(QIODevice::ReadOnly)) {
        ZTRACE().nospace() << "loadConfig: could not open " << filename << ": " << file.errorString();
    } else if (file.size() > maxFileSize) {
        ZTRACE().nospace() << "loadConfig: " << filename << " is too large for a configuration ("
                           << file.size() << " bytes), nothing applied";
    } else {
        QXmlStreamReader reader(&file);
        if (!reader.readNextStartElement() || reader.name() != QLatin1String(SettingsXml::Root)) {
            ZTRACE().nospace() << "loadConfig: " << filename << " is not a configuration, nothing applied";
        } else {
            applied = true;
            LoadState state;
            const bool flim = isFlimChip();
            while (reader.readNextStartElement()) {
                const SettingsXml::Element* element = findElement(reader.name());
                if (!element || (flim && !element->flimChip)) {
                    reader.skipCurrentElement();
                    continue;
                }
                applyElement(reader, *element, state);
            }
            // Whatever the file held, the ROI ends inside the sensor and is announced once,
            // so that the ROI panel and the camera take it.
            finishRoi(state);
            if (reader.hasError())
                ZTRACE() << reader.errorString();
            else
                complete = true;
        }
    }

    if (applied) {
        settings->setConfigLoaded(true);
        settings->announceUpdateDemoWinSize();
        if (!isFlimChip())
            applyPostLoadRules(defaultFile);
        const SettingsCalibration* cal = settings->calibration();
        if (!defaultFile && settings->modeIndex() == 0)
            applyTwice(settings->integrationTime()->integrationTime2D(),
                       [this](int v) { settings->integrationTime()->setIntegrationTime2D(v); });
        if (cal->grayscaleCorrectionAvailable()) {
            settings->announceEnableGrayscaleOffset(cal->grayscaleOffset());
            settings->announceEnableGrayscaleGain(cal->grayscaleGain());
        } else {
            settings->announceEnableGrayscaleOffset(false);
            settings->announceEnableGrayscaleGain(false);
        }
    }
    applyCorrectionLock();
    return applied && complete;
}

void SettingsManager::applyElement(QXmlStreamReader& reader, const SettingsXml::Element& element,
                                   LoadState& state)
{
    using namespace SettingsXml;
    QString stateText;
    QString valueText;
    bool hasState = false;
    bool hasValue = false;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String(State)) {
            stateText = reader.readElementText();
            hasState = true;
        } else if (reader.name() == QLatin1String(Value) || reader.name() == QLatin1String(Index)) {
            valueText = reader.readElementText();
            hasValue = true;
        } else {
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError())
        return;

    if (hasState && (element.inner == Inner::State || element.inner == Inner::StateAndValue)) {
        const QString text = stateText.trimmed();
        if (text == QLatin1String(On) || text == QLatin1String(Off))
            applyState(element, text == QLatin1String(On));
        else
            ZTRACE().nospace() << "configuration switch not understood: " << element.name << " " << text;
    }
    if (hasValue && element.inner != Inner::State) {
        if (is(element, LogPath) || is(element, LogFilename)) {
            applyText(element, valueText);
            return;
        }
        bool ok = false;
        const double number = valueText.trimmed().toDouble(&ok);
        if (ok && std::isfinite(number))
            applyNumber(element, number, state);
        else
            ZTRACE().nospace() << "configuration number not understood: " << element.name << " "
                               << valueText.left(32);
    }
}

void SettingsManager::applyState(const SettingsXml::Element& element, bool value)
{
    using namespace SettingsXml;
    Settings* s = settings;
    Settings3D* s3d = s->settings3D();
    SettingsDistanceCalculation* dc = s->distanceCalculation();
    SettingsCalibration* cal = s->calibration();

    if (is(element, Abs))
        applySwitchTwice(value, [s](bool b) { s->abs()->setAbs(b); });
    else if (is(element, PiDelay))
        applySwitchTwice(value, [dc](bool b) { dc->setPiDelay(b); });
    else if (is(element, DualMgx))
        applySwitchTwice(value, [dc](bool b) { dc->setDualMGX(b); });
    else if (is(element, Hdr))
        applySwitchTwice(value, [dc](bool b) { dc->setHdr(b); });
    else if (is(element, Fpn))
        applySwitchTwice(value, [s3d](bool b) { s3d->setFpn(b); });
    else if (is(element, Hysteresis))
        applySwitchTwice(value, [s3d](bool b) { s3d->setHysteresisEnabled(b); });
    else if (is(element, EnableAutoOffset))
        applySwitchTwice(value, [s3d](bool b) { s3d->setAutoOffsetEnabled(b); });
    else if (is(element, PixelInterpolation))
        loadPixelInterpolation(value);
    else if (is(element, GaussFilter))
        applySwitchTwice(value, [s](bool b) { s->setGaussFilter(b); });
    else if (is(element, EdgeDetection))
        applySwitchTwice(value, [s](bool b) { s->setEdgeDetection(b); });
    else if (is(element, MedianFilter))
        applySwitchTwice(value, [s](bool b) { s->setMedianFilter(b); });
    else if (is(element, GaussFilter1))
        applySwitchTwice(value, [s](bool b) { s->setGaussFilter1(b); });
    else if (is(element, PcFilter))
        applySwitchTwice(value, [s](bool b) { s->setPcFilter(b); });
    else if (is(element, LogLsb))
        applySwitchTwice(value, [s](bool b) { s->setLogLsb(b); });
    else if (is(element, LogDistance))
        applySwitchTwice(value, [s](bool b) { s->setLogDistance(b); });
    else if (is(element, LogAmplitude))
        applySwitchTwice(value, [s](bool b) { s->setLogAmplitude(b); });
    else if (is(element, LogFilteredDistance))
        applySwitchTwice(value, [s](bool b) { s->setLogFilteredDistance(b); });
    else if (is(element, LogCsv))
        applySwitchTwice(value, [s](bool b) { s->setLogCsv(b); });
    else if (is(element, LogPng))
        applySwitchTwice(value, [s](bool b) { s->setLogPng(b); });
    else if (is(element, Saturation)) {
        // Chips of IC version 2 and older cannot switch the saturation flag.
        if (!(hasLargeSensorRoi() && s->icVersion() <= 2))
            applySwitchTwice(value, [s](bool b) { s->dataValidation()->setSaturation(b); });
    } else if (is(element, AdcValidation))
        applySwitchTwice(value, [s](bool b) { s->dataValidation()->setAdcOverflow(b); });
    else if (is(element, Emulation310)) {
        if (hasLargeSensorRoi())
            applySwitchTwice(value, [s](bool b) { s->roi()->announceEmulationLoaded(b); });
    } else if (is(element, VerticalBinning))
        applySwitchTwice(value, [s](bool b) { s->binningAndReduction()->setVerticalBinning(b); });
    else if (is(element, HorizontalBinning))
        applySwitchTwice(value, [s](bool b) { s->binningAndReduction()->setHorizontalBinning(b); });
    else if (is(element, HorizontalFlip))
        applySwitchTwice(value, [s](bool b) { s->transformation()->setHorizontalFlip(b); });
    else if (is(element, VerticalFlip))
        applySwitchTwice(value, [s](bool b) { s->transformation()->setVerticalFlip(b); });
    else if (is(element, DrnuCorrection)) {
        if (s->drnuAvailable())
            applySwitchTwice(value, [cal](bool b) { cal->setDrnuCorrection(b); });
    } else if (is(element, TemperatureCorrection)) {
        if (s->drnuAvailable())
            applySwitchTwice(value, [cal](bool b) { cal->setTemperatureCorrection(b); });
    } else if (is(element, GrayscaleOffset)) {
        if (cal->grayscaleCorrectionAvailable())
            applySwitchTwice(value, [cal](bool b) { cal->setGrayscaleOffset(b); });
    } else if (is(element, GrayscaleGain)) {
        if (cal->grayscaleCorrectionAvailable())
            applySwitchTwice(value, [cal](bool b) { cal->setGrayscaleGain(b); });
    } else if (is(element, EnabledCalibration))
        applySwitchTwice(value, [s](bool b) { s->setEnabledCalibration(b); });
}

void SettingsManager::loadPixelInterpolation(bool state)
{
    ZTRACE() << "SettingsManager::loadPixelInterpolation" << boolText(state);
    SettingsCalibration* cal = settings->calibration();
    applySwitchTwice(state, [cal](bool b) { cal->setPixelInterpolation(b); });
}

void SettingsManager::applyText(const SettingsXml::Element& element, const QString& text)
{
    if (is(element, SettingsXml::LogPath)) {
        settings->setLogPath(text);
    } else if (is(element, SettingsXml::LogFilename)) {
        settings->setLogFilename(text);
    }
}

void SettingsManager::applyNumber(const SettingsXml::Element& element, double number, LoadState& state)
{
    using namespace SettingsXml;
    namespace B = ConfigBounds;
    Settings* s = settings;
    Settings3D* s3d = s->settings3D();
    SettingsDistanceCalculation* dc = s->distanceCalculation();
    SettingsIntegrationTime* it = s->integrationTime();
    SettingsFLIM* flim = s->flim();
    SettingsROI* roi = s->roi();

    if (is(element, KalmanK) || is(element, KalmanQ)) {
        const double limit = B::number.max;
        const double value = qBound(-limit, number, limit);
        if (value != number)
            ZTRACE().nospace() << "configuration value out of range: " << element.name << " " << number
                               << ", using " << value;
        if (is(element, KalmanK)) {
            applyTwice(value, [s](double v) { s->setKalmanK(v); });
            s->announceUpdateViewControls();
        } else {
            applyTwice(value, [s](double v) { s->setKalmanQ(v); });
        }
        return;
    }

    const double clipped = qBound(double(B::number.min), std::round(number), double(B::number.max));
    const int n = bounded(element, int(clipped), B::number);
    auto inRange = [&element, n](B::Range range) { return bounded(element, n, range); };

    if (is(element, ModulationFrequencyIndex)) {
        SettingsModulation* modulation = s->modulation();
        modulation->setFrequencyIndex(1);
        if (n >= 0 && n < modulation->frequencyCount()) {
            modulation->setFrequencyIndex(n);
        } else {
            ZTRACE() << "couldn't set default modulation idx";
            modulation->setFrequencyIndex(0);
        }
    } else if (is(element, Modulation)) {
        applyTwice(n, [dc](int v) { dc->setModulationIndex(v); });
    } else if (is(element, ViewMode)) {
        const B::Range range = dc->hdr() ? B::viewModeWithHdr : B::viewMode;
        int mode = inRange(range);
        if (mode != n)
            mode = 1; // the distance view, the hub's own default
        applyTwiceInRange(mode, range, [s](int v) { s->setModeIndex(v); });
    } else if (is(element, RangeMax)) {
        applyTwice(n, [s3d](int v) { s3d->setDistanceMax(v); });
    } else if (is(element, RangeMin)) {
        applyTwice(n, [s3d](int v) { s3d->setDistanceMin(v); });
    } else if (is(element, AmplitudeMin)) {
        applyTwice(n, [s3d](int v) { s3d->setMinAmplitude(v); });
    } else if (is(element, Hysteresis)) {
        applyTwice(n, [s3d](int v) { s3d->setHysteresis(v); });
    } else if (is(element, ManualOffset)) {
        applyTwice(n, [s3d](int v) { s3d->setManualOffset(v); });
    } else if (is(element, IntegrationGrayscale)) {
        applyTwiceInRange(inRange(B::integrationTime2D), B::integrationTime2D,
                          [it](int v) { it->setIntegrationTime2D(v); });
    } else if (is(element, IntegrationTof)) {
        // The HDR exposure starts from the TOF exposure.
        const int t = inRange(B::integrationTime3D);
        applyTwiceInRange(t, B::integrationTime3D, [it](int v) { it->setIntegrationTime3DHDR(v); });
        applyTwiceInRange(t, B::integrationTime3D, [it](int v) { it->setIntegrationTime3D(v); });
    } else if (is(element, IntegrationTofHdr)) {
        applyTwiceInRange(inRange(B::integrationTime3D), B::integrationTime3D,
                          [it](int v) { it->setIntegrationTime3DHDR(v); });
        // The TOF time is announced again after the HDR time, so both reach the camera in this order.
        applyTwiceInRange(it->integrationTime3D(), B::integrationTime3D,
                          [it](int v) { it->setIntegrationTime3D(v); });
    } else if (is(element, Kalman)) {
        applyTwice(n, [s](int v) { s->setKalman(v); });
    } else if (is(element, KalmanThreshold1)) {
        applyTwice(n, [s](int v) { s->setKalmanThreshold1(v); });
    } else if (is(element, KalmanThreshold2)) {
        applyTwice(n, [s](int v) { s->setKalmanThreshold2(v); });
    } else if (is(element, GaussFilterIterations)) {
        applyTwiceInRange(inRange(B::filterIterations), B::filterIterations,
                          [s](int v) { s->setGaussFilterIterations(v); });
    } else if (is(element, EdgeDetectionThresholds)) {
        applyTwice(n, [s](int v) { s->setEdgeDetectionThreshold(v, false); });
    } else if (is(element, MedianFilterIterations)) {
        applyTwiceInRange(inRange(B::filterIterations), B::filterIterations,
                          [s](int v) { s->setMedianFilterIterations(v); });
    } else if (is(element, MedianFilterSize)) {
        // The median window is odd and at least 3 wide, as the view panel keeps it.
        int size = inRange(B::medianSize);
        if (size % 2 == 0) {
            size = size + 1 > B::medianSize.max ? size - 1 : size + 1;
            ZTRACE().nospace() << "configuration median size made odd: " << size;
        }
        s->setMedianFilterSize(size);
    } else if (is(element, GaussFilterIterations1)) {
        applyTwiceInRange(inRange(B::filterIterations), B::filterIterations,
                          [s](int v) { s->setGaussFilterIterations1(v); });
    } else if (is(element, PcFilterIterations)) {
        applyTwice(n, [s](int v) { s->setPcFilterIterations(v, false); });
    } else if (is(element, LogNumberOfPictures)) {
        applyTwice(n, [s](int v) { s->setLogNumberOfPictures(v); });
    } else if (is(element, FlashDelay)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setFlashDelay(v); });
    } else if (is(element, FlashWidth)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setFlashWidth(v); });
    } else if (is(element, MgaDelay)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setMgaDelay(v); });
    } else if (is(element, MgaWidth)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setMgaWidth(v); });
    } else if (is(element, MgbDelay)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setMgbDelay(v); });
    } else if (is(element, MgbWidth)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setMgbWidth(v); });
    } else if (is(element, RepetitionTime)) {
        applyTwiceInRange(inRange(B::flimSteps), B::flimSteps, [flim](int v) { flim->setRepetitionTime(v); });
    } else if (is(element, Repetitions)) {
        applyTwiceInRange(inRange(B::flimRepetitions), B::flimRepetitions,
                          [flim](int v) { flim->setRepetitions(v); });
    } else if (is(element, X1) || is(element, X2) || is(element, Y1) || is(element, Y2)) {
        state.roiSeen = true;
        if (is(element, X1))
            roi->setX1(0);
        // Only the large arrays take a file's ROI; the small sensors always read the same
        // fixed window of the array.
        const bool large = hasLargeSensorRoi();
        SettingsPixelScope* scope = s->pixelScope();
        if (is(element, X1)) {
            const int x = large ? n : 4;
            applyTwice(x, [roi](int v) { roi->setX1(v); });
            scope->setX1(x);
        } else if (is(element, X2)) {
            const int x = large ? n : 163;
            applyTwice(x, [roi](int v) { roi->setX2(v); });
            scope->setX2(x);
        } else if (is(element, Y1)) {
            applyTwice(large ? n : 6, [roi](int v) { roi->setY1(v); });
        } else {
            applyTwice(large ? n : 65, [roi](int v) { roi->setY2(v); });
        }
    } else if (is(element, RowReduction)) {
        applyTwiceInRange(inRange(B::rowReduction), B::rowReduction,
                          [s](int v) { s->binningAndReduction()->setRowReductionIndex(v); });
    } else if (is(element, Lfsr)) {
        applyTwiceInRange(inRange(B::lfsr), B::lfsr, [dc](int v) { dc->setLfsrIndex(v); });
    } else if (is(element, Polynomial)) {
        applyTwiceInRange(inRange(B::polynomial), B::polynomial, [dc](int v) { dc->setPolynomialIndex(v); });
    } else if (is(element, FovLens)) {
        applyTwiceInRange(inRange(B::fov), B::fov, [s](int v) { s->calibration()->setFov(v); });
    } else if (is(element, MovingAverageImageNumber)) {
        applyTwiceInRange(inRange(B::movingAverage), B::movingAverage,
                          [s](int v) { s->setMovingAverageImageNumber(v); });
    } else if (is(element, WindPosX)) {
        s->setWindPosX(inRange(B::windowPosition));
    } else if (is(element, WindPosY)) {
        s->setWindPosY(inRange(B::windowPosition));
    } else if (is(element, WindWidth)) {
        s->setWindWidth(inRange(B::windowSize));
    } else if (is(element, WindHeight)) {
        s->setWindHeight(inRange(B::windowSize));
    } else if (is(element, WindDemoPosX)) {
        s->setWindDemoPosX(inRange(B::windowPosition));
    } else if (is(element, WindDemoPosY)) {
        s->setWindDemoPosY(inRange(B::windowPosition));
    } else if (is(element, WindDemoWidth)) {
        s->setWindDemoWidth(inRange(B::windowSize));
    } else if (is(element, WindDemoHeight)) {
        s->setWindDemoHeight(inRange(B::windowSize));
    }
}

void SettingsManager::finishRoi(LoadState& state)
{
    if (!state.roiSeen)
        return;
    SettingsROI* roi = settings->roi();
    // The decoders index the pixel field with the ROI: keep it on the sensor, corners in order.
    int x1 = qBound(0, roi->x1(), roi->sensorWidth() - 1);
    int x2 = qBound(0, roi->x2(), roi->sensorWidth() - 1);
    int y1 = qBound(0, roi->y1(), roi->sensorHeight() - 1);
    int y2 = qBound(0, roi->y2(), roi->sensorHeight() - 1);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    if (x1 != roi->x1() || x2 != roi->x2() || y1 != roi->y1() || y2 != roi->y2()) {
        ZTRACE().nospace() << "configuration ROI outside the sensor: " << roi->x1() << " " << roi->x2() << " "
                           << roi->y1() << " " << roi->y2() << ", using " << x1 << " " << x2 << " " << y1
                           << " " << y2;
    }
    settings->pixelScope()->setX1(x1);
    settings->pixelScope()->setX2(x2);
    roi->setRoiAndFields(x1, x2, y1, y2);
}

void SettingsManager::applyPostLoadRules(bool defaultFile)
{
    Settings* s = settings;
    SettingsDistanceCalculation* dc = s->distanceCalculation();
    SettingsDataValidation* validation = s->dataValidation();
    if (s->drnuAvailable()) {
        if (defaultFile) {
            const int mode = s->modeIndex();
            s->integrationTime()->announceLock2DTime(true);
            s->announceCheckDRNU(true);
            s->announceCheckTemperature(true);
            dc->setHdr(true);
            dc->setHdr(false);
            validation->setAdcOverflow(false);
            validation->setAdcOverflow(true);
            s->setModeIndex(mode);
        } else {
            s->integrationTime()->announceLock2DTime(false);
            s->announceLockDRNUCorrection(false);
            s->announceCheckDRNU(s->calibration()->drnuCorrection());
            s->announceLockTemperatureCorrection(false);
            s->announceCheckTemperature(s->calibration()->temperatureCorrection());
        }
    } else if (defaultFile) {
        const int mode = s->modeIndex();
        dc->setHdr(true);
        dc->setHdr(false);
        validation->setAdcOverflow(false);
        validation->setAdcOverflow(true);
        s->lockCorrections(true);
        s->setModeIndex(mode);
    }
}

void SettingsManager::applyCorrectionLock()
{
    const int type = settings->modulation()->calibrationTypeOf(settings->modulation()->frequencyIndex());
    const bool abs = settings->abs()->abs();
    ZTRACE().nospace() << "calibration mode: " << type;
    ZTRACE().nospace() << "get ABS status: " << boolText(abs);
    // A frequency calibrated with background suppression (type 21) is corrected only with
    // ABS off; every other calibrated frequency only with ABS on.
    if ((type == 21 && abs) || (type != 21 && !abs) || type <= 0)
        settings->lockCorrections(true);
}
