// Recording costs: the three value blocks of one distance picture written to the CSV file,
// and the raw recording of the DCS + grayscale view keeping up with live video from the
// simulator (every frame requested must be recorded).
#include "BenchData.h"
#include "app/ApplicationContext.h"
#include "link/ZelTcp.h"
#include "recording/Logger.h"
#include "recording/RawRecorder.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "views/WidgetDCSGrayscale.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Column pointers into a field stored column by column.
std::vector<int*> columnsOf(std::vector<int>& field)
{
    std::vector<int*> columns(BenchData::kColumns);
    for (int c = 0; c < BenchData::kColumns; ++c)
        columns[size_t(c)] = field.data() + size_t(c) * BenchData::kRows;
    return columns;
}

// One distance picture's CSV in the unit cm: unfiltered distances, amplitudes, filtered
// distances, each over a 320 x 240 ROI, appended to the run's file.
void BM_DistanceCsvThreeBlocks320x240(benchmark::State& state)
{
    Settings settings;
    settings.roi()->setRoi(4, 323, 6, 245);
    settings.modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings.modulation()->setFrequencyIndex(0);
    std::vector<int> distance = BenchData::distanceField();
    std::vector<int> amplitude = BenchData::amplitudeField();
    const std::vector<int*> distanceColumns = columnsOf(distance);
    const std::vector<int*> amplitudeColumns = columnsOf(amplitude);
    Logger logger(&settings);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("run.csv"));
    int picture = 0;
    for (auto _ : state) {
        bool ok = logger.writeDistanceTable(distanceColumns.data(), file, 0, 66000);
        ok = ok && logger.writeValueTable(amplitudeColumns.data(), file, 0, 66000, false);
        ok = ok && logger.writeDistanceTable(distanceColumns.data(), file, 0, 20000);
        if (!ok) {
            state.SkipWithError("the CSV file could not be written");
            return;
        }
        // A run of 100 pictures, then a fresh file, so the file stays of a run's size.
        if (++picture % 100 == 0) {
            state.PauseTiming();
            QFile::remove(file);
            state.ResumeTiming();
        }
    }
    state.counters["bytes_per_picture"] =
        double(QFileInfo(file).size()) / double(picture % 100 ? picture % 100 : 100);
}
BENCHMARK(BM_DistanceCsvThreeBlocks320x240)->Unit(benchmark::kMillisecond)->UseRealTime();

// Live video of the DCS + grayscale view from the simulator at full speed, "Log" ticked:
// frames requested against frames recorded (.bin files and index lines), and the frame rate.
void BM_RawRecordingLiveVideo(benchmark::State& state)
{
    SimulatorProcess sim;
    if (!sim.isRunning()) {
        state.SkipWithError(qPrintable(sim.errorString()));
        return;
    }
    sim.exchange("enablePiDelay 1");
    constexpr int kFrames = 300;
    for (auto _ : state) {
        ApplicationContext context;
        Settings* settings = context.settings();
        settings->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings->socket()->setPort(sim.port());
        settings->setChipType(2);
        settings->roi()->setChipType(2);
        settings->setModeIndex(8);
        settings->distanceCalculation()->setPiDelay(true);
        QTemporaryDir dir;
        settings->setLogPath(dir.path());
        settings->setLogFilename(QStringLiteral("bench"));
        WidgetDCSGrayscale view(&context);
        view.findChild<QCheckBox*>(QStringLiteral("cbLog"))->setChecked(true);

        int requested = 0;
        int shown = 0;
        QEventLoop loop;
        QObject::connect(&view, &WidgetDCSGrayscale::pictureUpdated, &loop, [&] {
            if (++shown == kFrames)
                loop.quit();
        });
        // The view panel's loop: a released channel (or a failed exchange) asks again.
        auto next = [&] {
            if (requested < kFrames) {
                ++requested;
                view.startView();
            }
        };
        QObject::connect(context.tcp(), &ZelTcp::ready, &view, next);
        QObject::connect(context.tcp(), &ZelTcp::failed, &view, next);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        next();
        loop.exec();
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);

        const QDir out(dir.path());
        const int binFiles = out.entryList({QStringLiteral("bench_*.bin")}, QDir::Files).size();
        const QStringList indexes = out.entryList({QStringLiteral("bench_*.idx")}, QDir::Files);
        int indexLines = 0;
        for (const QString& index : indexes) {
            QFile f(out.filePath(index));
            if (f.open(QIODevice::ReadOnly))
                indexLines += int(f.readAll().count('\n'));
        }
        state.counters["frames_requested"] = double(requested);
        state.counters["frames_recorded"] = double(binFiles);
        state.counters["index_lines"] = double(indexLines);
        state.counters["lost"] = double(requested - std::min(binFiles, indexLines));
        state.counters["incomplete"] = double(view.recorder()->incompleteFrames());
        state.counters["fps"] = double(shown) / seconds;
    }
}
BENCHMARK(BM_RawRecordingLiveVideo)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
