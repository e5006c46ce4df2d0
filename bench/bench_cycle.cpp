// The frame cycle end to end on loopback, against the simulator serving one frozen frame (no
// per-frame work on its side): the client's loop (event-driven exchange on ZelTcp, decode,
// paint) next to a minimal raw-socket loop doing the same exchanges with no decoding, the
// client's overhead per frame, and the client's resident memory over a long run.

#include "BenchMain.h"
#include "ResidentMemory.h"
#include "frames/DataInformationSample.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "render/ZelImageCreator.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace {

const QString kFrameCommand = Commands::getDistanceAndAmplitudeSorted();

// The simulator of this run, started by main() before the benchmarks and stopped after them.
SimulatorProcess* gSimulator = nullptr;

SimulatorProcess& simulator()
{
    return *gSimulator;
}

// The client's own loop: one event-driven exchange per frame, decoded and painted when the
// reply is complete, the next request issued from there, as in live video.
class ClientLoop
{
public:
    explicit ClientLoop(quint16 port) : tcp(settings.socket()), sample(&settings), creator(&settings)
    {
        settings.socket()->setIp(QStringLiteral("127.0.0.1"));
        settings.socket()->setPort(port);
        QObject::connect(&tcp, &ZelTcp::finishedData, &sample, &DataInformationSample::updateData);
        QObject::connect(&sample, &DataInformationSample::finished, &loop, [this] {
            creator.createImage(*sample.distanceField(false), 0, 30000, ZelImageCreator::ReversedRamp);
            ++frames;
            loop.quit();
        });
        QObject::connect(&tcp, &ZelTcp::failed, &loop, [this] {
            ++failures;
            loop.quit();
        });
    }

    // One whole frame: request, reply, decode, paint.
    void frame()
    {
        tcp.setCommand(kFrameCommand);
        tcp.startCommand(1003);
        loop.exec();
    }

    Settings settings;
    ZelTcp tcp;
    DataInformationSample sample;
    ZelImageCreator creator;
    QEventLoop loop;
    long frames = 0;
    long failures = 0;
};

// The same exchange on a plain socket: connect, write the command line, read until the
// server closes. Nothing is decoded.
bool rawExchange(quint16 port, const QByteArray& line, QByteArray& buffer)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              ::write(fd, line.constData(), size_t(line.size())) == line.size();
    buffer.resize(0);
    char chunk[65536];
    while (ok) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0)
            break;
        buffer.append(chunk, int(n));
    }
    ::close(fd);
    return ok;
}

void BM_ClientLoopFrame(benchmark::State& state)
{
    SimulatorProcess& sim = simulator();
    if (!sim.isRunning()) {
        state.SkipWithError(qPrintable(sim.errorString()));
        return;
    }
    ClientLoop client(sim.port());
    for (auto _ : state)
        client.frame();
    state.counters["fps"] = benchmark::Counter(double(client.frames), benchmark::Counter::kIsRate);
    state.counters["failures"] = double(client.failures);
}
BENCHMARK(BM_ClientLoopFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawSocketFrame(benchmark::State& state)
{
    SimulatorProcess& sim = simulator();
    if (!sim.isRunning()) {
        state.SkipWithError(qPrintable(sim.errorString()));
        return;
    }
    const QByteArray line = kFrameCommand.toLatin1() + '\n';
    QByteArray buffer;
    buffer.reserve(1 << 20);
    long frames = 0;
    for (auto _ : state)
        frames += rawExchange(sim.port(), line, buffer) ? 1 : 0;
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RawSocketFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each iteration times one client frame and one raw frame back to back and counts the
// difference, so both see the same machine load.
void BM_ClientOverheadPerFrame(benchmark::State& state)
{
    SimulatorProcess& sim = simulator();
    if (!sim.isRunning()) {
        state.SkipWithError(qPrintable(sim.errorString()));
        return;
    }
    ClientLoop client(sim.port());
    const QByteArray line = kFrameCommand.toLatin1() + '\n';
    QByteArray buffer;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        client.frame();
        const qint64 clientNs = clock.nsecsElapsed();
        clock.start();
        rawExchange(sim.port(), line, buffer);
        const qint64 rawNs = clock.nsecsElapsed();
        state.SetIterationTime(double(std::max<qint64>(0, clientNs - rawNs)) / 1e9);
    }
}
BENCHMARK(BM_ClientOverheadPerFrame)->Unit(benchmark::kMillisecond)->UseManualTime();

// Resident memory of the client loop after 1,000 and after 10,000 frames: it must not grow.
void BM_ClientLoopMemory(benchmark::State& state)
{
    SimulatorProcess& sim = simulator();
    if (!sim.isRunning()) {
        state.SkipWithError(qPrintable(sim.errorString()));
        return;
    }
    for (auto _ : state) {
        ClientLoop client(sim.port());
        for (int i = 0; i < 1000; ++i)
            client.frame();
        const long after1000 = residentKilobytes();
        for (int i = 1000; i < 10000; ++i)
            client.frame();
        const long after10000 = residentKilobytes();
        state.counters["rss_1000_frames_kb"] = double(after1000);
        state.counters["rss_10000_frames_kb"] = double(after10000);
        state.counters["growth_kb"] = double(after10000 - after1000);
        state.counters["failures"] = double(client.failures);
    }
}
BENCHMARK(BM_ClientLoopMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QGuiApplication>(argc, argv, gSimulator,
                                                        BenchMain::SimulatorFrames::Frozen);
}
