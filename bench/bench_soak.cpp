// A long run of live video through the program's own frame cycle: the view panel started as
// the "Start" button does, the distance view decoding, filtering, painting and showing every
// frame, the next request going out from the view's ready(), against the simulator serving one
// frozen frame. Reports the resident memory after 1,000, 10,000 and 100,000 frames and the
// frame rate; the memory must not grow past the first 1,000 frames.
// KESTRANE_SOAK_FRAMES sets a shorter run for a quick look (the checkpoints past it are left out).
#include "BenchMain.h"
#include "ResidentMemory.h"
#include "app/ApplicationContext.h"
#include "app/WidgetView.h"
#include "link/Commands.h"
#include "settings/SettingsManager.h"
#include "support/SimulatorProcess.h"
#include "views/WindowDemo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

namespace {

SimulatorProcess* gSimulator = nullptr;

long soakFrames()
{
    const long frames = qEnvironmentVariableIsSet("KESTRANE_SOAK_FRAMES")
                            ? qEnvironmentVariable("KESTRANE_SOAK_FRAMES").toLong()
                            : 100000;
    return qMax(1000L, frames);
}

void BM_SoakLiveVideo(benchmark::State& state)
{
    if (!gSimulator || !gSimulator->isRunning()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    const long total = soakFrames();
    for (auto _ : state) {
        ApplicationContext context;
        Settings* settings = context.settings();
        settings->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings->socket()->setPort(gSimulator->port());
        settings->setChipType(2);
        SettingsManager(settings).loadConfig(QStringLiteral(":/config/zc320_settings_default.xml"));
        WidgetView view(&context);
        view.selectViewMode(1);

        long frames = 0;
        long target = 1000;
        QEventLoop loop;
        QObject::connect(&view, &WidgetView::pictureShown, &loop, [&] {
            if (++frames >= target)
                loop.quit();
        });
        QElapsedTimer clock;
        clock.start();
        view.on_pbGetVideo_clicked();
        for (const long checkpoint : {1000L, 10000L, 100000L}) {
            if (checkpoint > total)
                break;
            target = checkpoint;
            loop.exec();
            state.counters["rss_" + std::to_string(checkpoint / 1000) + "k_frames_kb"] =
                double(residentKilobytes());
        }
        if (frames < total) {
            target = total;
            loop.exec();
        }
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        const long last = residentKilobytes();
        view.on_pbGetVideo_clicked();
        context.tcp()->closeAfterWait(2000);
        view.windowDemo()->hide();

        state.counters["frames"] = double(frames);
        state.counters["fps"] = double(frames) / seconds;
        state.counters["growth_after_1k_kb"] = double(last) - state.counters["rss_1k_frames_kb"];
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_SoakLiveVideo)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(1)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QApplication>(argc, argv, gSimulator,
                                                     BenchMain::SimulatorFrames::Frozen);
}
