#include "sim/CommandProcessor.h"

#include "sim/SimReplyWriter.h"

#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;

bool toInt(const QByteArray& text, int* value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (ok)
        *value = v;
    return ok;
}

bool toSwitch(const QByteArray& text, bool* value, const char* on = "1")
{
    if (text == "0") {
        *value = false;
        return true;
    }
    if (text == on) {
        *value = true;
        return true;
    }
    return false;
}

SimReply status(bool ok)
{
    SimReply reply;
    reply.bytes = SimReplyWriter::int16(ok ? 0 : -1);
    return reply;
}

SimReply text(const QByteArray& message)
{
    SimReply reply;
    reply.bytes = message + '\n';
    reply.control = true;
    return reply;
}
} // namespace

CommandProcessor::CommandProcessor(const SimConfig& configuration)
    : config(configuration), camera(configuration.chip), frames(configuration.chip, configuration.seed)
{
    frames.setNoise(config.noise);
    camera.automaticOffset = config.automaticOffset;
    camera.badPixels = frames.badPixels();
    if (camera.chip.flim) {
        // Gate timing that brackets the return of the flash from the room.
        camera.flimFlashWidth = 40;
        camera.flimT1 = 80;
        camera.flimT2 = 40;
        camera.flimT3 = 120;
        camera.flimT4 = 40;
        camera.flimTrep = 400;
        camera.flimRepetitions = 1000;
    }
    for (int i = 0; i < 256; ++i)
        camera.registers[i] = static_cast<quint8>(i == 0x12 ? camera.chip.chipType : (i * 37 + 11) & 0xFF);
    refreshDrnuTable();
    FaultPlan::parse(config.faults, &faultPlan, nullptr);
}

std::array<qint16, 6> CommandProcessor::temperatures() const
{
    static constexpr int base[6] = {381, 385, 378, 383, 412, 404};
    const double warm = 55.0 * (1.0 - std::exp(-static_cast<double>(framesServed) / 3000.0));
    std::array<qint16, 6> values{};
    for (int i = 0; i < 6; ++i) {
        const double wobble =
            3.0 * std::sin(2.0 * pi * static_cast<double>(framesServed % 1200) / 1200.0 + i);
        values[i] = static_cast<qint16>(std::lround(base[i] + warm * (i < 4 ? 1.0 : 1.4) + wobble));
    }
    return values;
}

void CommandProcessor::refreshDrnuTable()
{
    const std::array<qint16, 6> t = temperatures();
    const int chip = (t[0] + t[1] + t[2] + t[3]) / 4;
    camera.drnuTable.resize(100);
    for (int i = 0; i < 50; ++i) {
        const double correction =
            220.0 * std::sin(2.0 * pi * i / 50.0 + 0.4) + 35.0 * std::cos(6.0 * pi * i / 50.0);
        camera.drnuTable[i] = static_cast<qint16>(std::lround(correction));
        camera.drnuTable[50 + i] = static_cast<qint16>(chip + i / 5);
    }
}

SimReply CommandProcessor::process(const QByteArray& rawLine)
{
    QByteArray line = rawLine;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    Arguments parts = line.split(' ');
    const QByteArray keyword = parts.takeFirst();
    if (keyword.startsWith("sim."))
        return handleControl(keyword, parts);
    bool known = false;
    SimReply reply = handleCamera(keyword, parts, &known);
    if (!known)
        reply = handleSettings(keyword, parts, &known);
    if (!known)
        reply = handleProcessing(keyword, parts, &known);
    if (!known)
        return status(false);
    return reply;
}

SimReply CommandProcessor::frame(FrameRenderer::Command command)
{
    SimReply reply;
    const std::array<qint16, 6> t = temperatures();
    const double chipTemperature = (t[0] + t[1] + t[2] + t[3]) / 40.0;
    reply.bytes = frames.render(camera, command, framesServed, chipTemperature);
    reply.frame = true;
    if (config.realtime)
        reply.workMs = (FrameRenderer::frameTimeUs(camera, command) + 999) / 1000;
    if (!frames.isFrozen())
        ++framesServed;
    return reply;
}

SimReply CommandProcessor::handleCamera(const QByteArray& keyword, const Arguments& args, bool* known)
{
    *known = true;
    SimReply reply;
    const int argc = args.size();
    if (argc == 0) {
        if (keyword == "version") {
            reply.bytes = SimReplyWriter::int16(config.serverVersion);
        } else if (keyword == "getIcVersion") {
            reply.bytes = SimReplyWriter::int16(config.icVersion);
        } else if (keyword == "getPartVersion") {
            reply.bytes = SimReplyWriter::int16(config.partVersion);
        } else if (keyword == "getModulationFrequencies") {
            reply.bytes = SimReplyWriter::int32List(camera.frequenciesKHz);
        } else if (keyword == "FLIMGetStep") {
            reply.bytes = SimReplyWriter::int16(camera.chip.flim ? camera.flimStepPs : -1);
        } else if (keyword == "getOffset") {
            reply.bytes = SimReplyWriter::int16(camera.automaticOffset);
        } else if (keyword == "getChipInfo") {
            const QVector<qint16> info = {
                static_cast<qint16>(camera.chip.chipType == 3 ? 210 : camera.chip.columns),
                static_cast<qint16>(config.icVersion),
                7,
                static_cast<qint16>(12 + config.seed % 20),
                static_cast<qint16>(100 + config.seed % 800),
                static_cast<qint16>(camera.chip.chipType),
                static_cast<qint16>(config.partVersion),
                21};
            reply.bytes = SimReplyWriter::int16List(info);
        } else if (keyword == "dumpAllRegisters") {
            QVector<qint16> values(256);
            for (int i = 0; i < 256; ++i)
                values[i] = camera.registers[i];
            reply.bytes = SimReplyWriter::int16List(values);
        } else if (keyword == "getTemperature") {
            const std::array<qint16, 6> t = temperatures();
            reply.bytes = SimReplyWriter::int16List(QVector<qint16>(t.begin(), t.end()));
        } else if (keyword == "getSpeedOfLight") {
            reply.bytes = SimReplyWriter::float64(camera.speedOfLight);
        } else if (keyword == "startVideo" || keyword == "stopVideo") {
            camera.videoRunning = keyword == "startVideo";
            reply = status(true);
        } else if (keyword == "getBWSorted") {
            reply = frame(FrameRenderer::Command::Grayscale);
        } else if (keyword == "getDistanceAndAmplitudeSorted") {
            reply = frame(FrameRenderer::Command::DistanceAmplitude);
        } else if (keyword == "getAmplitudeSorted") {
            reply = frame(FrameRenderer::Command::Amplitude);
        } else if (keyword == "getDCSSorted") {
            reply = frame(FrameRenderer::Command::Dcs);
        } else if (keyword == "getDCSTOFAndGrayscaleSorted") {
            reply = frame(FrameRenderer::Command::DcsGrayscale);
        } else if (keyword == "getBadPixels") {
            reply.bytes = SimReplyWriter::pointList(camera.badPixels);
        } else if (keyword == "showDRNU") {
            camera.drnuShown = true;
            reply.bytes = SimReplyWriter::int16List(camera.drnuTable);
        } else if (keyword == "hideDRNU") {
            camera.drnuShown = false;
            reply = status(true);
        } else if (keyword == "isGrayscaleCorrectionAvailable" || keyword == "isDRNUAvailable") {
            reply.bytes = QByteArray(1, '\1');
        } else if (keyword == "isFlimCorrectionAvailable") {
            reply.bytes = QByteArray(1, camera.chip.flim ? '\1' : '\0');
        } else if (keyword == "searchBadPixels" || keyword == "factoryCalibration") {
            camera.badPixels = frames.badPixels();
            reply = status(true);
            reply.workMs = config.longOperationMs;
        } else if (keyword == "calibrateDRNU" || keyword == "renewDRNU") {
            refreshDrnuTable();
            reply =
                keyword == "renewDRNU" ? SimReply{SimReplyWriter::int16List(camera.drnuTable)} : status(true);
            reply.workMs = config.longOperationMs;
        } else {
            *known = false;
        }
        return reply;
    }
    if (keyword == "getCalibrationTypeForFreqIdx" && argc == 1) {
        int index = -1;
        const bool ok = toInt(args[0], &index) && index >= 0 && index < camera.calibrationTypes.size();
        reply.bytes = SimReplyWriter::int16(ok ? camera.calibrationTypes.at(index) : -1);
    } else if ((keyword == "w" && argc == 2) || (keyword == "r" && argc == 1)) {
        bool ok = false;
        const int address = args[0].toInt(&ok, 16);
        if (!ok || address < 0 || address > 0xFF || args[0].size() != 2)
            return status(false);
        if (keyword == "r") {
            reply.bytes = SimReplyWriter::int16(camera.registers[address]);
        } else {
            const int value = args[1].toInt(&ok, 16);
            if (!ok || value < 0 || value > 0xFF || args[1].size() != 2)
                return status(false);
            // The chip-type register is read-only.
            if (address != 0x12)
                camera.registers[address] = static_cast<quint8>(value);
            reply = status(true);
        }
    } else if (keyword == "setSpeedOfLight" && argc == 1) {
        bool ok = false;
        const double value = args[0].toDouble(&ok);
        if (!ok || !(value > 0) || !std::isfinite(value))
            return status(false);
        // The client keeps half the speed of light: the round trip halves the range.
        camera.speedOfLight = value * 0.5;
        changed();
        reply = status(true);
    } else {
        *known = false;
    }
    return reply;
}

SimReply CommandProcessor::handleSettings(const QByteArray& keyword, const Arguments& args, bool* known)
{
    *known = true;
    const int argc = args.size();
    int v = 0;
    bool b = false;
    auto intSetting = [&](int* field, int low, int high) {
        if (argc != 1 || !toInt(args[0], &v) || v < low || v > high)
            return status(false);
        *field = v;
        changed();
        return status(true);
    };
    auto switchSetting = [&](bool* field, const char* on = "1") {
        if (argc != 1 || !toSwitch(args[0], &b, on))
            return status(false);
        *field = b;
        changed();
        return status(true);
    };
    if (keyword == "setIntegrationTime2D")
        return intSetting(&camera.integrationTime2D, 0, 100000);
    if (keyword == "setIntegrationTime3D")
        return intSetting(&camera.integrationTime3D, 0, 100000);
    if (keyword == "setIntegrationTime3DHDR")
        return intSetting(&camera.integrationTime3DHDR, 0, 100000);
    if (keyword == "setModulationFrequency")
        return intSetting(&camera.frequencyIndex, 0, camera.frequenciesKHz.size() - 1);
    if (keyword == "setMinAmplitude")
        return intSetting(&camera.minAmplitude, 0, 65535);
    if (keyword == "setHysteresis")
        return intSetting(&camera.hysteresis, 0, 65535);
    if (keyword == "enableDefaultOffset")
        return switchSetting(&camera.defaultOffsetEnabled);
    if (keyword == "setOffset")
        return intSetting(&camera.manualOffset, -30000, 30000);
    if (keyword == "enableTempCorrection")
        return switchSetting(&camera.offsetTemperatureCorrection);
    if (keyword == "setROI") {
        int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        if (argc != 4 || !toInt(args[0], &x1) || !toInt(args[1], &x2) || !toInt(args[2], &y1) ||
            !toInt(args[3], &y2))
            return status(false);
        const ChipModel& chip = camera.chip;
        bool valid = x1 >= 0 && x1 <= x2 && x2 < chip.columns && y1 >= 0 && y1 < chip.rows && y2 >= 0 &&
                     y2 < chip.rows;
        // The single-block sensors read from the top row to the bottom row; the centre-split
        // ones read both halves from the centre and take the bottom value as the end of the
        // upper half (the client sends 125).
        if (!chip.centreSplit())
            valid = valid && y1 <= y2;
        if (!valid)
            return status(false);
        camera.roiX1 = x1;
        camera.roiX2 = x2;
        camera.roiY1 = y1;
        camera.roiY2 = y2;
        changed();
        return status(true);
    }
    if (keyword == "enableHorizontalBinning")
        return switchSetting(&camera.horizontalBinning);
    if (keyword == "enableVerticalBinning")
        return switchSetting(&camera.verticalBinning);
    if (keyword == "setRowReduction")
        return intSetting(&camera.rowReductionIndex, 0, 3);
    if (keyword == "enablePiDelay")
        return switchSetting(&camera.piDelay);
    if (keyword == "enableDualMGX")
        return switchSetting(&camera.dualMGX);
    if (keyword == "enableHDR")
        return switchSetting(&camera.hdr);
    if (keyword == "selectMode")
        return intSetting(&camera.modulationMode, 0, 15);
    if (keyword == "selectPolynomial") {
        int stage = 0, poly = 0;
        if (argc != 2 || !toInt(args[0], &stage) || !toInt(args[1], &poly) || stage < 0 || poly < 0)
            return status(false);
        camera.lfsrStage = stage;
        camera.polynomial = poly;
        changed();
        return status(true);
    }
    if (keyword == "setABS")
        return switchSetting(&camera.abs);
    if (keyword == "enableSaturation")
        return switchSetting(&camera.saturationMarking);
    if (keyword == "enableAdcOverflow")
        return switchSetting(&camera.adcOverflowMarking);
    if (keyword == "setImageAveraging")
        return intSetting(&camera.imageAveraging, 0, 256);
    if (keyword == "loadConfig")
        return intSetting(&camera.loadedConfig, 0, 1);
    if (keyword == "FLIMSetFlashDelay")
        return intSetting(&camera.flimFlashDelay, 0, 65535);
    if (keyword == "FLIMSetFlashWidth")
        return intSetting(&camera.flimFlashWidth, 0, 65535);
    if (keyword == "FLIMSetT1")
        return intSetting(&camera.flimT1, 0, 65535);
    if (keyword == "FLIMSetT2")
        return intSetting(&camera.flimT2, 0, 65535);
    if (keyword == "FLIMSetT3")
        return intSetting(&camera.flimT3, 0, 65535);
    if (keyword == "FLIMSetT4")
        return intSetting(&camera.flimT4, 0, 65535);
    if (keyword == "FLIMSetTREP")
        return intSetting(&camera.flimTrep, 0, 65535);
    if (keyword == "FLIMSetRepetitions")
        return intSetting(&camera.flimRepetitions, 0, 1000000);
    *known = false;
    return {};
}

SimReply CommandProcessor::handleProcessing(const QByteArray& keyword, const Arguments& args, bool* known)
{
    *known = true;
    const int argc = args.size();
    int v = 0;
    bool b = false;
    auto switchSetting = [&](bool* field, const char* on = "1") {
        if (argc != 1 || !toSwitch(args[0], &b, on))
            return status(false);
        *field = b;
        changed();
        return status(true);
    };
    auto intSetting = [&](int* field, int low, int high) {
        if (argc != 1 || !toInt(args[0], &v) || v < low || v > high)
            return status(false);
        *field = v;
        changed();
        return status(true);
    };
    auto doubleSetting = [&](double* field) {
        bool ok = false;
        const double value = argc == 1 ? args[0].toDouble(&ok) : 0.0;
        if (!ok || !std::isfinite(value))
            return status(false);
        *field = value;
        changed();
        return status(true);
    };
    if (keyword == "correctGrayscaleOffset")
        return switchSetting(&camera.grayscaleOffsetCorrection);
    if (keyword == "correctGrayscaleGain")
        return switchSetting(&camera.grayscaleGainCorrection);
    if (keyword == "correctDRNU")
        return switchSetting(&camera.drnuCorrection, "2");
    if (keyword == "correctTemperature")
        return switchSetting(&camera.temperatureCorrection, "2");
    if (keyword == "Kalman")
        return intSetting(&camera.kalmanVariant, 0, 3);
    if (keyword == "setKalmanK")
        return doubleSetting(&camera.kalmanK);
    if (keyword == "setKalmanQ")
        return doubleSetting(&camera.kalmanQ);
    if (keyword == "setKalmanThreshold")
        return intSetting(&camera.kalmanThreshold, 0, 30000);
    if (keyword == "setKalmanThreshold2")
        return intSetting(&camera.kalmanThreshold2, 0, 30000);
    if (keyword == "setKalmanKdiff")
        return doubleSetting(&camera.kalmanKdiff);
    if (keyword == "setKalmanNumCheck")
        return intSetting(&camera.kalmanNumCheck, 0, 1000);
    if (keyword == "enableArgCheck")
        return switchSetting(&camera.argCheck);
    if (keyword == "correctFlimOffset")
        return switchSetting(&camera.flimOffsetCorrection);
    if (keyword == "correctFlimGain")
        return switchSetting(&camera.flimGainCorrection);
    if (keyword == "filterMode")
        return intSetting(&camera.filterMode, 0, 3);
    if (keyword == "nloopFilter")
        return intSetting(&camera.filterIterations, 0, 1000);
    *known = false;
    return {};
}

SimReply CommandProcessor::handleControl(const QByteArray& keyword, const Arguments& args)
{
    if (keyword == "sim.lastFrame") {
        SimReply reply;
        reply.bytes = SimReplyWriter::frameReport(frames.lastFrame());
        reply.control = true;
        return reply;
    }
    if (keyword == "sim.fault") {
        if (args.isEmpty())
            return text(faultPlan.describe().toLatin1());
        QString error;
        if (!FaultPlan::parse(QString::fromLatin1(args.join(' ')), &faultPlan, &error))
            return text("ERROR " + error.toLatin1());
        return text("OK " + faultPlan.describe().toLatin1());
    }
    if (keyword == "sim.state")
        return text(stateReport());
    if (keyword == "sim.freeze" || keyword == "sim.noise") {
        bool on = false;
        if (args.size() != 1 || !toSwitch(args[0], &on))
            return text("ERROR expected 1 or 0");
        if (keyword == "sim.freeze")
            frames.setFrozen(on);
        else
            frames.setNoise(on);
        changed();
        return text("OK");
    }
    if (keyword == "sim.frame") {
        bool ok = false;
        const qlonglong frame = args.size() == 1 ? args[0].toLongLong(&ok) : -1;
        if (!ok || frame < 0)
            return text("ERROR expected a frame number");
        framesServed = static_cast<quint64>(frame);
        return text("OK");
    }
    return text("ERROR unknown control command");
}

QByteArray CommandProcessor::stateReport() const
{
    const CameraState& c = camera;
    QByteArray out;
    auto line = [&out](const char* key, qlonglong value) {
        out += key;
        out += '=';
        out += QByteArray::number(value);
        out += '\n';
    };
    line("chipType", c.chip.chipType);
    line("integrationTime2D", c.integrationTime2D);
    line("integrationTime3D", c.integrationTime3D);
    line("integrationTime3DHDR", c.integrationTime3DHDR);
    line("frequencyIndex", c.frequencyIndex);
    line("minAmplitude", c.minAmplitude);
    line("hysteresis", c.hysteresis);
    line("defaultOffset", c.defaultOffsetEnabled);
    line("manualOffset", c.manualOffset);
    line("roiX1", c.roiX1);
    line("roiX2", c.roiX2);
    line("roiY1", c.roiY1);
    line("roiY2", c.roiY2);
    line("horizontalBinning", c.horizontalBinning);
    line("verticalBinning", c.verticalBinning);
    line("rowReduction", c.rowReductionIndex);
    line("piDelay", c.piDelay);
    line("dualMGX", c.dualMGX);
    line("hdr", c.hdr);
    line("modulationMode", c.modulationMode);
    line("abs", c.abs);
    line("saturation", c.saturationMarking);
    line("adcOverflow", c.adcOverflowMarking);
    line("imageAveraging", c.imageAveraging);
    line("loadConfig", c.loadedConfig);
    line("drnuCorrection", c.drnuCorrection);
    line("temperatureCorrection", c.temperatureCorrection);
    line("grayscaleOffset", c.grayscaleOffsetCorrection);
    line("grayscaleGain", c.grayscaleGainCorrection);
    line("kalman", c.kalmanVariant);
    line("filterMode", c.filterMode);
    line("filterIterations", c.filterIterations);
    line("flimT1", c.flimT1);
    line("flimRepetitions", c.flimRepetitions);
    line("speedOfLight", static_cast<qlonglong>(c.speedOfLight));
    line("video", c.videoRunning);
    line("frame", static_cast<qlonglong>(framesServed));
    line("frozen", frames.isFrozen());
    line("noise", frames.noise());
    out += "faults=" + faultPlan.describe().toLatin1() + '\n';
    return out;
}
