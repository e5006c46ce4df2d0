#pragma once

#include "app/Resources.h"
#include "link/Commands.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"
#include "support/SimulatorProcess.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstdio>

namespace BenchMain {

// How the program's simulator serves frames: rendered anew for every request, or one
// distance-and-amplitude frame rendered once and served again and again, so that only the
// client's own work is measured.
enum class SimulatorFrames
{
    Rendered,
    Frozen
};

// Where the program's windows go: nowhere (drawing into memory), or the X display the program
// runs on (OpenGL drawing needs one; scripts/bench runs the programs under a virtual X server).
enum class Screen
{
    Offscreen,
    XDisplay
};

// The zc320's built-in default configuration, with the client's view of the simulator's
// frequencies, as a user's first start has it.
inline void loadZc320Default(Settings* settings)
{
    settings->setChipType(2);
    SettingsManager manager(settings);
    if (!manager.loadConfig(QStringLiteral(":/config/zc320_settings_default.xml")))
        std::fprintf(stderr, "bench: the default configuration did not load\n");
    settings->modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->setFrequencyIndex(1);
    // As the view panel sets it from the configured 20 mm: 40 LSB at 10 MHz, a tenth of it
    // for the edge step.
    settings->setEdgeDetectionThreshold(40, false);
    settings->setEdgeDetectionThreshold(4, true);
    settings->calibration()->setPixelInterpolation(false);
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
}

// The main() of a benchmark program that talks to a simulator: Qt (without a display unless
// asked), the compiled resources, one simulator on loopback for the whole run (reachable
// through `current` while the benchmarks run), then every benchmark the command line selects.
template <class Application>
int runWithSimulator(int argc, char** argv, SimulatorProcess*& current,
                     SimulatorFrames frames = SimulatorFrames::Rendered, Screen screen = Screen::Offscreen)
{
    const bool onDisplay = screen == Screen::XDisplay && !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen");
    Application application(argc, argv);
    Resources::initialize();
    SimulatorProcess sim;
    if (frames == SimulatorFrames::Frozen && sim.isRunning()) {
        sim.exchange(Commands::getDistanceAndAmplitudeSorted().toLatin1());
        sim.exchange("sim.freeze 1");
    }
    current = &sim;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current = nullptr;
    return 0;
}

} // namespace BenchMain
