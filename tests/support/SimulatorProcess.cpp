#include "support/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>

#include <algorithm>

SimulatorProcess::SimulatorProcess(const QStringList& extraArguments) : process(std::make_unique<QProcess>())
{
    process->setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments = extraArguments;
    if (!arguments.contains(QLatin1String("--port")))
        arguments << QStringLiteral("--port") << QStringLiteral("0");
    process->start(QStringLiteral(KESTRANE_SIM_PATH), arguments);
    if (!process->waitForStarted(10000)) {
        error = QStringLiteral("zmu-sim did not start: ") + process->errorString();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process->canReadLine() && clock.elapsed() < 10000 && process->state() == QProcess::Running)
        process->waitForReadyRead(100);
    const QString line = QString::fromLatin1(process->readLine()).trimmed();
    const int colon = line.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = colon >= 0 ? line.mid(colon + 1).toInt(&ok) : 0;
    if (!line.startsWith(QLatin1String("zmu-sim: listening on ")) || !ok || port <= 0 || port > 65535) {
        error = QStringLiteral("zmu-sim did not report its port: ") + line + QLatin1Char(' ') +
                QString::fromLocal8Bit(process->readAllStandardError());
        return;
    }
    listenPort = static_cast<quint16>(port);
}

SimulatorProcess::~SimulatorProcess()
{
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    // Whatever the simulator complained about (a sanitizer report, a failed listen) belongs in
    // the test's log.
    const QByteArray errors = process->readAllStandardError();
    if (!errors.isEmpty())
        qWarning("zmu-sim: %s", errors.constData());
}

bool SimulatorProcess::isRunning() const
{
    return listenPort != 0 && process->state() == QProcess::Running;
}

QByteArray SimulatorProcess::exchange(const QByteArray& command, int timeoutMs, bool* completed) const
{
    return exchange(listenPort, command, timeoutMs, completed);
}

QByteArray SimulatorProcess::exchange(quint16 port, const QByteArray& command, int timeoutMs, bool* completed)
{
    if (completed)
        *completed = false;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(timeoutMs))
        return QByteArray();
    socket.write(command + '\n');
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, timeoutMs - clock.elapsed())));
        reply += socket.readAll();
        if (socket.state() != QAbstractSocket::ConnectedState) {
            reply += socket.readAll();
            if (completed)
                *completed = true;
            break;
        }
    }
    return reply;
}
