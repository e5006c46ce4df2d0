#include "app/ShutdownSignals.h"

#include "app/Trace.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may touch nothing but this pair: [0] read by the event loop, [1] written by the
// handler.
int signalPair[2] = {-1, -1};
constexpr int handledSignals[] = {SIGTERM, SIGINT};

extern "C" void writeSignal(int signalNumber)
{
    const int saved = errno;
    const char byte = static_cast<char>(signalNumber);
    // A full pipe means a close is already pending: the byte may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(signalPair[1], &byte, 1);
    errno = saved;
}
} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) {
        ZTRACE() << "no socket pair for the shutdown signals";
        signalPair[0] = signalPair[1] = -1;
        return;
    }
    ::fcntl(signalPair[1], F_SETFL, O_NONBLOCK);
    notifier = new QSocketNotifier(signalPair[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : handledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals()
{
    if (signalPair[0] < 0)
        return;
    for (const int signalNumber : handledSignals)
        std::signal(signalNumber, SIG_DFL);
    delete notifier;
    ::close(signalPair[0]);
    ::close(signalPair[1]);
    signalPair[0] = signalPair[1] = -1;
}

void ShutdownSignals::readSignal()
{
    char byte = 0;
    if (::read(signalPair[0], &byte, 1) != 1)
        return;
    ZTRACE() << "signal" << int(byte) << "received, closing";
    emit received(int(byte));
}
