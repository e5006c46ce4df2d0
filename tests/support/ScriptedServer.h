#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <memory>

// A command server for tests: listens on 127.0.0.1 at an ephemeral port and answers each
// connection by the next step of its script (the last step repeats), recording the bytes
// every connection sent. It runs in its own thread, so that blocking exchanges, which wait
// on the test's thread, are answered too.
class ScriptedServer final
{
public:
    struct Step
    {
        QByteArray reply;
        int delayMs = 0;         // from the command's line feed (or the connection) to the reply
        int holdMs = 0;          // after the reply: 0 closes at once, -1 keeps open until the peer closes
        bool waitForLine = true; // false: reply as soon as the connection is accepted

        static Step answer(const QByteArray& reply, int delayMs = 0);
        static Step closeWithoutReply();
        static Step holdOpen(const QByteArray& partialReply = QByteArray(), int holdMs = -1);
    };

    ScriptedServer();
    explicit ScriptedServer(const QList<Step>& script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    quint16 port() const;
    // Replaces the script; the next connection takes its first step.
    void setScript(const QList<Step>& script);

    int connectionCount() const;
    // Every byte each connection sent, in the order of the connections.
    QList<QByteArray> received() const;
    // The command lines received, without their line feeds.
    QStringList commands() const;

    // A loopback port on which nothing listens (bound once, then released).
    static quint16 unusedPort();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
