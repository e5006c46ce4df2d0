#pragma once

#include "sim/CameraState.h"
#include "sim/FaultPlan.h"
#include "sim/FrameRenderer.h"
#include "sim/SimConfig.h"
#include "sim/SimReply.h"

#include <QByteArray>
#include <QList>

#include <array>

// The camera's command interpreter: parses one command line, applies it to the settings the
// camera keeps and builds the reply in the layout the client reads. Independent of the
// network, so the tests can drive it directly.
class CommandProcessor final
{
public:
    explicit CommandProcessor(const SimConfig& config);

    SimReply process(const QByteArray& line);

    const CameraState& state() const { return camera; }
    FrameRenderer& renderer() { return frames; }
    FaultPlan& faults() { return faultPlan; }
    quint64 frameCount() const { return framesServed; }
    void setFrameCount(quint64 frame) { framesServed = frame; }
    // Six temperatures in tenths of a degree: chip top left, top right, bottom left, bottom
    // right, illumination board top and bottom. They warm up and drift with the frames served.
    std::array<qint16, 6> temperatures() const;
    SimFrameReport lastFrame() const { return frames.lastFrame(); }

private:
    using Arguments = QList<QByteArray>;
    SimReply handleCamera(const QByteArray& keyword, const Arguments& args, bool* known);
    SimReply handleSettings(const QByteArray& keyword, const Arguments& args, bool* known);
    SimReply handleProcessing(const QByteArray& keyword, const Arguments& args, bool* known);
    SimReply handleControl(const QByteArray& keyword, const Arguments& args);
    SimReply frame(FrameRenderer::Command command);
    void changed() { ++camera.revision; }
    void refreshDrnuTable();
    QByteArray stateReport() const;

    SimConfig config;
    CameraState camera;
    FrameRenderer frames;
    FaultPlan faultPlan;
    quint64 framesServed = 0;
};
