#include "sim/SimServer.h"

#include "sim/CommandProcessor.h"
#include "sim/SimConnection.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

SimServer::SimServer(CommandProcessor* processor, QObject* parent)
    : QObject(parent), commands(processor), server(new QTcpServer(this))
{
    connect(server, &QTcpServer::newConnection, this, &SimServer::acceptConnections);
}

SimServer::~SimServer() = default;

bool SimServer::listen(const QHostAddress& address, quint16 port)
{
    if (!server->listen(address, port)) {
        error = server->errorString();
        return false;
    }
    listenAddress = address;
    listenPort = server->serverPort();
    return true;
}

void SimServer::refuseFor(int seconds)
{
    if (seconds <= 0 || refusing)
        return;
    refusing = true;
    server->close();
    QTimer::singleShot(seconds * 1000, this, [this] {
        refusing = false;
        if (!server->listen(listenAddress, listenPort))
            qWarning("zmu-sim: cannot listen again on port %u: %s", listenPort,
                     qPrintable(server->errorString()));
    });
}

void SimServer::acceptConnections()
{
    while (QTcpSocket* socket = server->nextPendingConnection())
        new SimConnection(socket, this);
}

QByteArray SimServer::randomBytes(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i) {
        randomState ^= randomState << 13;
        randomState ^= randomState >> 7;
        randomState ^= randomState << 17;
        out[i] = static_cast<char>(randomState & 0xFF);
    }
    return out;
}
