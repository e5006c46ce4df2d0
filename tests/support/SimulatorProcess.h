#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// Runs the built zmu-sim (KESTRANE_SIM_PATH) as a separate process for a test: the client's
// blocking socket waits then never compete with an in-process server on the same thread.
//
//     SimulatorProcess sim({"--chip", "zc310"});
//     QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
//     settings->socket()->setPort(sim.port());                  // talk to it from the client
//     QByteArray reply = sim.exchange("getDistanceAndAmplitudeSorted");
//     QByteArray truth = sim.exchange("sim.lastFrame");         // what the frame must decode to
//
// The constructor starts "zmu-sim <extra arguments> --port 0" (the port given among the extra
// arguments instead, if any: a camera that returns on its address) and waits (up to 10 s) for its
// first line, "zmu-sim: listening on ADDR:PORT"; the destructor stops the process.
class SimulatorProcess final
{
public:
    explicit SimulatorProcess(const QStringList& extraArguments = QStringList());
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // True once the simulator has reported its port and is still running.
    bool isRunning() const;
    // The ephemeral port it listens on (on 127.0.0.1); 0 when it did not start.
    quint16 port() const { return listenPort; }
    // Why it did not start (its output included).
    QString errorString() const { return error; }

    // Sends `command` plus a line feed on a fresh connection and returns everything read
    // until the simulator closes. `completed`, when given, is set to whether the close came
    // within `timeoutMs` (false also when the connection failed).
    QByteArray exchange(const QByteArray& command, int timeoutMs = 5000, bool* completed = nullptr) const;
    static QByteArray exchange(quint16 port, const QByteArray& command, int timeoutMs = 5000,
                               bool* completed = nullptr);

private:
    std::unique_ptr<QProcess> process;
    quint16 listenPort = 0;
    QString error;
};
