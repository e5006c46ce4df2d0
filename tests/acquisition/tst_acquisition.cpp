#include "acquisition/Controller.h"
#include "acquisition/ControllerPicture.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QtTest>

namespace {

QByteArray int16Words(const QVector<int>& values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(v & 0xff));
        bytes.append(char((v >> 8) & 0xff));
    }
    return bytes;
}

// Records what the picture controller hands over, by size (the reply buffer itself belongs
// to the channel and changes with the next exchange).
struct PictureLog
{
    QVector<int> sizes;
    QVector<QByteArray> firstBytes;
};

} // namespace

class TestAcquisition : public QObject
{
    Q_OBJECT

private slots:
    void pictureTimeout_data();
    void pictureTimeout();
    void pictureFromTheSimulator();
    void replyIsTheChannelsBuffer();
    void temperaturePollAfterEachFrame_data();
    void temperaturePollAfterEachFrame();
    void unansweredTemperatureLeavesTheNextFrameAlone();
    void nextRequestFromInsideTheHandOver();
    void pausedDropsTheFrameInFlight();
    void failureRelay();
    void pauseWhenNotStreaming();
    void pauseWhileStreaming();
    void readOffset();
    void resumeRestartsVideoAndUnlocks();
};

void TestAcquisition::pictureTimeout_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("flimChip");
    QTest::addColumn<int>("time2D");
    QTest::addColumn<int>("time3D");
    QTest::addColumn<int>("expected");

    QTest::addRow("grayscale 15000 us") << 0 << false << 15000 << 700 << 515;
    QTest::addRow("grayscale truncates") << 0 << false << 1999 << 700 << 501;
    QTest::addRow("distance 1800 us") << 1 << false << 15000 << 1800 << 1007;
    QTest::addRow("DCS uses the distance formula") << 6 << false << 0 << 700 << 1002;
    QTest::addRow("TOF HDR uses the distance formula") << 9 << false << 0 << 2000 << 1008;
    QTest::addRow("FLIM chip") << 10 << true << 0 << 700 << 500;
    QTest::addRow("grayscale on a FLIM chip") << 0 << true << 15000 << 700 << 515;
}

void TestAcquisition::pictureTimeout()
{
    QFETCH(int, mode);
    QFETCH(bool, flimChip);
    QFETCH(int, time2D);
    QFETCH(int, time3D);
    QFETCH(int, expected);

    Settings settings;
    ZelTcp tcp(settings.socket());
    settings.setModeIndex(mode);
    settings.integrationTime()->setIntegrationTime2D(time2D);
    settings.integrationTime()->setIntegrationTime3D(time3D);
    settings.flim()->setFlimChip(flimChip);
    // The FLIM example: 15.5 steps x 1000 repetitions x 2.5 ns, plus 500 ms.
    settings.flim()->setStep(2.5);
    settings.flim()->setMgaDelay(2);
    settings.flim()->setMgaWidth(1);
    settings.flim()->setMgbDelay(2);
    settings.flim()->setMgbWidth(4);
    settings.flim()->setRepetitionTime(6);
    settings.flim()->setRepetitions(1000);
    ControllerPicture picture(&settings, &tcp);
    QCOMPARE(picture.pictureTimeout(), expected);
}

void TestAcquisition::pictureFromTheSimulator()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(sim.port());
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    PictureLog log;
    connect(&picture, &ControllerPicture::pictureReady, this,
            [&log](QByteArray& data) { log.sizes << data.size(); });

    picture.requestPicture(QStringLiteral("getDistanceAndAmplitudeSorted"));
    QCOMPARE(picture.currentTimeout(), 700 / 250 + 1000);
    QTRY_COMPARE_WITH_TIMEOUT(log.sizes.size(), 1, 5000);
    // The simulator's default ROI is the 320 x 240 one: a distance and an amplitude image.
    QCOMPARE(log.sizes.first(), 2 * 2 * 320 * 240);
}

void TestAcquisition::replyIsTheChannelsBuffer()
{
    ScriptedServer server({ScriptedServer::Step::answer(QByteArrayLiteral("frame"))});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    const char* handedOver = nullptr;
    connect(&picture, &ControllerPicture::pictureReady, this,
            [&handedOver](QByteArray& data) { handedOver = data.constData(); });
    picture.requestPicture(QStringLiteral("getBWSorted"));
    QTRY_VERIFY_WITH_TIMEOUT(handedOver != nullptr, 5000);
    QCOMPARE(handedOver, tcp.response().constData());
    QCOMPARE(server.commands(), QStringList{QStringLiteral("getBWSorted")});
}

void TestAcquisition::temperaturePollAfterEachFrame_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QVector<int>>("expected");

    QTest::addRow("plain") << int16Words({250, 251, 252, 253, 300, 301})
                           << QVector<int>{250, 251, 252, 253, 300, 301};
    QTest::addRow("clamped above 2047, negatives kept")
        << int16Words({2048, 32767, -5, 2047, 0, -32768}) << QVector<int>{2047, 2047, -5, 2047, 0, -32768};
    QTest::addRow("short reply reads zeros")
        << int16Words({100, 101}) + QByteArray(1, char(7)) << QVector<int>{100, 101, 0, 0, 0, 0};
}

void TestAcquisition::temperaturePollAfterEachFrame()
{
    QFETCH(QByteArray, reply);
    QFETCH(QVector<int>, expected);

    ScriptedServer server(
        {ScriptedServer::Step::answer(QByteArrayLiteral("picture")), ScriptedServer::Step::answer(reply)});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    settings.setTemperaturePolling(true);
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    QSignalSpy ready(&tcp, &ZelTcp::ready);
    QSignalSpy temperatures(&settings, &Settings::temperaturesChanged);
    int pictures = 0;
    connect(&picture, &ControllerPicture::pictureReady, this, [&pictures](QByteArray&) { ++pictures; });

    picture.requestPicture(QStringLiteral("getDistanceAndAmplitudeSorted"));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 5000);
    QCOMPARE(pictures, 1);
    QCOMPARE(temperatures.count(), 1);
    QCOMPARE(settings.temperatures(), expected);
    QCOMPARE(server.commands(), (QStringList{QStringLiteral("getDistanceAndAmplitudeSorted"),
                                             QStringLiteral("getTemperature")}));
}

// A temperature poll that times out must not take the next frame's reply for temperatures.
void TestAcquisition::unansweredTemperatureLeavesTheNextFrameAlone()
{
    const QByteArray temperatureReply = int16Words({250, 251, 252, 253, 300, 301});
    ScriptedServer server({ScriptedServer::Step::answer(QByteArrayLiteral("first picture")),
                           ScriptedServer::Step::holdOpen(),
                           ScriptedServer::Step::answer(QByteArrayLiteral("second picture")),
                           ScriptedServer::Step::answer(temperatureReply)});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    settings.setTemperaturePolling(true);
    settings.integrationTime()->setIntegrationTime3D(0); // a time-out of 1000 ms
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    QSignalSpy ready(&tcp, &ZelTcp::ready);
    QSignalSpy temperatures(&settings, &Settings::temperaturesChanged);
    QList<QByteArray> pictures;
    connect(&picture, &ControllerPicture::pictureReady, this,
            [&pictures](QByteArray& reply) { pictures.append(reply); });
    // The failed poll makes the view ask for the next frame, as the live loop does.
    connect(&tcp, &ZelTcp::failed, this,
            [&picture] { picture.requestPicture(QStringLiteral("getDistanceAndAmplitudeSorted")); });

    picture.requestPicture(QStringLiteral("getDistanceAndAmplitudeSorted"));
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);
    QCOMPARE(pictures, (QList<QByteArray>{"first picture", "second picture"}));
    QCOMPARE(temperatures.count(), 1);
    QCOMPARE(settings.temperatures(), (QVector<int>{250, 251, 252, 253, 300, 301}));
}

// The view asks for the next frame from inside the hand-over, as the live loop does: each
// reply must reach the view exactly once.
void TestAcquisition::nextRequestFromInsideTheHandOver()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(sim.port());
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    int handOvers = 0;
    connect(&picture, &ControllerPicture::pictureReady, this, [&](QByteArray&) {
        if (++handOvers < 5)
            picture.requestPicture(QStringLiteral("getAmplitudeSorted"));
    });
    picture.requestPicture(QStringLiteral("getAmplitudeSorted"));
    QTRY_COMPARE_WITH_TIMEOUT(handOvers, 5, 10000);
    QTest::qWait(300);
    QCOMPARE(handOvers, 5);
}

void TestAcquisition::pausedDropsTheFrameInFlight()
{
    ScriptedServer server({ScriptedServer::Step::answer(QByteArrayLiteral("late frame"), 300)});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    int pictures = 0;
    connect(&picture, &ControllerPicture::pictureReady, this, [&pictures](QByteArray&) { ++pictures; });
    picture.requestPicture(QStringLiteral("getBWSorted"));
    settings.pauseAcquisition();
    QTest::qWait(700);
    QCOMPARE(pictures, 0);
}

void TestAcquisition::failureRelay()
{
    Settings settings;
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    QSignalSpy failed(&picture, &ControllerPicture::failed);
    // Nothing connects the channel's failure to the relay: a channel failure alone is silent.
    emit tcp.failed();
    QCOMPARE(failed.count(), 0);
    picture.onFailed();
    QCOMPARE(failed.count(), 1);
}

void TestAcquisition::pauseWhenNotStreaming()
{
    Settings settings;
    ZelTcp tcp(settings.socket());
    Controller controller(&settings, &tcp);
    QSignalSpy paused(&controller, &Controller::videoPaused);
    QSignalSpy pauseRequested(&settings, &Settings::pauseRequested);
    controller.requestPause();
    QCOMPARE(paused.count(), 1);
    QCOMPARE(pauseRequested.count(), 0);
}

void TestAcquisition::pauseWhileStreaming()
{
    ScriptedServer server({ScriptedServer::Step::holdOpen(QByteArrayLiteral("part of a frame"))});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    ZelTcp tcp(settings.socket());
    ControllerPicture picture(&settings, &tcp);
    Controller controller(&settings, &tcp);
    int pictures = 0;
    connect(&picture, &ControllerPicture::pictureReady, this, [&pictures](QByteArray&) { ++pictures; });
    // The view panel answers pauseRequested() by pausing the acquisition.
    connect(&settings, &Settings::pauseRequested, &settings, &Settings::pauseAcquisition);

    settings.startAcquisition();
    picture.requestPicture(QStringLiteral("getDistanceAndAmplitudeSorted"));
    QTRY_COMPARE_WITH_TIMEOUT(server.connectionCount(), 1, 5000);
    QSignalSpy paused(&controller, &Controller::videoPaused);
    QElapsedTimer clock;
    clock.start();
    controller.requestPause();
    // The frame that never ends is given up to 5 s, then aborted; it is never shown.
    QCOMPARE(paused.count(), 1);
    QVERIFY(clock.elapsed() >= 4000);
    QVERIFY(!settings.videoActive());
    QVERIFY(settings.running());
    QTest::qWait(100);
    QCOMPARE(pictures, 0);
    // A second pause request connects nothing twice.
    settings.startAcquisition();
    controller.requestPause();
    QCOMPARE(paused.count(), 2);
}

void TestAcquisition::readOffset()
{
    ScriptedServer server({ScriptedServer::Step::answer(int16Words({-123}))});
    Settings settings;
    settings.socket()->setIp(QStringLiteral("127.0.0.1"));
    settings.socket()->setPort(server.port());
    ZelTcp tcp(settings.socket());
    Controller controller(&settings, &tcp);

    settings.startAcquisition();
    QVERIFY(!controller.readOffset());
    QCOMPARE(server.connectionCount(), 0);

    settings.stopAcquisition();
    settings.pauseAcquisition();
    QVERIFY(controller.readOffset());
    QCOMPARE(settings.settings3D()->automaticOffset(), -123);
    QCOMPARE(server.commands(), QStringList{QStringLiteral("getOffset")});

    // An unreachable camera leaves the known offset, whatever the reply buffer still holds.
    tcp.response() = int16Words({999});
    settings.socket()->setPort(ScriptedServer::unusedPort());
    QVERIFY(controller.readOffset());
    QCOMPARE(settings.settings3D()->automaticOffset(), -123);
}

void TestAcquisition::resumeRestartsVideoAndUnlocks()
{
    Settings settings;
    ZelTcp tcp(settings.socket());
    Controller controller(&settings, &tcp);
    settings.setReadOffsetOnResume(false);

    QStringList order;
    connect(&settings, &Settings::started, this, [&order] { order << QStringLiteral("started"); });
    connect(&settings, &Settings::fieldsLocked, this,
            [&order](bool state) { order << QStringLiteral("locked %1").arg(state); });

    // Stopped: nothing restarts, the panels unlock.
    controller.resume();
    QCOMPARE(order, QStringList{QStringLiteral("locked 0")});

    // Paused for a command: video restarts, then the panels unlock.
    order.clear();
    settings.startAcquisition();
    settings.pauseAcquisition();
    order.clear();
    controller.resume();
    QCOMPARE(order, (QStringList{QStringLiteral("started"), QStringLiteral("locked 0")}));
    QVERIFY(settings.videoActive());
}

KESTRANE_TEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
