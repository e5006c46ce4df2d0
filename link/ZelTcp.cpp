#include "link/ZelTcp.h"

#include "app/Trace.h"
#include "link/Replies.h"
#include "settings/SettingsSocket.h"

#include <QDeadlineTimer>

namespace {
// Room for the largest frames without regrowing; reserving also keeps the capacity when the
// buffer is emptied for the next exchange.
constexpr int initialReplyCapacity = 1024 * 1024;
} // namespace

ZelTcp::ZelTcp(SettingsSocket* socketSettings, QObject* parent)
    : QObject(parent), socketSettings(socketSettings)
{
    reply.reserve(initialReplyCapacity);
    timer.setSingleShot(false);
    connect(socketSettings, &SettingsSocket::socketChanged, this, &ZelTcp::setSocket);
    setSocket();
}

ZelTcp::~ZelTcp()
{
    closeAfterWait(1000);
    ZTRACE() << "***ZelTcp destroyed";
}

void ZelTcp::setSocket()
{
    ip = socketSettings->ip();
    port = static_cast<quint16>(socketSettings->port());
}

void ZelTcp::setCommand(const QString& cmd)
{
    // The frame loop sets the same command for every frame: nothing to encode again.
    if (!commandBytes.isEmpty() && command.size() == cmd.size() + 1 && command.startsWith(cmd))
        return;
    command = cmd + QLatin1Char('\n');
    // The text goes out up to its first NUL character, always ended by the line feed.
    commandBytes = command.toUtf8();
    const int nul = commandBytes.indexOf('\0');
    if (nul >= 0) {
        commandBytes.truncate(nul);
        commandBytes.append('\n');
    }
}

bool ZelTcp::appendReadable()
{
    const qint64 available = socket.bytesAvailable();
    if (available <= 0)
        return true;
    const int room = maxReplySize - reply.size();
    const int take = static_cast<int>(qMin<qint64>(available, room));
    if (take > 0) {
        const int old = reply.size();
        reply.resize(old + take);
        const qint64 got = socket.read(reply.data() + old, take);
        reply.resize(old + static_cast<int>(qMax<qint64>(got, 0)));
    }
    if (available > room) {
        ZTRACE() << "tcp reply exceeds" << maxReplySize << "bytes, exchange ended";
        return false;
    }
    return true;
}

bool ZelTcp::sendCommand(int timeout)
{
    socket.connectToHost(ip, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    if (!socket.waitForConnected(timeout)) {
        ZTRACE() << "tcp connect timeout";
        socket.close();
        emit exchangeEnded(false);
        return false;
    }

    reply.resize(0);
    socket.write(commandBytes);

    // Wait for the server's close, collecting the reply as it arrives so that the cap holds
    // while waiting.
    const QDeadlineTimer deadline(timeout);
    bool withinCap = true;
    while (withinCap && socket.state() == QAbstractSocket::ConnectedState) {
        const bool readable = socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        withinCap = appendReadable();
        if (!readable && socket.state() == QAbstractSocket::ConnectedState)
            break; // timed out
        if (deadline.hasExpired() && socket.state() == QAbstractSocket::ConnectedState)
            break;
    }
    const bool answered = withinCap && socket.state() != QAbstractSocket::ConnectedState;
    if (withinCap && !answered)
        ZTRACE() << "tcp disconnect timeout";
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.disconnectFromHost();
    if (withinCap)
        appendReadable();

    socket.close();
    emit exchangeEnded(answered);
    emit finishedCommand(reply);
    return true;
}

bool ZelTcp::startCommand(int timeout)
{
    timer.start(timeout);
    connectExchange();
    if (socket.state() == QAbstractSocket::UnconnectedState) {
        socket.connectToHost(ip, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
        reply.resize(0);
    } else {
        // Only one exchange at a time: the one in flight keeps its reply and is reported once.
        ZTRACE() << "tcp busy, exchange in flight continues";
    }
    return true;
}

void ZelTcp::connectExchange()
{
    // Unique, so that a second start while an exchange is in flight does not run every slot
    // twice.
    const auto type = static_cast<Qt::ConnectionType>(Qt::DirectConnection | Qt::UniqueConnection);
    connect(&timer, &QTimer::timeout, this, &ZelTcp::timeout, type);
    connect(&socket, &QTcpSocket::connected, this, &ZelTcp::connected, type);
    connect(&socket, &QTcpSocket::readyRead, this, &ZelTcp::readyRead, type);
    connect(&socket, &QTcpSocket::disconnected, this, &ZelTcp::disconnected, type);
}

void ZelTcp::disconnectExchange()
{
    disconnect(&timer, &QTimer::timeout, this, &ZelTcp::timeout);
    disconnect(&socket, &QTcpSocket::connected, this, &ZelTcp::connected);
    disconnect(&socket, &QTcpSocket::readyRead, this, &ZelTcp::readyRead);
    disconnect(&socket, &QTcpSocket::disconnected, this, &ZelTcp::disconnected);
}

void ZelTcp::connected()
{
    // The camera's time to answer counts from the moment it has the command: a busy event
    // loop (a first paint of a large window) may notice the connection late, and that delay
    // is the client's, not the camera's.
    timer.start();
    socket.write(commandBytes);
}

void ZelTcp::readyRead()
{
    if (appendReadable())
        return;
    // An endless reply is a failed exchange; the connections go first so that the abort's
    // own disconnection notice reaches no slot.
    disconnectExchange();
    socket.abort();
    emit exchangeEnded(false);
    emit failed();
}

void ZelTcp::disconnected()
{
    if (!appendReadable()) {
        disconnectExchange();
        socket.abort();
        emit exchangeEnded(false);
        emit failed();
        return;
    }
    socket.close();
    disconnectExchange();
    emit exchangeEnded(true);
    emit finishedData(reply);
}

void ZelTcp::timeout()
{
    // A connection that completed while the event loop was busy elsewhere is still waiting
    // to be noticed: take it now, which writes the command and gives the camera its time.
    if (socket.state() == QAbstractSocket::ConnectingState && socket.waitForConnected(1))
        return;
    ZTRACE() << "tcp exchange timed out after" << reply.size() << "bytes";
    // The partial reply is not delivered; removing the connections before the abort keeps
    // its disconnection notice from reaching disconnected().
    disconnectExchange();
    socket.abort();
    emit exchangeEnded(false);
    emit failed();
}

void ZelTcp::closeAfterWait(int ms)
{
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(ms);
    if (socket.state() != QAbstractSocket::UnconnectedState || socket.isOpen()) {
        // An event-driven exchange that did not end in time is given up: its partial reply
        // must not reach the listeners as a finished one.
        disconnectExchange();
        socket.abort();
    }
}

qint16 ZelTcp::responseInt16() const
{
    return Replies::int16(reply);
}

double ZelTcp::responseDouble() const
{
    return Replies::doubleValue(reply);
}
