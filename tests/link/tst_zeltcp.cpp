#include "link/ZelTcp.h"
#include "settings/SettingsSocket.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include <cstring>

using Step = ScriptedServer::Step;

namespace {
// Records the replies handed out by reference (QSignalSpy cannot take QByteArray&) and checks
// that listeners get the channel's own buffer, not a copy.
class ReplySpy final
{
public:
    ReplySpy(ZelTcp* tcp, void (ZelTcp::*signal)(QByteArray&))
    {
        QObject::connect(tcp, signal, &context, [this, tcp](QByteArray& reply) {
            replies.append(reply);
            sameBuffer = sameBuffer && &reply == &tcp->response();
        });
    }
    int count() const { return replies.size(); }
    QByteArray reply(int i) const { return replies.at(i); }
    bool handedTheBuffer() const { return sameBuffer; }

private:
    QObject context;
    QList<QByteArray> replies;
    bool sameBuffer = true;
};
} // namespace

class TestZelTcp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandGoesOnTheWireExactly_data();
    void commandGoesOnTheWireExactly();
    void replyIsDecodedLittleEndian_data();
    void replyIsDecodedLittleEndian();
    void emptyReplyIsASuccess();
    void unreachableServerLeavesThePreviousReply();
    void unreachableServerFailsTheEventDrivenExchange();
    void heldOpenConnectionTruncatesTheBlockingReply();
    void heldOpenConnectionFailsTheEventDrivenExchange();
    void addressChangeTakesEffectForTheNextExchange();
    void addressChangeLeavesTheExchangeInFlightAlone();
    void exchangeAfterATimeOutIsReportedOnce();
    void busyLoopDoesNotCountAgainstTheCamera();
    void secondStartWhileInFlightReportsOnce();
    void replyBeyondTheCap_data();
    void replyBeyondTheCap();
    void closeAfterWaitLetsTheExchangeFinish();
    void closeAfterWaitGivesUpSilently();

private:
    SettingsSocket* settings = nullptr;
    ZelTcp* tcp = nullptr;
};

void TestZelTcp::init()
{
    settings = new SettingsSocket;
    settings->setIp(QStringLiteral("127.0.0.1"));
    tcp = new ZelTcp(settings);
}

void TestZelTcp::cleanup()
{
    delete tcp;
    delete settings;
}

void TestZelTcp::commandGoesOnTheWireExactly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<bool>("blocking");
    for (bool blocking : {true, false}) {
        const char* kind = blocking ? "blocking" : "event-driven";
        QTest::addRow("%s: keyword only", kind)
            << QStringLiteral("version") << QByteArray("version\n") << blocking;
        QTest::addRow("%s: keyword and argument", kind)
            << QStringLiteral("setIntegrationTime3D 500") << QByteArray("setIntegrationTime3D 500\n")
            << blocking;
        QTest::addRow("%s: register write", kind)
            << QStringLiteral("w 11 FA") << QByteArray("w 11 FA\n") << blocking;
        QTest::addRow("%s: cut at the NUL", kind)
            << QString::fromLatin1("ver\0sion", 8) << QByteArray("ver\n") << blocking;
        QTest::addRow("%s: leading NUL", kind)
            << QString::fromLatin1("\0version", 8) << QByteArray("\n") << blocking;
        QTest::addRow("%s: UTF-8 text", kind)
            << QString::fromUtf8("echo \xc3\xa4") << QByteArray("echo \xc3\xa4\n") << blocking;
    }
}

void TestZelTcp::commandGoesOnTheWireExactly()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, wire);
    QFETCH(bool, blocking);
    ScriptedServer server({Step::answer("ok")});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);

    tcp->setCommand(command);
    if (blocking) {
        QVERIFY(tcp->sendCommand(2000));
    } else {
        QVERIFY(tcp->startCommand(2000));
        QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    }
    QCOMPARE(tcp->response(), QByteArray("ok"));
    QCOMPARE(server.received(), QList<QByteArray>{wire});
}

void TestZelTcp::replyIsDecodedLittleEndian_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("int16");
    QTest::addColumn<double>("doubleValue");

    QByteArray speed(8, '\0');
    qToLittleEndian<double>(150000000.0, speed.data());
    QByteArray negative(8, '\0');
    qToLittleEndian<double>(-1.5, negative.data());

    QTest::addRow("-1") << QByteArray("\xff\xff", 2) << -1 << 0.0;
    QTest::addRow("0x1234") << QByteArray("\x34\x12", 2) << 0x1234 << 0.0;
    QTest::addRow("most negative") << QByteArray("\x00\x80", 2) << -32768 << 0.0;
    QTest::addRow("empty") << QByteArray() << 0 << 0.0;
    QTest::addRow("one byte") << QByteArray("\x07", 1) << 0 << 0.0;
    QTest::addRow("odd length reads the first two") << QByteArray("\x01\x00\x77", 3) << 1 << 0.0;
    QTest::addRow("speed of light") << speed << static_cast<int>(qFromLittleEndian<qint16>(speed.constData()))
                                    << 150000000.0;
    QTest::addRow("negative double with a tail")
        << (negative + QByteArray("xyz")) << static_cast<int>(qFromLittleEndian<qint16>(negative.constData()))
        << -1.5;
    QTest::addRow("seven bytes are no double") << QByteArray(speed.left(7)) << 0 << 0.0;
}

void TestZelTcp::replyIsDecodedLittleEndian()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, int16);
    QFETCH(double, doubleValue);
    ScriptedServer server({Step::answer(reply)});
    settings->setPort(server.port());
    ReplySpy finishedCommand(tcp, &ZelTcp::finishedCommand);

    tcp->setCommand(QStringLiteral("version"));
    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(tcp->response(), reply);
    QCOMPARE(static_cast<int>(tcp->responseInt16()), int16);
    QCOMPARE(tcp->responseDouble(), doubleValue);
    // The signal hands over the reply buffer itself.
    QCOMPARE(finishedCommand.count(), 1);
    QCOMPARE(finishedCommand.reply(0), reply);
    QVERIFY(finishedCommand.handedTheBuffer());
}

void TestZelTcp::emptyReplyIsASuccess()
{
    ScriptedServer server({Step::closeWithoutReply()});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);

    tcp->setCommand(QStringLiteral("setIntegrationTime3D 500"));
    QVERIFY(tcp->sendCommand(2000));
    QVERIFY(tcp->response().isEmpty());
    QCOMPARE(tcp->responseInt16(), qint16(0));

    tcp->startCommand(2000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    QVERIFY(finishedData.reply(0).isEmpty());
    QVERIFY(finishedData.handedTheBuffer());
    QCOMPARE(failed.count(), 0);
}

void TestZelTcp::unreachableServerLeavesThePreviousReply()
{
    ScriptedServer server({Step::answer("\x34\x12")});
    settings->setPort(server.port());
    tcp->setCommand(QStringLiteral("version"));
    QVERIFY(tcp->sendCommand(2000));

    ReplySpy finishedCommand(tcp, &ZelTcp::finishedCommand);
    settings->setPort(ScriptedServer::unusedPort());
    tcp->setCommand(QStringLiteral("getIcVersion"));
    QVERIFY(!tcp->sendCommand(100));
    QCOMPARE(tcp->response(), QByteArray("\x34\x12"));
    QCOMPARE(tcp->responseInt16(), qint16(0x1234));
    QCOMPARE(finishedCommand.count(), 0);
}

void TestZelTcp::unreachableServerFailsTheEventDrivenExchange()
{
    settings->setPort(ScriptedServer::unusedPort());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getBWSorted"));
    QVERIFY(tcp->startCommand(200));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
    QCOMPARE(finishedData.count(), 0);
}

void TestZelTcp::heldOpenConnectionTruncatesTheBlockingReply()
{
    ScriptedServer server({Step::holdOpen("part")});
    settings->setPort(server.port());
    ReplySpy finishedCommand(tcp, &ZelTcp::finishedCommand);
    tcp->setCommand(QStringLiteral("getPartVersion"));
    QVERIFY(tcp->sendCommand(300));
    QCOMPARE(tcp->response(), QByteArray("part"));
    QCOMPARE(finishedCommand.count(), 1);
    QCOMPARE(server.commands(), QStringList{QStringLiteral("getPartVersion")});
}

void TestZelTcp::heldOpenConnectionFailsTheEventDrivenExchange()
{
    ScriptedServer server({Step::holdOpen("partial frame")});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getDistanceAndAmplitudeSorted"));
    tcp->startCommand(300);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
    // The timer keeps running, but nothing is connected to it any more.
    QTest::qWait(700);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(finishedData.count(), 0);
}

void TestZelTcp::addressChangeTakesEffectForTheNextExchange()
{
    ScriptedServer first({Step::answer("first")});
    ScriptedServer second({Step::answer("second")});
    settings->setPort(first.port());
    tcp->setCommand(QStringLiteral("version"));
    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(tcp->response(), QByteArray("first"));

    settings->setPort(second.port());
    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(tcp->response(), QByteArray("second"));
    QCOMPARE(first.connectionCount(), 1);
    QCOMPARE(second.connectionCount(), 1);

    // An address nobody serves, then back: the IP follows as the port does.
    settings->setIp(QStringLiteral("127.0.0.2"));
    settings->setPort(ScriptedServer::unusedPort());
    QVERIFY(!tcp->sendCommand(100));
    settings->setIp(QStringLiteral("127.0.0.1"));
    settings->setPort(first.port());
    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(first.connectionCount(), 2);
}

void TestZelTcp::addressChangeLeavesTheExchangeInFlightAlone()
{
    ScriptedServer first({Step::answer("slow frame", 200)});
    ScriptedServer second({Step::answer("other")});
    settings->setPort(first.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    tcp->setCommand(QStringLiteral("getBWSorted"));
    tcp->startCommand(3000);
    QTRY_COMPARE_WITH_TIMEOUT(first.connectionCount(), 1, 3000);
    settings->setPort(second.port());
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    QCOMPARE(finishedData.reply(0), QByteArray("slow frame"));
    QCOMPARE(second.connectionCount(), 0);

    tcp->startCommand(3000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 2, 3000);
    QCOMPARE(tcp->response(), QByteArray("other"));
}

void TestZelTcp::exchangeAfterATimeOutIsReportedOnce()
{
    ScriptedServer server({Step::holdOpen("stale"), Step::answer("fresh")});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getDCSSorted"));
    tcp->startCommand(200);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);

    tcp->startCommand(2000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    QCOMPARE(finishedData.reply(0), QByteArray("fresh"));
    QTest::qWait(300);
    QCOMPARE(finishedData.count(), 1);
    QCOMPARE(failed.count(), 1);

    // A blocking exchange afterwards does not drive the event-driven slots either.
    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(tcp->response(), QByteArray("fresh"));
    QCOMPARE(finishedData.count(), 1);
    QCOMPARE(server.commands(), (QStringList{QStringLiteral("getDCSSorted"), QStringLiteral("getDCSSorted"),
                                             QStringLiteral("getDCSSorted")}));
}

// The client's own event loop may be blocked for longer than the time-out right after the
// request (a first paint of a large window): the camera answering at once is no failure.
void TestZelTcp::busyLoopDoesNotCountAgainstTheCamera()
{
    ScriptedServer server({Step::answer("frame")});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getBWSorted"));
    tcp->startCommand(200);
    QThread::msleep(500);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    QCOMPARE(finishedData.reply(0), QByteArray("frame"));
    QTest::qWait(300);
    QCOMPARE(failed.count(), 0);
}

void TestZelTcp::secondStartWhileInFlightReportsOnce()
{
    ScriptedServer server({Step::answer("frame", 200)});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getAmplitudeSorted"));
    tcp->startCommand(2000);
    tcp->startCommand(2000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), 1, 3000);
    QTest::qWait(300);
    QCOMPARE(finishedData.count(), 1);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(tcp->response(), QByteArray("frame"));
    QCOMPARE(server.connectionCount(), 1);
}

void TestZelTcp::replyBeyondTheCap_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("blocking");
    QTest::addColumn<bool>("delivered");
    QTest::addRow("blocking, exactly the cap") << ZelTcp::maxReplySize << true << true;
    QTest::addRow("blocking, beyond the cap") << ZelTcp::maxReplySize + 4096 << true << true;
    QTest::addRow("event-driven, exactly the cap") << ZelTcp::maxReplySize << false << true;
    QTest::addRow("event-driven, beyond the cap") << ZelTcp::maxReplySize + 4096 << false << false;
}

void TestZelTcp::replyBeyondTheCap()
{
    QFETCH(int, size);
    QFETCH(bool, blocking);
    QFETCH(bool, delivered);
    QByteArray reply(size, '\0');
    for (int i = 0; i < size; ++i)
        reply[i] = static_cast<char>(i * 7);
    // The server closes after the whole reply: only the cap can turn it into a failure.
    ScriptedServer server({Step::answer(reply)});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getDCSTOFAndGrayscaleSorted"));

    if (blocking) {
        QVERIFY(tcp->sendCommand(20000));
        QCOMPARE(tcp->response().size(), ZelTcp::maxReplySize);
        QVERIFY(std::memcmp(tcp->response().constData(), reply.constData(), ZelTcp::maxReplySize) == 0);
        return;
    }
    tcp->startCommand(20000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count() + failed.count(), 1, 25000);
    QCOMPARE(finishedData.count(), delivered ? 1 : 0);
    if (delivered)
        QVERIFY(tcp->response() == reply);
    QVERIFY(tcp->response().size() <= ZelTcp::maxReplySize);

    // The channel is usable again at once.
    server.setScript({Step::answer("next")});
    tcp->startCommand(2000);
    QTRY_COMPARE_WITH_TIMEOUT(finishedData.count(), delivered ? 2 : 1, 3000);
    QCOMPARE(tcp->response(), QByteArray("next"));
}

void TestZelTcp::closeAfterWaitLetsTheExchangeFinish()
{
    ScriptedServer server({Step::answer("late frame", 150)});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    tcp->setCommand(QStringLiteral("getBWSorted"));
    tcp->startCommand(3000);
    QTRY_COMPARE_WITH_TIMEOUT(server.connectionCount(), 1, 3000);
    tcp->closeAfterWait(3000);
    QCOMPARE(finishedData.count(), 1);
    QCOMPARE(tcp->response(), QByteArray("late frame"));
}

void TestZelTcp::closeAfterWaitGivesUpSilently()
{
    ScriptedServer server({Step::holdOpen("half a frame"), Step::answer("whole")});
    settings->setPort(server.port());
    ReplySpy finishedData(tcp, &ZelTcp::finishedData);
    QSignalSpy failed(tcp, &ZelTcp::failed);
    tcp->setCommand(QStringLiteral("getBWSorted"));
    tcp->startCommand(400);
    QTRY_COMPARE_WITH_TIMEOUT(server.connectionCount(), 1, 3000);
    tcp->closeAfterWait(200);
    // An abandoned frame is neither delivered as finished nor reported later as failed.
    QTest::qWait(600);
    QCOMPARE(finishedData.count(), 0);
    QCOMPARE(failed.count(), 0);

    QVERIFY(tcp->sendCommand(2000));
    QCOMPARE(tcp->response(), QByteArray("whole"));
    QCOMPARE(finishedData.count(), 0);
}

KESTRANE_TEST_MAIN(TestZelTcp)
#include "tst_zeltcp.moc"
