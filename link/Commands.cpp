#include "link/Commands.h"

namespace Commands {

namespace {

QString withInt(const char* keyword, int value)
{
    return QLatin1String(keyword) + QLatin1Char(' ') + QString::number(value);
}

QString withSwitch(const char* keyword, bool on, int onValue = 1)
{
    return withInt(keyword, on ? onValue : 0);
}

// QString::asprintf formats in the C locale, so the decimal separator is always a full stop.
QString withFraction(const char* keyword, const char* format, double value)
{
    return QLatin1String(keyword) + QLatin1Char(' ') + QString::asprintf(format, value);
}

// Registers are 8 bits wide: two upper-case hex digits, no prefix.
QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString version()
{
    return QStringLiteral("version");
}
QString getIcVersion()
{
    return QStringLiteral("getIcVersion");
}
QString getModulationFrequencies()
{
    return QStringLiteral("getModulationFrequencies");
}
QString getCalibrationTypeForFreqIdx(int index)
{
    return withInt("getCalibrationTypeForFreqIdx", index);
}

QString writeRegister(int address, int value)
{
    return QLatin1String("w ") + hexByte(address) + QLatin1Char(' ') + hexByte(value);
}

QString readRegister(int address)
{
    return QLatin1String("r ") + hexByte(address);
}
QString selectChipTypeRegister()
{
    return writeRegister(0x11, 0xFA);
}
QString readChipType()
{
    return readRegister(0x12);
}
QString getPartVersion()
{
    return QStringLiteral("getPartVersion");
}
QString flimGetStep()
{
    return QStringLiteral("FLIMGetStep");
}
QString getOffset()
{
    return QStringLiteral("getOffset");
}
QString getChipInfo()
{
    return QStringLiteral("getChipInfo");
}
QString dumpAllRegisters()
{
    return QStringLiteral("dumpAllRegisters");
}
QString getTemperature()
{
    return QStringLiteral("getTemperature");
}
QString getSpeedOfLight()
{
    return QStringLiteral("getSpeedOfLight");
}
QString setSpeedOfLight(const QString& asTyped)
{
    return QLatin1String("setSpeedOfLight ") + asTyped;
}
QString startVideo()
{
    return QStringLiteral("startVideo");
}
QString stopVideo()
{
    return QStringLiteral("stopVideo");
}

QString getBWSorted()
{
    return QStringLiteral("getBWSorted");
}
QString getDistanceAndAmplitudeSorted()
{
    return QStringLiteral("getDistanceAndAmplitudeSorted");
}
QString getAmplitudeSorted()
{
    return QStringLiteral("getAmplitudeSorted");
}
QString getDCSSorted()
{
    return QStringLiteral("getDCSSorted");
}
QString getDCSTOFAndGrayscaleSorted()
{
    return QStringLiteral("getDCSTOFAndGrayscaleSorted");
}

QString setIntegrationTime2D(int microseconds)
{
    return withInt("setIntegrationTime2D", microseconds);
}
QString setIntegrationTime3D(int microseconds)
{
    return withInt("setIntegrationTime3D", microseconds);
}
QString setIntegrationTime3DHDR(int microseconds)
{
    return withInt("setIntegrationTime3DHDR", microseconds);
}
QString setModulationFrequency(int frequencyIndex)
{
    return withInt("setModulationFrequency", frequencyIndex);
}
QString setMinAmplitude(int lsb)
{
    return withInt("setMinAmplitude", lsb);
}
QString setHysteresis(int lsb)
{
    return withInt("setHysteresis", lsb);
}
QString enableDefaultOffset(bool on)
{
    return withSwitch("enableDefaultOffset", on);
}
QString setOffset(int offset)
{
    return withInt("setOffset", offset);
}
QString enableTempCorrection(bool on)
{
    return withSwitch("enableTempCorrection", on);
}

QString setROI(int left, int right, int top, int bottom)
{
    return QLatin1String("setROI ") + QString::number(left) + QLatin1Char(' ') + QString::number(right) +
           QLatin1Char(' ') + QString::number(top) + QLatin1Char(' ') + QString::number(bottom);
}

QString enableHorizontalBinning(bool on)
{
    return withSwitch("enableHorizontalBinning", on);
}
QString enableVerticalBinning(bool on)
{
    return withSwitch("enableVerticalBinning", on);
}
QString setRowReduction(int index)
{
    return withInt("setRowReduction", index);
}
QString enablePiDelay(bool on)
{
    return withSwitch("enablePiDelay", on);
}
QString enableDualMGX(bool on)
{
    return withSwitch("enableDualMGX", on);
}
QString enableHDR(bool on)
{
    return withSwitch("enableHDR", on);
}
QString selectMode(int modulationModeIndex)
{
    return withInt("selectMode", modulationModeIndex);
}

QString selectPolynomial(int lfsrIndex, int polynomialIndex)
{
    return withInt("selectPolynomial", lfsrIndex + 1) + QLatin1Char(' ') + QString::number(polynomialIndex);
}

QString setABS(bool on)
{
    return withSwitch("setABS", on);
}
QString enableSaturation(bool on)
{
    return withSwitch("enableSaturation", on);
}
QString enableAdcOverflow(bool on)
{
    return withSwitch("enableAdcOverflow", on);
}
QString setImageAveraging(int factor)
{
    return withInt("setImageAveraging", factor);
}
QString flimSetFlashDelay(int steps)
{
    return withInt("FLIMSetFlashDelay", steps);
}
QString flimSetFlashWidth(int steps)
{
    return withInt("FLIMSetFlashWidth", steps);
}

QString flimSetT(int gate, int steps)
{
    return QLatin1String("FLIMSetT") + QString::number(gate) + QLatin1Char(' ') + QString::number(steps);
}

QString flimSetTrep(int steps)
{
    return withInt("FLIMSetTREP", steps);
}
QString flimSetRepetitions(int cycles)
{
    return withInt("FLIMSetRepetitions", cycles);
}

QString loadConfig(int viewModeIndex)
{
    return withInt("loadConfig", viewModeIndex == 0 ? 0 : 1);
}
QString getBadPixels()
{
    return QStringLiteral("getBadPixels");
}
QString correctGrayscaleOffset(bool on)
{
    return withSwitch("correctGrayscaleOffset", on);
}
QString correctGrayscaleGain(bool on)
{
    return withSwitch("correctGrayscaleGain", on);
}
QString correctDRNU(bool on)
{
    return withSwitch("correctDRNU", on, 2);
}
QString correctTemperature(bool on)
{
    return withSwitch("correctTemperature", on, 2);
}
QString showDRNU()
{
    return QStringLiteral("showDRNU");
}
QString hideDRNU()
{
    return QStringLiteral("hideDRNU");
}
QString isGrayscaleCorrectionAvailable()
{
    return QStringLiteral("isGrayscaleCorrectionAvailable");
}
QString isDRNUAvailable()
{
    return QStringLiteral("isDRNUAvailable");
}
QString isFlimCorrectionAvailable()
{
    return QStringLiteral("isFlimCorrectionAvailable");
}
QString kalman(int variant)
{
    return withInt("Kalman", variant);
}
QString setKalmanK(double gain)
{
    return withFraction("setKalmanK", "%2.4f", gain);
}
QString setKalmanQ(double factor)
{
    return withFraction("setKalmanQ", "%2.4f", factor);
}
QString setKalmanThreshold(int lsb)
{
    return withInt("setKalmanThreshold", lsb);
}
QString setKalmanThreshold2(int lsb)
{
    return withInt("setKalmanThreshold2", lsb);
}
QString setKalmanKdiff(double factor)
{
    return withFraction("setKalmanKdiff", "%2.2f", factor);
}
QString setKalmanNumCheck(int checks)
{
    return withInt("setKalmanNumCheck", checks);
}
QString enableArgCheck(bool on)
{
    return withSwitch("enableArgCheck", on);
}
QString correctFlimOffset(bool on)
{
    return withSwitch("correctFlimOffset", on);
}
QString correctFlimGain(bool on)
{
    return withSwitch("correctFlimGain", on);
}
QString filterMode(bool gaussOn)
{
    return withSwitch("filterMode", gaussOn, 3);
}
QString nloopFilter(int iterations)
{
    return withInt("nloopFilter", iterations);
}

QString searchBadPixels()
{
    return QStringLiteral("searchBadPixels");
}
QString calibrateDRNU()
{
    return QStringLiteral("calibrateDRNU");
}
QString renewDRNU()
{
    return QStringLiteral("renewDRNU");
}
QString factoryCalibration()
{
    return QStringLiteral("factoryCalibration");
}

} // namespace Commands
