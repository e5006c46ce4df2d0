#include "sim/FrameRenderer.h"

#include "sim/CameraState.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double saturationLimit = 2047.0; // correlation samples clip beyond this swing
constexpr double adcLimit = 3500.0;        // the charge exceeds the converter's range
constexpr quint16 lowAmplitudeCode = 65300;
constexpr quint16 saturatedCode = 65400;
constexpr quint16 adcCode = 65500;
constexpr int readoutUsPerRow = 25;

quint64 mix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Approximately standard normal: the sum of four uniform 16-bit parts of one hash.
double gaussian(quint64 h)
{
    const double sum =
        static_cast<double>((h & 0xFFFF) + ((h >> 16) & 0xFFFF) + ((h >> 32) & 0xFFFF) + (h >> 48));
    return (sum / 65536.0 - 2.0) * 1.7320508075688772;
}

double uniform(quint64 h)
{
    return static_cast<double>(h >> 11) / 9007199254740992.0;
}

quint16 clampWord(double v, double high)
{
    return static_cast<quint16>(std::clamp(v, 0.0, high) + 0.5);
}

void putWord(char* out, int index, quint16 v)
{
    out[2 * index] = static_cast<char>(v & 0xFF);
    out[2 * index + 1] = static_cast<char>(v >> 8);
}

// Overlap in timing steps of [a0, a1) and [b0, b1).
double overlap(double a0, double a1, double b0, double b1)
{
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}
} // namespace

FrameRenderer::FrameRenderer(const ChipModel& chip, quint64 seedValue)
    : model(chip), seed(seedValue), sceneModel(chip)
{
    const int cells = chip.cellCount();
    distance.resize(cells);
    reflectance.resize(cells);
    irradiance.resize(cells);
    averageAmplitude.resize(cells);
    averageDistance.resize(cells);
    validWord.resize(cells);
    cosineTable.resize(cosineSteps);
    for (int i = 0; i < cosineSteps; ++i)
        cosineTable[i] = static_cast<float>(std::cos(2.0 * pi * (i + 0.5) / cosineSteps));
    darkSignal.resize(cells);
    gainPattern.resize(cells);
    defect.fill(0, cells);
    for (int cell = 0; cell < cells; ++cell) {
        const quint64 h = mix(seed * 7919 + static_cast<quint64>(cell));
        darkSignal[cell] = static_cast<qint8>(std::lround(gaussian(h) * 12.0));
        gainPattern[cell] = static_cast<float>(1.0 + 0.04 * gaussian(mix(h)));
    }
    // Bad pixels, half dead and half hot, spread over the default region of interest.
    const bool large = chip.columns == 328;
    const int count = large ? 16 : 8;
    const int x0 = 4;
    const int y0 = 6;
    const int width = large ? 320 : 160;
    const int height = large ? 240 : 60;
    quint64 h = mix(seed ^ 0xBADull);
    while (badPixelList.size() < count) {
        h = mix(h);
        const QPoint p(x0 + static_cast<int>(h % width), y0 + static_cast<int>((h >> 20) % height));
        if (badPixelList.contains(p))
            continue;
        defect[p.y() * chip.columns + p.x()] = badPixelList.size() % 2 == 0 ? 1 : 2;
        badPixelList.append(p);
    }
}

int FrameRenderer::sampleCount(const CameraState& state, Command command)
{
    const bool dm = state.dualMGX;
    const bool pd = state.piDelay;
    if (command == Command::DcsGrayscale)
        return !dm && pd ? 4 : (dm && !pd ? 1 : 2);
    if (dm)
        return pd || state.chip.flim ? 2 : 1;
    if (pd)
        return state.chip.flim ? 2 : 4;
    return 2;
}

int FrameRenderer::imageCount(const CameraState& state, Command command)
{
    switch (command) {
    case Command::Grayscale:
    case Command::Amplitude:
        return 1;
    case Command::DistanceAmplitude:
        return 2;
    case Command::Dcs:
        return sampleCount(state, command);
    case Command::DcsGrayscale:
        return 5;
    }
    return 1;
}

int FrameRenderer::frameTimeUs(const CameraState& state, Command command)
{
    const int rows = state.chip.centreSplit()
                         ? 2 * (state.centreRow() - state.upperTopRow()) / state.rowReductionFactor()
                         : (state.roiY2 - state.roiY1 + 1) / state.rowReductionFactor();
    const int readout = readoutUsPerRow * std::max(1, rows);
    const int tof = std::max(state.integrationTime3D, state.hdr ? state.integrationTime3DHDR : 0);
    const int tofSubframes = state.dualMGX ? 2 : 4;
    int flim = 0;
    if (state.chip.flim) {
        const double cycleSteps = state.flimT1 + state.flimT2 + state.flimT3 + state.flimT4 + state.flimTrep;
        flim = static_cast<int>(cycleSteps * state.flimRepetitions * state.flimStepPs / 1e6);
    }
    switch (command) {
    case Command::Grayscale:
        return state.integrationTime2D + readout;
    case Command::DistanceAmplitude:
    case Command::Amplitude:
        return tofSubframes * (tof + readout) + flim;
    case Command::Dcs:
        return sampleCount(state, command) * (tof + readout) + flim;
    case Command::DcsGrayscale:
        return sampleCount(state, command) * (tof + readout) + state.integrationTime2D + readout;
    }
    return 0;
}

const ReadoutPlan& FrameRenderer::planFor(const CameraState& state, ReadoutPlan::FrameKind kind)
{
    const int slot = kind == ReadoutPlan::FrameKind::Tof ? 0 : 1;
    if (!plans[slot] || planRevision[slot] != state.revision) {
        plans[slot] = std::make_unique<ReadoutPlan>(state, kind);
        planRevision[slot] = state.revision;
    }
    return *plans[slot];
}

const QByteArray& FrameRenderer::render(const CameraState& state, Command command, quint64 frame,
                                        double temperature)
{
    if (frozen && haveFrame && lastCommand == command && lastRevision == state.revision)
        return payload;
    renderImages(state, command, frame, temperature);
    haveFrame = true;
    lastCommand = command;
    lastRevision = state.revision;
    return payload;
}

void FrameRenderer::renderImages(const CameraState& state, Command command, quint64 frame, double temperature)
{
    const bool tofFrame = command == Command::DistanceAmplitude || command == Command::Amplitude;
    const ReadoutPlan& plan =
        planFor(state, tofFrame ? ReadoutPlan::FrameKind::Tof : ReadoutPlan::FrameKind::Other);
    const int images = imageCount(state, command);
    const int wordCount = plan.wordCount();
    payload.resize(2 * wordCount * images);
    lastPlan = &plan;
    lastImages = images;
    char* out = payload.data();

    sceneModel.render(frame, distance.data(), reflectance.data(), irradiance.data());

    const QVector<ReadoutPlan::Word>& words = plan.words();
    const int columns = model.columns;
    const int fw = plan.footprintWidth();
    const int fh = plan.footprintHeight();
    const int cellsPerWord = fw * fh;
    // Binning adds the charge of the binned cells; the dual-MGX pair is one pixel read twice.
    const bool binned = state.horizontalBinning || state.verticalBinning;
    const double signalGain = binned ? 1.0 : 1.0 / cellsPerWord;
    const double range = state.unambiguousRangeM();
    const int offset = state.effectiveOffset();
    const double maxAmplitude = state.maxAmplitude();
    const double noiseScale = noiseOn ? 1.0 : 0.0;
    const double temperatureError = state.temperatureCorrection ? 0.0 : (temperature - 40.0) * 2.5;
    const double backgroundLevel = state.abs ? 0.0 : 0.08;
    const int samples = sampleCount(state, command);
    const quint64 frameKey = mix(seed ^ (frame * 0x100000001B3ull));

    // FLIM gates: where the returning flash falls between the two gates tells the distance.
    const double stepS = state.flimStepPs * 1e-12;
    const double gateA0 = state.flimT1;
    const double gateA1 = state.flimT1 + state.flimT2;
    const double gateB0 = state.flimT3;
    const double gateB1 = state.flimT3 + state.flimT4;
    const double flashWidth = std::max(1, state.flimFlashWidth);

    const bool wantGray = command == Command::Grayscale || command == Command::DcsGrayscale;
    const bool wantSamples = command == Command::Dcs || command == Command::DcsGrayscale;
    const bool gainCorrected = state.grayscaleGainCorrection;
    const bool offsetCorrected = state.grayscaleOffsetCorrection;
    const int cellCount = model.cellCount();
    // The built-in configurations take grayscale pictures at 15000 us: a white target then
    // reads about 1800 above the 2048 offset, just short of saturation.
    const double grayScale = signalGain * state.integrationTime2D * 0.12;
    const double inverseRange = 1.0 / range;
    // Recursive averaging and the amplitude hysteresis follow the sequence of frames: they keep
    // one value per word, started afresh by any change of settings or of the frame command.
    const bool temporal = command == Command::DistanceAmplitude || command == Command::Amplitude;
    const bool continuing = temporal && historyRevision == state.revision && historyCommand == command;
    historyRevision = state.revision;
    historyCommand = command;
    const bool averaging = temporal && state.imageAveraging > 1;
    const double averagingWeight = averaging ? 1.0 / state.imageAveraging : 1.0;

    // Everything the loop reads, as locals: the payload is written through a char pointer,
    // which would otherwise make the compiler reload every setting for every word.
    const float* cosine = cosineTable.constData();
    const float* cellDistance = distance.constData();
    const float* cellReflectance = reflectance.constData();
    const float* cellIrradiance = irradiance.constData();
    const float* cellGain = gainPattern.constData();
    const qint8* cellDark = darkSignal.constData();
    const quint8* cellDefect = defect.constData();
    float* wordAmplitude = averageAmplitude.data();
    float* wordDistance = averageDistance.data();
    quint8* wordValid = validWord.data();
    const int integration3D = state.integrationTime3D;
    const int integrationHdr = state.integrationTime3DHDR;
    const bool adcMarking = state.adcOverflowMarking;
    const bool saturationMarking = state.saturationMarking;
    const bool drnuCorrected = state.drnuCorrection;
    const double minAmplitude = state.minAmplitude;
    const double hysteresis = state.hysteresis;
    const bool flimChip = state.chip.flim;
    const double flashDelay = state.flimFlashDelay;

    for (int w = 0; w < wordCount; ++w) {
        const ReadoutPlan::Word& word = words[w];
        const int dx = word.upper ? -1 : 1;
        const int dy = word.upper ? -columns : columns;
        double r = 0;
        double signal = 0;
        double gray = 0;
        double dark = 0;
        int bad = 0;
        if (cellsPerWord == 1) {
            const int cell = word.cell;
            r = cellDistance[cell];
            const double gain = gainCorrected ? 1.0 : cellGain[cell];
            signal = cellIrradiance[cell] * gain;
            gray = cellReflectance[cell] * gain;
            if (!offsetCorrected)
                dark = cellDark[cell];
            bad = cellDefect[cell];
        } else {
            int used = 0;
            for (int y = 0; y < fh; ++y) {
                for (int x = 0; x < fw; ++x) {
                    const int cell = word.cell + x * dx + y * dy;
                    if (cell < 0 || cell >= cellCount)
                        continue;
                    const double gain = gainCorrected ? 1.0 : cellGain[cell];
                    r += cellDistance[cell];
                    signal += cellIrradiance[cell] * gain;
                    gray += cellReflectance[cell] * gain;
                    if (!offsetCorrected)
                        dark += cellDark[cell];
                    bad |= cellDefect[cell];
                    ++used;
                }
            }
            if (used > 1)
                r /= used;
        }
        const int integration = word.secondIntegration ? integrationHdr : integration3D;
        double amplitude = amplitudeScale * signal * signalGain * integration;
        double grayLevel = gray * grayScale + dark;
        // One hash per word; further independent draws come from cheap re-mixes of it.
        const quint64 h = mix(frameKey + static_cast<quint64>(w));
        const quint64 h2 = h * 0xD6E8FEB86659FD93ull;
        const double turns = r * inverseRange;
        const double phase = turns - std::floor(turns);
        double lsb = 30000.0 * phase;
        if (bad & 1) {
            amplitude = 0;
            grayLevel = 0;
        } else if (bad & 2) {
            amplitude = 5000;
            grayLevel = 5000;
            lsb = 30000.0 * uniform(h2);
        }
        if (noiseOn)
            amplitude = std::max(0.0, amplitude + gaussian(h2 ^ (h2 >> 29)) * (1.0 + 0.02 * amplitude));
        if (averaging) {
            if (!continuing)
                wordAmplitude[w] = static_cast<float>(amplitude);
            wordAmplitude[w] += static_cast<float>((amplitude - wordAmplitude[w]) * averagingWeight);
            amplitude = wordAmplitude[w];
        }

        quint16 status = 0;
        if (adcMarking && amplitude > adcLimit)
            status = adcCode;
        else if (saturationMarking && amplitude > saturationLimit)
            status = saturatedCode;
        const quint16 amplitudeWord = status ? status : clampWord(amplitude, maxAmplitude);

        if (command == Command::Amplitude) {
            putWord(out, w, amplitudeWord);
        } else if (command == Command::DistanceAmplitude) {
            const double sigma = std::min(3000.0, 6000.0 / std::max(amplitude, 1.0) + 1.0);
            lsb += noiseScale * gaussian(h) * sigma + temperatureError;
            if (!drnuCorrected)
                lsb += 60.0 * std::sin(4.0 * pi * phase);
            if (averaging) {
                // A jump across the wrap of the range starts the average afresh.
                if (!continuing || std::abs(lsb - wordDistance[w]) > 15000.0)
                    wordDistance[w] = static_cast<float>(lsb);
                wordDistance[w] += static_cast<float>((lsb - wordDistance[w]) * averagingWeight);
                lsb = wordDistance[w];
            }
            // With hysteresis a pixel that was below the minimum amplitude needs the minimum
            // plus the hysteresis to count again.
            const bool wasValid = continuing ? wordValid[w] != 0 : true;
            const double threshold = minAmplitude + (wasValid ? 0 : hysteresis);
            wordValid[w] = amplitude >= threshold;
            int distanceWord = static_cast<int>(std::floor(lsb + 0.5)) + offset;
            distanceWord %= 30000;
            if (distanceWord < 0)
                distanceWord += 30000;
            quint16 distanceValue = static_cast<quint16>(distanceWord);
            if (status)
                distanceValue = status;
            else if (!wordValid[w])
                distanceValue = lowAmplitudeCode;
            putWord(out, w, distanceValue);
            putWord(out, wordCount + w, amplitudeWord);
        }

        if (wantSamples) {
            const double swing = std::min(amplitude, 2600.0);
            const double background = backgroundLevel * amplitude;
            // Cosine and sine of the phase from the table: a quarter turn apart.
            const int index = static_cast<int>(phase * cosineSteps) & (cosineSteps - 1);
            const double c = cosine[index];
            const double sn = cosine[(index - cosineSteps / 4) & (cosineSteps - 1)];
            const double wave[4] = {c, -sn, -c, sn};
            const bool gates = flimChip && command == Command::Dcs;
            quint64 hk = h;
            for (int k = 0; k < samples; ++k) {
                double v = 0;
                if (gates) {
                    // Gate images: the flash returns after the light's round trip.
                    const double arrival = flashDelay + 2.0 * r / 299792458.0 / stepS;
                    const double g0 = k == 0 ? gateA0 : gateB0;
                    const double g1 = k == 0 ? gateA1 : gateB1;
                    // The gate counts the light it caught from 0 up: no zero level in the middle
                    // as the correlation samples have.
                    v = swing * overlap(arrival, arrival + flashWidth, g0, g1) / flashWidth;
                } else {
                    v = 2048.0 + background + swing * wave[k];
                }
                hk *= 0x9E3779B97F4A7C15ull;
                v += noiseScale * 2.0 * gaussian(hk ^ (hk >> 31));
                const double top = gates ? 2047.0 : 4095.0;
                quint16 sample = clampWord(v, top);
                // A dead pixel's samples are stuck low, a hot one's stuck high.
                if (status)
                    sample = status;
                else if (bad & 2)
                    sample = quint16(top);
                else if (bad & 1)
                    sample = 0;
                putWord(out, k * wordCount + w, sample);
            }
        }
        if (wantGray) {
            const quint64 hg = h ^ (h2 >> 17);
            quint16 grayWord = clampWord(
                2048.0 + grayLevel + noiseScale * 2.0 * gaussian(hg * 0xBF58476D1CE4E5B9ull), 4095.0);
            if (saturationMarking && 2048.0 + grayLevel > 4095.0)
                grayWord = saturatedCode;
            if (command == Command::Grayscale) {
                putWord(out, w, grayWord);
            } else {
                putWord(out, samples * wordCount + w, grayWord);
                for (int k = samples + 1; k < 5; ++k)
                    putWord(out, k * wordCount + w, 2048);
            }
        }
    }
}

SimFrameReport FrameRenderer::lastFrame() const
{
    SimFrameReport report;
    if (!lastPlan)
        return report;
    report.images = lastImages;
    report.columns = model.columns;
    report.rows = model.rows;
    report.values.resize(lastImages * model.cellCount());
    const int wordCount = lastPlan->wordCount();
    QVector<quint16> words(wordCount);
    const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
    for (int image = 0; image < lastImages; ++image) {
        for (int w = 0; w < wordCount; ++w) {
            const int i = image * wordCount + w;
            words[w] = static_cast<quint16>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
        lastPlan->place(words.constData(), report.values.data() + image * model.cellCount());
    }
    return report;
}
