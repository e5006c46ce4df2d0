#include "recording/Logger.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"

#include <QDataStream>
#include <QFile>

#include <charconv>
#include <cmath>

namespace {

constexpr int kLabelWidth = 25;

QString padded(const char* label)
{
    return QString::fromLatin1(label).leftJustified(kLabelWidth, QLatin1Char(' '));
}

// "Label:<spaces>enabled\n"
QString switchLine(const char* label, bool state)
{
    return padded(label) + (state ? QStringLiteral("enabled\n") : QStringLiteral("disabled\n"));
}

QString valueLine(const char* label, const QString& value, const char* unit = "")
{
    return padded(label) + value + QString::fromUtf8(unit) + QLatin1Char('\n');
}

QString number(int value)
{
    return QString::number(value);
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

QString keyLine(const char* key, const QString& value)
{
    return QLatin1String(key) + QLatin1Char('=') + value + QLatin1Char('\n');
}

QString keySwitch(const char* key, bool state)
{
    return keyLine(key, state ? QStringLiteral("1") : QStringLiteral("0"));
}

QString modeWord(int mode)
{
    switch (mode) {
    case 0:
        return QStringLiteral("grayscale");
    case 1:
    case 5:
        return QStringLiteral("distance");
    case 2:
        return QStringLiteral("amplitude");
    case 3:
        return QStringLiteral("amplitude bw");
    case 4:
        return QStringLiteral("amplitude log");
    case 6:
        return QStringLiteral("DCS");
    case 7:
        return QStringLiteral("DCS differences");
    case 8:
        return QStringLiteral("DCS + Grayscale");
    case 9:
        return QStringLiteral("distance HDR");
    case 10:
        return QStringLiteral("FLIM");
    default:
        return QString();
    }
}

// Appends one decimal integer; the tables are written in one piece per block.
inline void appendInt(QByteArray& out, int value)
{
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, int(result.ptr - digits));
}

// One table block: a line per ROI row, the fields of a row joined by ",", each field the text
// that `cell` appends for the value.
template <typename Cell>
QByteArray table(const Settings* settings, const int* const* field, Cell cell)
{
    const SettingsROI* roi = settings->roi();
    QByteArray out;
    if (roi->width() < 1 || roi->height() < 1)
        return out;
    // "65500," is the widest field of a usual table.
    out.reserve(roi->width() * roi->height() * 7);
    for (int y = roi->y1(); y <= roi->y2(); ++y) {
        for (int x = roi->x1(); x <= roi->x2(); ++x) {
            if (x != roi->x1())
                out.append(',');
            cell(out, field[x][y]);
        }
        out.append('\n');
    }
    return out;
}

} // namespace

Logger::Logger(const Settings* settings, QObject* parent) : QObject(parent), m_settings(settings)
{
}

Logger::~Logger()
{
    ZTRACE() << "***Logger destroyed";
}

bool Logger::appendToFile(const QString& fileName, const QByteArray& data)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const bool written = file.write(data) == data.size();
    // Closing flushes; a full disk shows only there.
    const bool flushed = file.flush();
    file.close();
    return written && flushed && file.error() == QFileDevice::NoError;
}

bool Logger::append(const QString& fileName, const QByteArray& data)
{
    if (appendToFile(fileName, data))
        return true;
    m_failedFile = fileName;
    ZTRACE() << "Logger: cannot write" << fileName;
    return false;
}

bool Logger::writeLine(const QString& fileName, const QString& text)
{
    return appendToFile(fileName, (text + QLatin1Char('\n')).toUtf8());
}

bool Logger::writeSettingsReport(int numberOfPictures, const QString& unit, const QString& fileName)
{
    return append(fileName, settingsReport(numberOfPictures, unit));
}

bool Logger::writeSettingsKeys(const QString& fileName)
{
    return append(fileName, settingsKeys());
}

bool Logger::writeValueTable(const int* const* field, const QString& fileName, int minimum, int maximum,
                             bool addMinimum)
{
    return append(fileName, valueTable(field, minimum, maximum, addMinimum));
}

bool Logger::writeDistanceTable(const int* const* field, const QString& fileName, int minimum, int maximum)
{
    return append(fileName, distanceTable(field, minimum, maximum));
}

bool Logger::writeSamples(const int* const* field, const QString& fileName)
{
    return append(fileName, samples(field));
}

QByteArray Logger::valueTable(const int* const* field, int minimum, int maximum, bool addMinimum) const
{
    const int added = addMinimum ? minimum : 0;
    return table(m_settings, field, [=](QByteArray& out, int stored) {
        const int v = stored + added;
        if (v < minimum || v > maximum)
            out.append("NaN", 3);
        else
            appendInt(out, v);
    });
}

QByteArray Logger::distanceTable(const int* const* field, int minimum, int maximum) const
{
    // The range of the frequency in force now, as the views convert it.
    DistanceLabeler labeler(m_settings);
    const double rangeMm = labeler.updateRangeMm();
    return table(m_settings, field, [=](QByteArray& out, int v) {
        if (v < minimum || v > maximum) {
            out.append("NaN", 3);
        } else if (v == DataPixelfield::kLowAmplitude || v == DataPixelfield::kSaturated ||
                   v == DataPixelfield::kAdcOverflow) {
            appendInt(out, v);
        } else {
            const double mm = std::trunc(v * rangeMm / DistanceLabeler::kFullScale);
            appendInt(out, v < 0 || mm > rangeMm ? -1 : int(mm));
        }
    });
}

QByteArray Logger::samples(const int* const* field) const
{
    const SettingsROI* roi = m_settings->roi();
    QByteArray out;
    if (roi->width() < 1 || roi->height() < 1)
        return out;
    out.resize(roi->width() * roi->height() * 2);
    char* p = out.data();
    for (int y = roi->y1(); y <= roi->y2(); ++y) {
        for (int x = roi->x1(); x <= roi->x2(); ++x) {
            const auto word = quint16(field[x][y]);
            *p++ = char(word >> 8);
            *p++ = char(word & 0xFF);
        }
    }
    return out;
}

QByteArray Logger::settingsReport(int numberOfPictures, const QString& unit) const
{
    const Settings* s = m_settings;
    const SettingsROI* roi = s->roi();
    const SettingsCalibration* calibration = s->calibration();
    const SettingsDistanceCalculation* calculation = s->distanceCalculation();
    const int mode = s->modeIndex();

    QString out;
    out += valueLine("Number of samples:", number(numberOfPictures));
    out += valueLine("Size:", number(roi->width()) + QStringLiteral(" x ") + number(roi->height()));
    out += valueLine("Unit:", unit);
    out += padded("Mode:");
    const QString word = modeWord(mode);
    if (!word.isEmpty()) {
        out += word;
        if (mode == 1 || mode == 5) {
            out += QStringLiteral("\nCSV FILE CONTENT\n");
            if (s->logDistance())
                out += QStringLiteral("distance unfiltered\n");
            if (s->logAmplitude())
                out += QStringLiteral("amplitude\n");
            if (s->logFilteredDistance())
                out += QStringLiteral("distance filtered\n");
        } else {
            out += QLatin1Char('\n');
        }
    }

    out += QStringLiteral("\nROI\n");
    out += valueLine("Top left X:", number(roi->x1()));
    out += valueLine("Bottom right X:", number(roi->x2()));
    out += valueLine("Top left Y:", number(roi->y1()));
    out += valueLine("Bottom right Y:", number(roi->y2()));

    out += QStringLiteral("\nRUNTIME IMAGE CORRECTION\n");
    const bool flimMode = mode == 10;
    const bool grayscaleMode = mode == 0;
    if (flimMode) {
        const SettingsFLIM* flim = s->flim();
        const double step = flim->step();
        out += switchLine("DSNU:", s->flimDsnu());
        out += switchLine("PRNU:", s->flimPrnu());
        out += QLatin1Char('\n');
        out += valueLine("Flash delay:", number(flim->flashDelay() * step), " nS");
        out += valueLine("Flash width:", number(flim->flashWidth() * step), " nS");
        out += valueLine("Mga delay:", number(flim->mgaDelay() * step), " nS");
        out += valueLine("Mga width:", number(flim->mgaWidth() * step), " nS");
        out += valueLine("Mgb delay:", number(flim->mgbDelay() * step), " nS");
        out += valueLine("Mgb width:", number(flim->mgbWidth() * step), " nS");
        out += valueLine("Repetition time:", number(flim->repetitionTime() * step), " nS");
        out += valueLine("Repetitions:", number(flim->repetitions()));
    } else if (grayscaleMode) {
        out += switchLine("Remove bad pixels:", calibration->pixelInterpolation());
        out += switchLine("DSNU:", calibration->grayscaleOffset());
        out += switchLine("PRNU:", calibration->grayscaleGain());
    } else {
        out += switchLine("Remove bad pixels:", calibration->pixelInterpolation());
        out += switchLine("DRNU:", calibration->drnuCorrection());
        out += switchLine("Temperature correction:", calibration->temperatureCorrection());
        out += switchLine("ABS:", s->abs()->abs());
        switch (s->kalman()) {
        case 0:
            out += QLatin1Char('\n') + padded("Kalman filter:") + QStringLiteral("disabled\n");
            break;
        case 1:
            out += QLatin1Char('\n') + switchLine("Kalman1:", true);
            out += valueLine("K:", number(s->kalmanK()));
            out += valueLine("Threshold:", number(s->kalmanThreshold1()), " cm");
            break;
        case 2:
            out += QLatin1Char('\n') + switchLine("Kalman2:", true);
            out += valueLine("Q:", number(s->kalmanQ()));
            out += valueLine("Threshold:", number(s->kalmanThreshold2()), " cm");
            break;
        default:
            break;
        }
        out += switchLine("Median filter:", s->medianFilter());
        if (s->medianFilter()) {
            out += valueLine("Median filter size:", number(s->medianFilterSize()), " ");
            out += valueLine("Median filter iterations:", number(s->medianFilterIterations()), " ");
        }
        out += switchLine("Gauss 3x3 filter:", s->gaussFilter1());
        if (s->gaussFilter1())
            out += valueLine("Gauss 3x3 iterations:", number(s->gaussFilterIterations1()), " ");
        out += switchLine("Edge detection:", s->edgeDetection());
        if (s->edgeDetection())
            out += valueLine("Edge detection threshold:", number(s->edgeDetectionThreshold(false)), " mm");
        out += switchLine("Surface interconnect:", s->pcFilter());
        if (s->pcFilter())
            out += valueLine("Maximum distance:", number(s->pcFilterIterations(false)), " mm");
    }

    if (!flimMode && !grayscaleMode) {
        out += QStringLiteral("\nMODULATION\n");
        out += valueLine("Frequency:", number(s->modulation()->currentFrequencyHz()), " Hz");
        if (mode == 1 || mode == 9) {
            const Settings3D* tof = s->settings3D();
            out += QStringLiteral("\nTOF\n");
            out += valueLine("Range max:", number(tof->distanceMax()), " cm");
            out += valueLine("Range min:", number(tof->distanceMin()), " cm");
            out += valueLine("Amplitude min:", number(tof->minAmplitude()), " LSB");
            out += valueLine("Hysteresis:", number(tof->hysteresis()), " LSB");
            const int offset = tof->autoOffsetEnabled() ? tof->automaticOffset() : tof->manualOffset();
            out += valueLine("Offset:", number(offset), " cm");
        }
        out += QStringLiteral("\nDISTANCE CALCULATION\n");
        out += switchLine("Pi Delay:", calculation->piDelay());
        out += switchLine("Dual MGX:", calculation->dualMGX());
        if (calculation->modulationIndex() == 0) {
            out += valueLine("Modulation:", QStringLiteral("sinusoidal"));
        } else {
            out += valueLine("Modulation:", QStringLiteral("PN"));
            out += valueLine("LFSR:", number(14 - calculation->lfsrIndex()));
            out += valueLine("Primitive polynomial:", number(calculation->polynomialIndex()));
        }
    }

    if (!flimMode) {
        const SettingsIntegrationTime* integration = s->integrationTime();
        out += QStringLiteral("\nINTEGRATION TIME\n");
        if (grayscaleMode) {
            out += valueLine("Integration time:", number(integration->integrationTime2D()), " \u00b5s");
        } else {
            out += valueLine("Integration time:", number(integration->integrationTime3D()), " \u00b5s");
            if (calculation->hdr())
                out += valueLine("Integration time HDR:", number(integration->integrationTime3DHDR()),
                                 " \u00b5s");
        }
    }

    const SettingsBinningAndReduction* binning = s->binningAndReduction();
    out += QStringLiteral("\nTRANSFORMATION\n");
    out += switchLine("Horizontal flip:", s->transformation()->horizontalFlip());
    out += switchLine("Vertical flip:", s->transformation()->verticalFlip());
    out += QStringLiteral("\nBINNING AND REDUCTION\n");
    out += switchLine("Binning vertical:", binning->verticalBinning());
    out += switchLine("Binning horizontal:", binning->horizontalBinning());
    out += valueLine("Row reduction:", number(binning->rowReductionIndex()));
    out += QStringLiteral("\nDATA VALIDATION\n");
    out += switchLine("Saturation:", s->dataValidation()->saturation());
    out += switchLine("ADC overflow:", s->dataValidation()->adcOverflow());
    return out.toUtf8();
}

QByteArray Logger::settingsKeys() const
{
    const Settings* s = m_settings;
    const SettingsROI* roi = s->roi();
    const SettingsCalibration* calibration = s->calibration();
    const SettingsDistanceCalculation* calculation = s->distanceCalculation();
    const SettingsIntegrationTime* integration = s->integrationTime();
    const SettingsBinningAndReduction* binning = s->binningAndReduction();
    const int mode = s->modeIndex();

    QString out;
    out += keyLine("columns", number(roi->width()));
    out += keyLine("rows", number(roi->height()));
    out += QStringLiteral("unit=LSB\nmode=DCS_Grayscale\n");
    out += QStringLiteral("#ROI\n");
    out += keyLine("top_left_X", number(roi->x1()));
    out += keyLine("bottom_right_X", number(roi->x2()));
    out += keyLine("top_left_Y", number(roi->y1()));
    out += keyLine("bottom_right_Y", number(roi->y2()));
    out += QStringLiteral("#RUNTIME IMAGE CORRECTION\n");
    out += keySwitch("remove_bad_pixels", calibration->pixelInterpolation());
    out += keySwitch("DSNU", calibration->grayscaleOffset());
    out += keySwitch("PRNU", calibration->grayscaleGain());
    out += keySwitch("ABS", s->abs()->abs());
    out += QStringLiteral("#MODULATION\n");
    out += keyLine("Frequency_Hz", number(s->modulation()->currentFrequencyHz()));
    out += QStringLiteral("#DISTANCE CALCULATION\n");
    out += keySwitch("pi_delay", calculation->piDelay());
    out += keySwitch("dual_MGX", calculation->dualMGX());
    if (calculation->modulationIndex() == 0) {
        out += QStringLiteral("modulation=sinusoidal\n");
    } else {
        out += QStringLiteral("modulation=PN\n");
        out += keyLine("LFSR", number(14 - calculation->lfsrIndex()));
        out += keyLine("Primitive polynomial", number(calculation->polynomialIndex()));
    }
    out += QStringLiteral("#INTEGRATION TIME  \u00b5s\n");
    if (mode == 0 || mode == 8)
        out += keyLine("Integration_time_grayscale_us", number(integration->integrationTime2D()));
    if (mode != 0) {
        out += keyLine("Integration_time_tof_us", number(integration->integrationTime3D()));
        if (calculation->hdr())
            out += keyLine("integration_time_tof_hdr_us", number(integration->integrationTime3DHDR()));
    }
    out += QStringLiteral("#TRANSFORMATION\n");
    out += keySwitch("horizontal_flip", s->transformation()->horizontalFlip());
    out += keySwitch("vertical_flip", s->transformation()->verticalFlip());
    out += QStringLiteral("#BINNING AND REDUCTION\n");
    out += keySwitch("binning_vertical", binning->verticalBinning());
    out += keySwitch("binning_horizontal", binning->horizontalBinning());
    out += keyLine("row_reduction", number(binning->rowReductionIndex()));
    out += QStringLiteral("#DATA VALIDATION\n");
    out += keySwitch("saturation", s->dataValidation()->saturation());
    out += keySwitch("ADC_overflow", s->dataValidation()->adcOverflow());
    return out.toUtf8();
}
