// A setting changed during live video, on loopback against the simulator serving one frozen
// frame: the time from the panel's entry to the command going out (the loop finishes the
// frame in flight first), and from the command's reply to the next frame request.

#include "BenchMain.h"
#include "app/ApplicationContext.h"
#include "config/ControllerIntegrationTime.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

const QString kFrameCommand = Commands::getDistanceAndAmplitudeSorted();
SimulatorProcess* gSimulator = nullptr;

// The acquisition loop as the view panel runs it: one frame request at a time, the next
// issued when the reply is complete; a pause request is answered at once, the frame in
// flight being ended by the transaction.
class LiveVideo
{
public:
    explicit LiveVideo(ApplicationContext* context) : settings(context->settings()), tcp(context->tcp())
    {
        QObject::connect(tcp, &ZelTcp::finishedData, &loop, [this] {
            ++frames;
            request();
        });
        QObject::connect(tcp, &ZelTcp::failed, &loop, [this] { request(); });
        QObject::connect(settings, &Settings::pauseRequested, &loop,
                         [this] { settings->pauseAcquisition(); });
        QObject::connect(settings, &Settings::started, &loop, [this] {
            restartedAt = clock.nsecsElapsed();
            request();
        });
    }
    void request()
    {
        if (!settings->videoActive())
            return;
        tcp->setCommand(kFrameCommand);
        tcp->startCommand(1000);
    }

    Settings* settings;
    ZelTcp* tcp;
    QObject loop;
    QElapsedTimer clock;
    qint64 restartedAt = 0;
    int frames = 0;
};

void BM_SettingDuringLiveVideo(benchmark::State& state)
{
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(gSimulator->port());
    settings->setReadOffsetOnResume(false);
    ControllerIntegrationTime controller(&context);
    LiveVideo video(&context);
    video.clock.start();
    qint64 onWireAt = 0;
    qint64 replyAt = 0;
    // Connected before any transaction: runs just before the slot sends its command.
    QObject::connect(controller.pauseController(), &Controller::videoPaused, &video.loop,
                     [&] { onWireAt = video.clock.nsecsElapsed(); });
    QObject::connect(settings->integrationTime(), &SettingsIntegrationTime::integrationTime3DChanged,
                     &video.loop, [&] { replyAt = video.clock.nsecsElapsed(); });
    settings->startAcquisition();

    double entryToWire = 0;
    double replyToFrame = 0;
    double framePeriod = 0;
    int changes = 0;
    int value = 500;
    for (auto _ : state) {
        // Let a few frames run, then change the setting in the middle of the stream.
        const int framesBefore = video.frames;
        const qint64 streamStart = video.clock.nsecsElapsed();
        while (video.frames < framesBefore + 3)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        framePeriod += double(video.clock.nsecsElapsed() - streamStart) / 3;
        const qint64 entryAt = video.clock.nsecsElapsed();
        value = value == 500 ? 600 : 500;
        controller.changeIntegrationTime3D(value);
        while (video.restartedAt < entryAt)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        entryToWire += double(onWireAt - entryAt);
        replyToFrame += double(video.restartedAt - replyAt);
        ++changes;
    }
    settings->pauseAcquisition();
    state.counters["entry_to_wire_ms"] = entryToWire / changes / 1e6;
    state.counters["reply_to_frame_ms"] = replyToFrame / changes / 1e6;
    state.counters["frame_period_ms"] = framePeriod / changes / 1e6;
}
BENCHMARK(BM_SettingDuringLiveVideo)->Unit(benchmark::kMillisecond)->Iterations(50)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QGuiApplication>(argc, argv, gSimulator,
                                                        BenchMain::SimulatorFrames::Frozen);
}
