#pragma once

#include <QHostAddress>
#include <QObject>

class CommandProcessor;
class QTcpServer;

// The camera's command server: one command line per connection, the whole reply, then the
// connection is closed. Runs on one thread; slow replies wait on timers, so one slow exchange
// never holds up another.
class SimServer final : public QObject
{
    Q_OBJECT

public:
    explicit SimServer(CommandProcessor* processor, QObject* parent = nullptr);
    ~SimServer() override;

    bool listen(const QHostAddress& address, quint16 port);
    QHostAddress address() const { return listenAddress; }
    quint16 port() const { return listenPort; }
    QString errorString() const { return error; }
    CommandProcessor* processor() const { return commands; }

    // Counts the camera exchanges (control commands excluded); decides which exchanges the
    // every=N fault picks.
    quint64 nextExchange() { return ++exchanges; }
    // Stops accepting connections for `seconds`, then listens again on the same port.
    void refuseFor(int seconds);
    bool isRefusing() const { return refusing; }
    // Bytes for the garbage and oversize faults.
    QByteArray randomBytes(int size);

private:
    void acceptConnections();

    CommandProcessor* commands;
    QTcpServer* server;
    QHostAddress listenAddress;
    quint16 listenPort = 0;
    QString error;
    quint64 exchanges = 0;
    bool refusing = false;
    quint64 randomState = 0x2545F4914F6CDD1Dull;
};
