#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

class SettingsSocket;

// The one path to the camera's command server. Every exchange is a fresh TCP connection:
// connect, write one command line, read until the server closes. The reply buffer is reused
// between exchanges and handed to listeners by reference; it stays valid until the next
// exchange starts.
//
// Two kinds of exchange share the socket and must never overlap:
// - sendCommand(): blocking, waits on the calling thread (settings and service commands);
// - startCommand(): event-driven, ends with finishedData() or failed() (frames, calibration
//   runs, the console).
class ZelTcp : public QObject
{
    Q_OBJECT

public:
    // A reply longer than this (far above the largest frame) ends the exchange: a server that
    // keeps sending must not grow the buffer without bound.
    static constexpr int maxReplySize = 16 * 1024 * 1024;

    explicit ZelTcp(SettingsSocket* socketSettings, QObject* parent = nullptr);
    ~ZelTcp() override;

    // The command of the next exchange; the line feed is appended here.
    void setCommand(const QString& cmd);

    // Blocking exchange. The same time-out (ms) bounds the connect and the wait for the
    // server's close. True when the connection was made, even if the reply was cut short by
    // the time-out; false (reply buffer untouched) when the server could not be reached.
    // Virtual so that a channel replaying recorded replies can stand in for the network.
    virtual bool sendCommand(int timeout);

    // Event-driven exchange: returns at once; finishedData() when the server closed,
    // failed() when the interval (ms) elapsed first or the reply outgrew maxReplySize.
    bool startCommand(int timeout);

    QByteArray& response() { return reply; }
    // The first two reply bytes, little-endian signed; 0 when fewer than two arrived.
    qint16 responseInt16() const;
    // The first eight reply bytes as a little-endian IEEE 754 double; 0 when fewer arrived.
    double responseDouble() const;

    // Gives an exchange still in flight up to ms to end, then aborts the socket.
    void closeAfterWait(int ms);

signals:
    void finishedCommand(QByteArray& response);
    void finishedData(QByteArray& data);
    void failed();
    // The outcome of every exchange of either kind: answered when the server was reached and
    // closed the connection within the time-out (a reply, possibly empty, arrived whole).
    void exchangeEnded(bool answered);
    // Relay only: the image views and the temperature poll emit it once a frame has been
    // handled, so that the next request may go out. Never emitted by the channel itself.
    void ready();

public slots:
    void connected();
    void disconnected();
    void readyRead();
    void timeout();
    void setSocket();

private:
    void connectExchange();
    void disconnectExchange();
    // Appends what the socket holds to the reply, up to maxReplySize; false when the reply
    // would outgrow it (what fits is kept).
    bool appendReadable();

    QTcpSocket socket;
    SettingsSocket* socketSettings;
    QString ip;
    quint16 port = 0;
    QByteArray reply;
    QTimer timer;
    QString command;
    // The command as it goes on the wire, encoded once per distinct command so that the
    // frame loop, which repeats one command, encodes nothing.
    QByteArray commandBytes;
};
