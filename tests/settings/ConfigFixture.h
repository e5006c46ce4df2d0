#pragma once

#include "settings/Settings.h"

#include <QFile>
#include <QString>
#include <QStringList>

// Header-only helpers for the configuration tests: every stored field of the hub as text, a
// hub filled with values that differ from its defaults, and small configuration documents.
namespace ConfigFixture {

// One entry per field a configuration file stores; doubles to six significant digits.
inline QStringList storedFields(const Settings& s)
{
    auto n = [](double v) { return QString::number(v, 'g', 6); };
    auto b = [](bool v) { return QString::fromLatin1(v ? "on" : "off"); };
    const Settings3D* d = s.settings3D();
    const SettingsDistanceCalculation* c = s.distanceCalculation();
    const SettingsIntegrationTime* t = s.integrationTime();
    const SettingsFLIM* f = s.flim();
    const SettingsROI* r = s.roi();
    const SettingsCalibration* k = s.calibration();
    const SettingsBinningAndReduction* br = s.binningAndReduction();
    return {
        QStringLiteral("frequencyIndex=") + n(s.modulation()->frequencyIndex()),
        QStringLiteral("modulationIndex=") + n(c->modulationIndex()),
        QStringLiteral("abs=") + b(s.abs()->abs()),
        QStringLiteral("piDelay=") + b(c->piDelay()),
        QStringLiteral("dualMGX=") + b(c->dualMGX()),
        QStringLiteral("hdr=") + b(c->hdr()),
        QStringLiteral("modeIndex=") + n(s.modeIndex()),
        QStringLiteral("distanceMax=") + n(d->distanceMax()),
        QStringLiteral("distanceMin=") + n(d->distanceMin()),
        QStringLiteral("minAmplitude=") + n(d->minAmplitude()),
        QStringLiteral("fpn=") + b(d->fpn()),
        QStringLiteral("hysteresisEnabled=") + b(d->hysteresisEnabled()),
        QStringLiteral("hysteresis=") + n(d->hysteresis()),
        QStringLiteral("autoOffsetEnabled=") + b(d->autoOffsetEnabled()),
        QStringLiteral("manualOffset=") + n(d->manualOffset()),
        QStringLiteral("integrationTime2D=") + n(t->integrationTime2D()),
        QStringLiteral("integrationTime3D=") + n(t->integrationTime3D()),
        QStringLiteral("integrationTime3DHDR=") + n(t->integrationTime3DHDR()),
        QStringLiteral("pixelInterpolation=") + b(k->pixelInterpolation()),
        QStringLiteral("kalman=") + n(s.kalman()),
        QStringLiteral("kalmanK=") + n(s.kalmanK()),
        QStringLiteral("kalmanQ=") + n(s.kalmanQ()),
        QStringLiteral("kalmanThreshold1=") + n(s.kalmanThreshold1()),
        QStringLiteral("kalmanThreshold2=") + n(s.kalmanThreshold2()),
        QStringLiteral("gaussFilter=") + b(s.gaussFilter()),
        QStringLiteral("gaussFilterIterations=") + n(s.gaussFilterIterations()),
        QStringLiteral("edgeDetection=") + b(s.edgeDetection()),
        QStringLiteral("edgeDetectionThreshold=") + n(s.edgeDetectionThreshold(false)),
        QStringLiteral("medianFilter=") + b(s.medianFilter()),
        QStringLiteral("medianFilterIterations=") + n(s.medianFilterIterations()),
        QStringLiteral("medianFilterSize=") + n(s.medianFilterSize()),
        QStringLiteral("gaussFilter1=") + b(s.gaussFilter1()),
        QStringLiteral("gaussFilterIterations1=") + n(s.gaussFilterIterations1()),
        QStringLiteral("pcFilter=") + b(s.pcFilter()),
        QStringLiteral("pcFilterIterations=") + n(s.pcFilterIterations(false)),
        QStringLiteral("logPath=") + s.logPath(),
        QStringLiteral("logFilename=") + s.logFilename(),
        QStringLiteral("logNumberOfPictures=") + n(s.logNumberOfPictures()),
        QStringLiteral("logLsb=") + b(s.logLsb()),
        QStringLiteral("logDistance=") + b(s.logDistance()),
        QStringLiteral("logAmplitude=") + b(s.logAmplitude()),
        QStringLiteral("logFilteredDistance=") + b(s.logFilteredDistance()),
        QStringLiteral("logCsv=") + b(s.logCsv()),
        QStringLiteral("logPng=") + b(s.logPng()),
        QStringLiteral("flashDelay=") + n(f->flashDelay()),
        QStringLiteral("flashWidth=") + n(f->flashWidth()),
        QStringLiteral("mgaDelay=") + n(f->mgaDelay()),
        QStringLiteral("mgaWidth=") + n(f->mgaWidth()),
        QStringLiteral("mgbDelay=") + n(f->mgbDelay()),
        QStringLiteral("mgbWidth=") + n(f->mgbWidth()),
        QStringLiteral("repetitionTime=") + n(f->repetitionTime()),
        QStringLiteral("repetitions=") + n(f->repetitions()),
        QStringLiteral("saturation=") + b(s.dataValidation()->saturation()),
        QStringLiteral("adcOverflow=") + b(s.dataValidation()->adcOverflow()),
        QStringLiteral("roi=%1,%2,%3,%4").arg(r->x1()).arg(r->x2()).arg(r->y1()).arg(r->y2()),
        QStringLiteral("verticalBinning=") + b(br->verticalBinning()),
        QStringLiteral("horizontalBinning=") + b(br->horizontalBinning()),
        QStringLiteral("rowReductionIndex=") + n(br->rowReductionIndex()),
        QStringLiteral("lfsrIndex=") + n(c->lfsrIndex()),
        QStringLiteral("polynomialIndex=") + n(c->polynomialIndex()),
        QStringLiteral("horizontalFlip=") + b(s.transformation()->horizontalFlip()),
        QStringLiteral("verticalFlip=") + b(s.transformation()->verticalFlip()),
        QStringLiteral("fov=") + n(k->fov()),
        QStringLiteral("movingAverageImageNumber=") + n(s.movingAverageImageNumber()),
        QStringLiteral("wind=%1,%2,%3,%4")
            .arg(s.windPosX())
            .arg(s.windPosY())
            .arg(s.windWidth())
            .arg(s.windHeight()),
        QStringLiteral("windDemo=%1,%2,%3,%4")
            .arg(s.windDemoPosX())
            .arg(s.windDemoPosY())
            .arg(s.windDemoWidth())
            .arg(s.windDemoHeight()),
        QStringLiteral("drnuCorrection=") + b(k->drnuCorrection()),
        QStringLiteral("temperatureCorrection=") + b(k->temperatureCorrection()),
        QStringLiteral("grayscaleOffset=") + b(k->grayscaleOffset()),
        QStringLiteral("grayscaleGain=") + b(k->grayscaleGain()),
        QStringLiteral("enabledCalibration=") + b(s.enabledCalibration()),
    };
}

// The entries of storedFields() that a FLIM chip's file carries.
inline bool isFlimField(const QString& entry)
{
    static const QStringList prefixes = {
        QStringLiteral("flash"),        QStringLiteral("mga"),        QStringLiteral("mgb"),
        QStringLiteral("repetition"),   QStringLiteral("saturation"), QStringLiteral("adcOverflow"),
        QStringLiteral("roi"),          QStringLiteral("verticalB"),  QStringLiteral("horizontalB"),
        QStringLiteral("rowRed"),       QStringLiteral("lfsr"),       QStringLiteral("polynomial"),
        QStringLiteral("horizontalF"),  QStringLiteral("verticalF"),  QStringLiteral("fov"),
        QStringLiteral("movingAv"),     QStringLiteral("wind"),       QStringLiteral("drnuC"),
        QStringLiteral("temperatureC"), QStringLiteral("grayscale"),  QStringLiteral("enabledC"),
    };
    for (const QString& prefix : prefixes) {
        if (entry.startsWith(prefix))
            return true;
    }
    return false;
}

// Two different complete sets of in-range values (variant 0 and 1), none equal to a default.
inline void fill(Settings& s, int variant)
{
    const int k = variant;
    Settings3D* d = s.settings3D();
    SettingsDistanceCalculation* c = s.distanceCalculation();
    SettingsIntegrationTime* t = s.integrationTime();
    SettingsFLIM* f = s.flim();
    SettingsCalibration* cal = s.calibration();
    const bool on = k == 0;
    s.modulation()->setFrequencyIndex(2 + k);
    c->setModulationIndex(1 - k);
    s.abs()->setAbs(on);
    c->setPiDelay(!on);
    c->setDualMGX(on);
    c->setHdr(!on);
    s.setModeIndex(6 + k);
    d->setDistanceMax(900 + k);
    d->setDistanceMin(30 + k);
    d->setMinAmplitude(77 + k);
    d->setFpn(on);
    d->setHysteresisEnabled(!on);
    d->setHysteresis(33 + k);
    d->setAutoOffsetEnabled(on);
    d->setManualOffset(-120 - k);
    t->setIntegrationTime2D(12345 + k);
    t->setIntegrationTime3D(1234 + k);
    t->setIntegrationTime3DHDR(321 + k);
    cal->setPixelInterpolation(!on);
    s.setKalman(1 + k);
    s.setKalmanK(k == 0 ? 0.123456789 : 0.75);
    s.setKalmanQ(k == 0 ? 3.5 : 12345.678);
    s.setKalmanThreshold1(41 + k);
    s.setKalmanThreshold2(52 + k);
    s.setGaussFilter(on);
    s.setGaussFilterIterations(7 + k);
    s.setEdgeDetection(!on);
    s.setEdgeDetectionThreshold(150 + k, false);
    s.setMedianFilter(on);
    s.setMedianFilterIterations(2 + k);
    s.setMedianFilterSize(5 + 2 * k);
    s.setGaussFilter1(!on);
    s.setGaussFilterIterations1(3 + k);
    s.setPcFilter(on);
    s.setPcFilterIterations(90 + k, false);
    s.setLogPath(k == 0 ? QStringLiteral("/tmp/logs <&> \"\u00e4\"") : QStringLiteral("C:\\data"));
    s.setLogFilename(k == 0 ? QStringLiteral("frame") : QStringLiteral("shot 2"));
    s.setLogNumberOfPictures(10 + k);
    s.setLogLsb(on);
    s.setLogDistance(!on);
    s.setLogAmplitude(on);
    s.setLogFilteredDistance(!on);
    s.setLogCsv(on);
    s.setLogPng(!on);
    f->setFlashDelay(3 + k);
    f->setFlashWidth(4 + k);
    f->setMgaDelay(5 + k);
    f->setMgaWidth(6 + k);
    f->setMgbDelay(7 + k);
    f->setMgbWidth(8 + k);
    f->setRepetitionTime(20 + k);
    f->setRepetitions(500 + k);
    s.dataValidation()->setSaturation(!on);
    s.dataValidation()->setAdcOverflow(on);
    s.roi()->setRoi(10 + 2 * k, 301 - 2 * k, 12 + 2 * k, 239 - 2 * k);
    s.binningAndReduction()->setVerticalBinning(on);
    s.binningAndReduction()->setHorizontalBinning(!on);
    s.binningAndReduction()->setRowReductionIndex(1 + k);
    c->setLfsrIndex(2 + k);
    c->setPolynomialIndex(3 - k);
    s.transformation()->setHorizontalFlip(on);
    s.transformation()->setVerticalFlip(!on);
    cal->setFov(90 + k);
    s.setMovingAverageImageNumber(16 + k);
    s.setWindPosX(11 + k);
    s.setWindPosY(22 + k);
    s.setWindWidth(800 + k);
    s.setWindHeight(600 + k);
    s.setWindDemoPosX(33 + k);
    s.setWindDemoPosY(44 + k);
    s.setWindDemoWidth(640 + k);
    s.setWindDemoHeight(480 + k);
    cal->setDrnuCorrection(!on);
    cal->setTemperatureCorrection(on);
    cal->setGrayscaleOffset(!on);
    cal->setGrayscaleGain(on);
    s.setEnabledCalibration(on);
}

// A camera that reported everything: eight frequencies, DRNU and grayscale calibrations.
inline void identify(Settings& s, int chipType)
{
    s.setChipType(chipType);
    s.setIcVersion(3);
    s.flim()->setFlimChip(chipType == 1 || chipType == 3 || chipType == 5);
    s.flim()->setStep(0.5);
    for (int i = 0; i < 8; ++i) {
        s.modulation()->addFrequency(QString::number(40 >> i) + QStringLiteral(" MHz"), 40000000 >> i);
        s.modulation()->addCalibrationType(1);
    }
}

// A document with the "config" root around the given children.
inline QByteArray document(const QByteArray& children, const QByteArray& root = "config")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + ">\n" + children + "</" + root + ">\n";
}

inline QByteArray value(const char* name, const QByteArray& text)
{
    return QByteArray("<") + name + "><value>" + text + "</value></" + name + ">\n";
}

inline QByteArray index(const char* name, const QByteArray& text)
{
    return QByteArray("<") + name + "><index>" + text + "</index></" + name + ">\n";
}

inline QByteArray state(const char* name, bool on)
{
    return QByteArray("<") + name + "><state>" + (on ? "on" : "off") + "</state></" + name + ">\n";
}

inline bool writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

} // namespace ConfigFixture
