#pragma once

#include "sim/ReadoutPlan.h"
#include "sim/SceneModel.h"
#include "sim/SimFrameReport.h"

#include <QByteArray>
#include <QPoint>
#include <QVector>

#include <memory>

struct CameraState;

// Turns the scene into frame payloads with the physics of a time-of-flight pixel and the
// word order of the sensor. Buffers are sized once; rendering a frame allocates nothing.
class FrameRenderer final
{
public:
    enum class Command
    {
        Grayscale,
        DistanceAmplitude,
        Amplitude,
        Dcs,
        DcsGrayscale
    };

    FrameRenderer(const ChipModel& chip, quint64 seed);

    void setNoise(bool on) { noiseOn = on; }
    bool noise() const { return noiseOn; }
    // Frozen: the last rendered frame is served again, without any per-frame work, for as long
    // as the command and the settings stay the same (for benchmarks of the client).
    void setFrozen(bool on) { frozen = on; }
    bool isFrozen() const { return frozen; }

    // Renders the reply of one frame command for `frame` with the sensor at `temperature`
    // (degrees Celsius). The returned array stays valid until the next call.
    const QByteArray& render(const CameraState& state, Command command, quint64 frame, double temperature);
    // Number of images in the reply of `command` for the settings held.
    static int imageCount(const CameraState& state, Command command);
    // Correlation samples in use: DCS0 to DCS(n-1) come first in the reply.
    static int sampleCount(const CameraState& state, Command command);
    // Microseconds a real sensor needs for the frame: integrations and readouts.
    static int frameTimeUs(const CameraState& state, Command command);

    SimFrameReport lastFrame() const;
    const QVector<QPoint>& badPixels() const { return badPixelList; }
    const SceneModel& scene() const { return sceneModel; }
    // Amplitude (LSB) per microsecond of integration of a reflectance-1 target at 1 m.
    static constexpr double amplitudeScale = 15.0;

private:
    const ReadoutPlan& planFor(const CameraState& state, ReadoutPlan::FrameKind kind);
    void renderImages(const CameraState& state, Command command, quint64 frame, double temperature);

    ChipModel model;
    quint64 seed;
    bool noiseOn = true;
    bool frozen = false;
    bool haveFrame = false;
    Command lastCommand = Command::Grayscale;
    quint64 lastRevision = 0;
    SceneModel sceneModel;
    QVector<float> distance;
    QVector<float> reflectance;
    QVector<float> irradiance;  // reflectance over distance squared: what the pixel receives
    QVector<qint8> darkSignal;  // fixed-pattern grayscale offset, removed by the offset correction
    QVector<float> gainPattern; // pixel gain spread, removed by the gain correction
    QVector<quint8> defect;     // 0 good, 1 dead, 2 hot
    QVector<QPoint> badPixelList;
    QVector<float> averageAmplitude; // per word, for the recursive image averaging
    QVector<float> averageDistance;
    QVector<quint8> validWord;                // per word: above the minimum amplitude, for the hysteresis
    static constexpr int cosineSteps = 16384; // a power of two: the table index wraps by masking
    QVector<float> cosineTable;
    quint64 historyRevision = ~0ull;
    Command historyCommand = Command::Grayscale;
    std::unique_ptr<ReadoutPlan> plans[2];
    quint64 planRevision[2] = {~0ull, ~0ull};
    QByteArray payload;
    const ReadoutPlan* lastPlan = nullptr;
    int lastImages = 0;
};
