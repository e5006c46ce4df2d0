#include "support/ScriptedServer.h"

#include <QHostAddress>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

ScriptedServer::Step ScriptedServer::Step::answer(const QByteArray& reply, int delayMs)
{
    Step step;
    step.reply = reply;
    step.delayMs = delayMs;
    return step;
}

ScriptedServer::Step ScriptedServer::Step::closeWithoutReply()
{
    return Step();
}

ScriptedServer::Step ScriptedServer::Step::holdOpen(const QByteArray& partialReply, int holdMs)
{
    Step step;
    step.reply = partialReply;
    step.holdMs = holdMs;
    return step;
}

struct ScriptedServer::Private
{
    QThread thread;
    QObject* context = nullptr; // lives in thread; owns the listening server and its sockets
    quint16 port = 0;

    mutable QMutex mutex;
    QList<Step> script;
    int nextStep = 0;
    QList<QByteArray> received;

    void accept(QTcpServer* server);
    static void answer(QTcpSocket* socket, const Step& step);
};

void ScriptedServer::Private::answer(QTcpSocket* socket, const Step& step)
{
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(step.delayMs, socket, [guarded, step]() {
        if (!guarded || guarded->state() != QAbstractSocket::ConnectedState)
            return;
        guarded->write(step.reply);
        if (step.holdMs == 0)
            guarded->disconnectFromHost();
        else if (step.holdMs > 0)
            QTimer::singleShot(step.holdMs, guarded, [guarded]() {
                if (guarded)
                    guarded->disconnectFromHost();
            });
    });
}

void ScriptedServer::Private::accept(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        Step step;
        int index = 0;
        {
            QMutexLocker lock(&mutex);
            index = received.size();
            received.append(QByteArray());
            if (!script.isEmpty())
                step = script.at(qMin(nextStep, script.size() - 1));
            ++nextStep;
        }
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto answered = std::make_shared<bool>(!step.waitForLine);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index, step, answered]() {
            const QByteArray bytes = socket->readAll();
            bool lineComplete = false;
            {
                QMutexLocker lock(&mutex);
                received[index].append(bytes);
                lineComplete = received.at(index).contains('\n');
            }
            if (lineComplete && !*answered) {
                *answered = true;
                answer(socket, step);
            }
        });
        if (!step.waitForLine)
            answer(socket, step);
    }
}

ScriptedServer::ScriptedServer() : d(std::make_unique<Private>())
{
    d->context = new QObject;
    d->context->moveToThread(&d->thread);
    QObject::connect(&d->thread, &QThread::finished, d->context, &QObject::deleteLater);
    d->thread.start();
    Private* p = d.get();
    QMetaObject::invokeMethod(
        d->context,
        [p]() {
            auto* server = new QTcpServer(p->context);
            QObject::connect(server, &QTcpServer::newConnection, server,
                             [p, server]() { p->accept(server); });
            if (server->listen(QHostAddress::LocalHost, 0))
                p->port = server->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

ScriptedServer::ScriptedServer(const QList<Step>& script) : ScriptedServer()
{
    setScript(script);
}

ScriptedServer::~ScriptedServer()
{
    d->thread.quit();
    d->thread.wait();
}

quint16 ScriptedServer::port() const
{
    return d->port;
}

void ScriptedServer::setScript(const QList<Step>& script)
{
    QMutexLocker lock(&d->mutex);
    d->script = script;
    d->nextStep = 0;
}

int ScriptedServer::connectionCount() const
{
    QMutexLocker lock(&d->mutex);
    return d->received.size();
}

QList<QByteArray> ScriptedServer::received() const
{
    QMutexLocker lock(&d->mutex);
    return d->received;
}

QStringList ScriptedServer::commands() const
{
    QStringList lines;
    const QList<QByteArray> all = received();
    for (const QByteArray& bytes : all) {
        const int end = bytes.indexOf('\n');
        if (end >= 0)
            lines.append(QString::fromUtf8(bytes.left(end)));
    }
    return lines;
}

quint16 ScriptedServer::unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
