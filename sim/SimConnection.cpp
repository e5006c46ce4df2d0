#include "sim/SimConnection.h"

#include "sim/CommandProcessor.h"
#include "sim/SimServer.h"
#include "sim/SimTrace.h"

#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

SimConnection::SimConnection(QTcpSocket* tcpSocket, SimServer* owner)
    : QObject(owner), socket(tcpSocket), server(owner), idleTimer(new QTimer(this))
{
    socket->setParent(this);
    idleTimer->setSingleShot(true);
    connect(idleTimer, &QTimer::timeout, this, &SimConnection::finish);
    connect(socket, &QTcpSocket::readyRead, this, &SimConnection::readCommand);
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    idleTimer->start(idleTimeoutMs);
    readCommand();
}

SimConnection::~SimConnection() = default;

void SimConnection::readCommand()
{
    if (commandRead) {
        socket->readAll();
        return;
    }
    buffer += socket->readAll();
    const int end = buffer.indexOf('\n');
    if (end < 0) {
        if (buffer.size() > maximumLineLength)
            finish();
        return;
    }
    if (end > maximumLineLength) {
        finish();
        return;
    }
    commandRead = true;
    idleTimer->stop();
    answer(buffer.left(end));
    buffer.clear();
}

void SimConnection::answer(const QByteArray& line)
{
    CommandProcessor* processor = server->processor();
    SimReply reply = processor->process(line);
    qCDebug(lcSimCommands).noquote() << QString::fromLatin1(line.left(200)) << "->" << reply.bytes.size()
                                     << "bytes"
                                     << (reply.workMs > 0 ? QByteArray::number(reply.workMs) + " ms"
                                                          : QByteArray());
    if (reply.control) {
        const int refuse = processor->faults().refuseSeconds;
        send(reply.bytes, false);
        if (refuse > 0) {
            processor->faults().refuseSeconds = 0;
            server->refuseFor(refuse);
        }
        return;
    }

    const FaultPlan& faults = processor->faults();
    const quint64 exchange = server->nextExchange();
    const bool picked = faults.everyNth == 0 || exchange % static_cast<quint64>(faults.everyNth) == 0;
    int delay = reply.workMs;
    bool resetHalfway = false;
    if (picked) {
        if (faults.hang)
            return; // the connection stays open until the client gives up
        if (faults.closeWithoutReply ||
            (faults.everyNth > 0 && !faults.anyReplyFault() && faults.delayMs == 0)) {
            finish();
            return;
        }
        delay += faults.delayMs;
        if (faults.garbage)
            reply.bytes = server->randomBytes(1 + static_cast<int>(server->randomBytes(1).at(0) & 0x3F) +
                                              reply.bytes.size());
        if (reply.frame && faults.partialFrame)
            reply.bytes.truncate(reply.bytes.size() / 2);
        if (reply.frame && faults.oversizeFrame)
            reply.bytes.append(server->randomBytes(2 * (reply.bytes.size() / 8)));
        resetHalfway = faults.reset;
    }
    if (delay <= 0) {
        send(reply.bytes, resetHalfway);
        return;
    }
    const QByteArray bytes = reply.bytes;
    QTimer::singleShot(delay, this, [this, bytes, resetHalfway] { send(bytes, resetHalfway); });
}

void SimConnection::send(const QByteArray& bytes, bool resetHalfway)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (resetHalfway) {
        socket->write(bytes.constData(), bytes.size() / 2);
        connect(socket, &QTcpSocket::bytesWritten, this, [this] {
            if (socket->bytesToWrite() == 0)
                resetConnection();
        });
        if (bytes.size() / 2 == 0)
            resetConnection();
        return;
    }
    socket->write(bytes);
    finish();
}

void SimConnection::finish()
{
    idleTimer->stop();
    socket->disconnectFromHost();
}

void SimConnection::resetConnection()
{
    // A zero linger time makes the close send a reset instead of the orderly end.
#ifdef Q_OS_UNIX
    const qintptr descriptor = socket->socketDescriptor();
    if (descriptor >= 0) {
        struct linger option = {1, 0};
        ::setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_LINGER, &option, sizeof option);
    }
#endif
    socket->abort();
    deleteLater();
}
