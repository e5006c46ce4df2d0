#pragma once

#include <QByteArray>
#include <QObject>

class QTcpSocket;
class QTimer;
class SimServer;
struct SimReply;

// One exchange: reads the command line (up to the line feed), lets the command processor
// answer it, writes the reply after the camera's working time and closes. A line longer than
// 4 KiB, or a connection silent for 2 s, is closed without a reply. Deletes itself when the
// connection is gone.
class SimConnection final : public QObject
{
    Q_OBJECT

public:
    SimConnection(QTcpSocket* socket, SimServer* server);
    ~SimConnection() override;

    static constexpr int maximumLineLength = 4096;
    static constexpr int idleTimeoutMs = 2000;

private:
    void readCommand();
    void answer(const QByteArray& line);
    void send(const QByteArray& bytes, bool resetHalfway);
    void finish();
    void resetConnection();

    QTcpSocket* socket;
    SimServer* server;
    QTimer* idleTimer;
    QByteArray buffer;
    bool commandRead = false;
};
