// The client's own command channel against the simulator: the start-up sequence with the
// client's time-outs for every chip model, frames as event-driven exchanges, and the fault
// modes as the channel sees them.
#include "link/ZelTcp.h"
#include "settings/SettingsSocket.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QObject>
#include <QSignalSpy>

class TestSimClientChannel final : public QObject
{
    Q_OBJECT

private:
    static bool send(ZelTcp& tcp, const QString& command, int timeoutMs)
    {
        tcp.setCommand(command);
        return tcp.sendCommand(timeoutMs);
    }

private slots:
    void startupSequence_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("chipType");
        QTest::addColumn<bool>("flim");
        QTest::addRow("zc320") << "zc320" << 2 << false;
        QTest::addRow("zc310") << "zc310" << 4 << false;
        QTest::addRow("zc210") << "zc210" << 3 << true;
        QTest::addRow("zc220") << "zc220" << 5 << true;
    }

    // The client waits 100 ms for most of these; the test allows more so that a loaded
    // machine does not make it fail (speed is the benchmarks' business).
    void startupSequence()
    {
        QFETCH(QString, chip);
        QFETCH(int, chipType);
        QFETCH(bool, flim);
        SimulatorProcess sim({QStringLiteral("--chip"), chip});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        SettingsSocket socket;
        socket.setIp(QStringLiteral("127.0.0.1"));
        socket.setPort(sim.port());
        ZelTcp tcp(&socket);
        const int slow = 2000;

        QVERIFY(send(tcp, QStringLiteral("version"), slow));
        const auto version = static_cast<quint16>(tcp.responseInt16());
        QVERIFY(version >= 20000 && version <= 29999 && (version / 100) % 100 == 12);
        QVERIFY(send(tcp, QStringLiteral("getIcVersion"), slow));
        QVERIFY(send(tcp, QStringLiteral("getModulationFrequencies"), slow));
        const int frequencies = tcp.response().size() / 4;
        QCOMPARE(frequencies, 8);
        for (int i = 0; i < frequencies; ++i)
            QVERIFY(send(tcp, QStringLiteral("getCalibrationTypeForFreqIdx ") + QString::number(i), slow));
        QCOMPARE(tcp.responseInt16(), qint16(2));
        QVERIFY(send(tcp, QStringLiteral("w 11 FA"), slow));
        QVERIFY(send(tcp, QStringLiteral("r 12"), slow));
        QCOMPARE(tcp.responseInt16(), static_cast<qint16>(chipType));
        QVERIFY(send(tcp, QStringLiteral("getPartVersion"), 5000));
        QVERIFY(tcp.responseInt16() > 5);
        if (flim) {
            QVERIFY(send(tcp, QStringLiteral("FLIMGetStep"), slow));
            QVERIFY(tcp.responseInt16() > 0);
        }
        QVERIFY(send(tcp, QStringLiteral("getOffset"), slow));
        QVERIFY(send(tcp, QStringLiteral("setImageAveraging 0"), slow));
        QVERIFY(send(tcp, QStringLiteral("getSpeedOfLight"), 5000));
        QCOMPARE(tcp.responseDouble(), 150000000.0);
    }

    void framesAsEventDrivenExchanges()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        SettingsSocket socket;
        socket.setIp(QStringLiteral("127.0.0.1"));
        socket.setPort(sim.port());
        ZelTcp tcp(&socket);
        int finished = 0;
        int size = 0;
        connect(&tcp, &ZelTcp::finishedData, this, [&](QByteArray& data) {
            ++finished;
            size = data.size();
        });
        QSignalSpy failed(&tcp, &ZelTcp::failed);
        for (int frame = 1; frame <= 3; ++frame) {
            tcp.setCommand(QStringLiteral("getDistanceAndAmplitudeSorted"));
            QVERIFY(tcp.startCommand(1000 + 700 / 250));
            QTRY_COMPARE_WITH_TIMEOUT(finished, frame, 5000);
            QCOMPARE(size, 2 * 2 * 320 * 240);
        }
        QCOMPARE(failed.count(), 0);
    }

    void faultsAsTheChannelSeesThem()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        SettingsSocket socket;
        socket.setIp(QStringLiteral("127.0.0.1"));
        socket.setPort(sim.port());
        ZelTcp tcp(&socket);

        // Closing at once without a reply is a successful exchange with an empty reply.
        QVERIFY(sim.exchange("sim.fault close").startsWith("OK"));
        QVERIFY(send(tcp, QStringLiteral("setIntegrationTime3D 500"), 100));
        QCOMPARE(tcp.response().size(), 0);

        // A server that never closes makes a frame request fail after its time-out.
        QVERIFY(sim.exchange("sim.fault hang").startsWith("OK"));
        QSignalSpy failed(&tcp, &ZelTcp::failed);
        tcp.setCommand(QStringLiteral("getDistanceAndAmplitudeSorted"));
        QVERIFY(tcp.startCommand(300));
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 5000);
        tcp.closeAfterWait(500);

        // A reply later than the time-out is not seen; within it, it is.
        QVERIFY(sim.exchange("sim.fault delay=300").startsWith("OK"));
        send(tcp, QStringLiteral("version"), 100);
        QCOMPARE(tcp.response().size(), 0);
        QVERIFY(send(tcp, QStringLiteral("version"), 2000));
        QCOMPARE(tcp.responseInt16(), qint16(21205));

        QVERIFY(sim.exchange("sim.fault partial").startsWith("OK"));
        QVERIFY(send(tcp, QStringLiteral("getBWSorted"), 2000));
        QCOMPARE(tcp.response().size(), 320 * 240);

        QVERIFY(sim.exchange("sim.fault none").startsWith("OK"));
        QVERIFY(send(tcp, QStringLiteral("getBWSorted"), 2000));
        QCOMPARE(tcp.response().size(), 2 * 320 * 240);
    }
};

KESTRANE_TEST_MAIN(TestSimClientChannel)
#include "tst_clientchannel.moc"
