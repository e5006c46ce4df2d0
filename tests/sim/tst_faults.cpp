#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>

namespace {
constexpr int frameBytes = 2 * 2 * 320 * 240; // distance and amplitude of the default ROI
const QByteArray frameCommand = "getDistanceAndAmplitudeSorted";
const QByteArray versionReply("\xD5\x52", 2); // 21205

struct Outcome
{
    QByteArray reply;
    bool completed = false;
    qint64 elapsedMs = 0;
};

Outcome run(const SimulatorProcess& sim, const QByteArray& command, int timeoutMs = 3000)
{
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    outcome.reply = sim.exchange(command, timeoutMs, &outcome.completed);
    outcome.elapsedMs = clock.elapsed();
    return outcome;
}

bool setFaults(const SimulatorProcess& sim, const QByteArray& faults)
{
    return sim.exchange("sim.fault " + faults).startsWith("OK");
}
} // namespace

class TestSimFaults final : public QObject
{
    Q_OBJECT

private slots:
    void eachFaultAlone_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<int>("minimumSize");
        QTest::addColumn<int>("maximumSize");
        QTest::addColumn<int>("minimumMs");

        QTest::addRow("delay") << QByteArray("delay=400") << QByteArray("version") << true << 2 << 2 << 380;
        QTest::addRow("hang") << QByteArray("hang") << QByteArray("version") << false << 0 << 0 << 0;
        QTest::addRow("close without reply") << QByteArray("close") << frameCommand << true << 0 << 0 << 0;
        QTest::addRow("partial frame")
            << QByteArray("partial") << frameCommand << true << frameBytes / 2 << frameBytes / 2 << 0;
        QTest::addRow("partial leaves short replies alone")
            << QByteArray("partial") << QByteArray("version") << true << 2 << 2 << 0;
        QTest::addRow("oversize frame")
            << QByteArray("oversize") << frameCommand << true << frameBytes + 2 << 2 * frameBytes << 0;
        QTest::addRow("garbage") << QByteArray("garbage") << QByteArray("version") << true << 3 << 100 << 0;
        QTest::addRow("reset mid-reply")
            << QByteArray("reset") << frameCommand << true << 0 << frameBytes - 1 << 0;
        QTest::addRow("delay and partial") << QByteArray("delay=300,partial") << frameCommand << true
                                           << frameBytes / 2 << frameBytes / 2 << 280;
    }

    void eachFaultAlone()
    {
        QFETCH(QByteArray, faults);
        QFETCH(QByteArray, command);
        QFETCH(bool, completed);
        QFETCH(int, minimumSize);
        QFETCH(int, maximumSize);
        QFETCH(int, minimumMs);

        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QVERIFY(setFaults(sim, faults));
        const Outcome outcome = run(sim, command, 1500);
        QCOMPARE(outcome.completed, completed);
        QVERIFY2(outcome.reply.size() >= minimumSize && outcome.reply.size() <= maximumSize,
                 qPrintable(QString::number(outcome.reply.size())));
        QVERIFY(outcome.elapsedMs >= minimumMs);
        if (faults == "garbage")
            QVERIFY(outcome.reply != versionReply);

        // Control commands are never affected, so the faults can be switched off again.
        QVERIFY(setFaults(sim, "none"));
        QCOMPARE(run(sim, "version").reply, versionReply);
        QCOMPARE(run(sim, frameCommand).reply.size(), frameBytes);
    }

    void everyNthExchange()
    {
        SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("every=3")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QList<bool> answered;
        for (int i = 0; i < 6; ++i)
            answered << (run(sim, "version").reply == versionReply);
        QCOMPARE(answered, (QList<bool>{true, true, false, true, true, false}));

        // Combined with another fault, only every Nth exchange misbehaves that way.
        QVERIFY(setFaults(sim, "every=2,partial"));
        QList<int> sizes;
        for (int i = 0; i < 4; ++i)
            sizes << run(sim, frameCommand).reply.size();
        QCOMPARE(sizes.count(frameBytes), 2);
        QCOMPARE(sizes.count(frameBytes / 2), 2);
    }

    void refuseConnectionsForAWhile()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QVERIFY(setFaults(sim, "refuse=1"));
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, sim.port());
        QVERIFY(!socket.waitForConnected(500) || socket.waitForDisconnected(500));
        QElapsedTimer clock;
        clock.start();
        bool answered = false;
        while (!answered && clock.elapsed() < 5000) {
            answered = run(sim, "version", 300).reply == versionReply;
            if (!answered)
                QTest::qWait(100);
        }
        QVERIFY(answered);
    }

    void faultsFromTheCommandLine()
    {
        SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("close")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        const Outcome outcome = run(sim, "version");
        QVERIFY(outcome.completed);
        QCOMPARE(outcome.reply, QByteArray());
        QCOMPARE(sim.exchange("sim.fault"), QByteArray("close\n"));
        QVERIFY(sim.exchange("sim.fault bogus").startsWith("ERROR"));
        QCOMPARE(sim.exchange("sim.fault"), QByteArray("close\n"));
    }

    void badFaultOptionIsRejected()
    {
        SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("delay=x")});
        QVERIFY(!sim.isRunning());
    }
};

KESTRANE_TEST_MAIN(TestSimFaults)
#include "tst_faults.moc"
