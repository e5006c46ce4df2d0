#include "app/ApplicationContext.h"
#include "app/WidgetView.h"
#include "link/Commands.h"
#include "measurement/InfoDRNUCurve.h"
#include "service/ControllerCommands.h"
#include "service/DialogSystemInfo.h"
#include "service/WidgetCommands.h"
#include "support/CameraScript.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WindowDemo.h"
#include "widgets/DialogOK.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray doubleReply(double value)
{
    QByteArray out(8, '\0');
    qToLittleEndian(value, out.data());
    return out;
}

QByteArray drnuReply(int byteCount)
{
    QByteArray out;
    for (int i = 0; out.size() < byteCount; ++i)
        out.append(CameraScript::int16(qint16(i < 50 ? 300 : 437)));
    return out.left(byteCount);
}

// The simulator's count of frame requests.
int framesServed(const SimulatorProcess& sim)
{
    for (const QByteArray& line : sim.exchange("sim.state").split('\n'))
        if (line.startsWith("frame="))
            return line.mid(6).toInt();
    return -1;
}

// Answers the next modal DialogOK: records title and text, presses OK.
struct MessageAnswer : QObject
{
    QString title;
    QString text;
    int seen = 0;

    void arm()
    {
        QTimer::singleShot(20, this, [this] { answer(); });
    }
    void answer()
    {
        auto* dialog = qobject_cast<DialogOK*>(QApplication::activeModalWidget());
        if (!dialog) {
            arm();
            return;
        }
        ++seen;
        title = dialog->windowTitle();
        text = dialog->message();
        dialog->findChild<QToolButton*>(QStringLiteral("tbOK"))->click();
    }
};

// The console page on a context whose channel talks to `port` on loopback.
struct Console
{
    explicit Console(quint16 port)
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(port);
        settings()->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
        settings()->modulation()->setFrequencyIndex(0);
        page = std::make_unique<WidgetCommands>(&context);
    }
    Settings* settings() { return context.settings(); }
    template <typename T>
    T* child(const char* name) const
    {
        return page->findChild<T*>(QLatin1String(name));
    }
    QString type(const QString& text)
    {
        child<QLineEdit>("leCommand")->setText(text);
        QTest::keyClick(child<QLineEdit>("leCommand"), Qt::Key_Return);
        return response();
    }
    QString response() const { return child<QLineEdit>("leResponse")->text(); }
    QToolButton* send() const { return child<QToolButton>("pbExecuteCommand"); }

    ApplicationContext context;
    std::unique_ptr<WidgetCommands> page;
};

} // namespace

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void typedCommands_data();
    void typedCommands();
    void drnuWindow_data();
    void drnuWindow();
    void fixedActions_data();
    void fixedActions();
    void staleBufferIsNoAnswer();
    void calibrationSwitch();
    void longCommands_data();
    void longCommands();
    void badPixelSearchRestarts_data();
    void badPixelSearchRestarts();
    void longCommandDuringVideo();
};

void TestConsole::typedCommands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("response");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<double>("speedOfLight");

    const double initial = 149000000.0;
    QTest::addRow("two values in hexadecimal")
        << "getFoo" << bytes({0x05, 0x00, 0x34, 0x12}) << "05 1234 " << QStringList{"getFoo"} << initial;
    QTest::addRow("one value, two digits")
        << "r 12" << bytes({0x0A, 0x00}) << "0A " << QStringList{"r 12"} << initial;
    QTest::addRow("negative keeps its sign")
        << "x" << bytes({0xFE, 0xFF}) << "-02 " << QStringList{"x"} << initial;
    QTest::addRow("-1 anywhere is a failure")
        << "x" << bytes({0x01, 0x00, 0xFF, 0xFF}) << "operation failed..." << QStringList{"x"} << initial;
    QTest::addRow("empty reply, empty answer")
        << "w 11 FA" << QByteArray() << "" << QStringList{"w 11 FA"} << initial;
    QTest::addRow("trailing space is no bad-pixel search")
        << "searchBadPixels " << bytes({0x00, 0x00}) << "00 " << QStringList{"searchBadPixels "} << initial;
    QTest::addRow("fps on stays in the client")
        << "fps on" << QByteArray() << "frame rate enabled" << QStringList{} << initial;
    QTest::addRow("fps off") << "fps off" << QByteArray() << "frame rate disabled" << QStringList{}
                             << initial;
    QTest::addRow("set speed of light stores half")
        << "setSpeedOfLight 300000000" << QByteArray() << "speed of light"
        << QStringList{"setSpeedOfLight 300000000"} << 150000000.0;
    QTest::addRow("set speed of light without value")
        << "setSpeedOfLight" << QByteArray() << "operation failed..." << QStringList{} << initial;
    QTest::addRow("set speed of light 0")
        << "setSpeedOfLight 0" << QByteArray() << "operation failed..." << QStringList{} << initial;
    QTest::addRow("set speed of light as text")
        << "setSpeedOfLight fast" << QByteArray() << "operation failed..." << QStringList{} << initial;
    QTest::addRow("get speed of light") << "getSpeedOfLight" << doubleReply(149896229.0) << "149896229.0"
                                        << QStringList{"getSpeedOfLight"} << 149896229.0;
    QTest::addRow("short speed-of-light reply keeps the value")
        << "getSpeedOfLight" << bytes({0x01, 0x00}) << "149000000.0" << QStringList{"getSpeedOfLight"}
        << initial;
    QTest::addRow("zero speed of light keeps the value")
        << "getSpeedOfLight" << doubleReply(0.0) << "149000000.0" << QStringList{"getSpeedOfLight"}
        << initial;
    QTest::addRow("edge threshold stays in the client")
        << "setEdgeDiffLSB 42" << QByteArray() << "setEdgeDiffLSB 42" << QStringList{} << initial;
    QTest::addRow("edge threshold without value")
        << "setEdgeDiffLSB" << QByteArray() << "operation failed..." << QStringList{} << initial;
    QTest::addRow("hideDRNU stays in the client")
        << "hideDRNU" << QByteArray() << "hide" << QStringList{} << initial;
}

void TestConsole::typedCommands()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, reply);
    QFETCH(QString, response);
    QFETCH(QStringList, sent);
    QFETCH(double, speedOfLight);

    ScriptedServer server({ScriptedServer::Step::answer(reply)});
    Console console(server.port());
    console.settings()->setEdgeDetectionThreshold(7, false);
    console.settings()->setSpeedOfLight(149000000.0);
    console.settings()->setReadOffsetOnResume(false);

    QCOMPARE(console.type(text), response);
    QCOMPARE(server.commands(), sent);
    QCOMPARE(console.settings()->speedOfLight(), speedOfLight);
    QCOMPARE(console.settings()->edgeDetectionThreshold(false),
             text == QLatin1String("setEdgeDiffLSB 42") ? 42 : 7);
    QCOMPARE(console.settings()->showFrameRate(), text == QLatin1String("fps on"));
    // The send button is usable again, the field flashes yellow for 50 ms.
    QVERIFY(console.send()->isEnabled());
    QVERIFY(!console.send()->signalsBlocked());
    QVERIFY(console.child<QLineEdit>("leResponse")->styleSheet().contains(QLatin1String("255,255,106")));
    QTRY_VERIFY(console.child<QLineEdit>("leResponse")->styleSheet().contains(QLatin1String("255,255,255")));
}

void TestConsole::drnuWindow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("replyBytes");
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("firstMm");

    // 300 LSB at 10 MHz (unambiguous range 15000 mm) are 150 mm.
    QTest::addRow("full table") << "showDRNU" << 200 << "showDRNU" << 150;
    QTest::addRow("renew, full table") << "renewDRNU" << 200 << "DRNU average" << 150;
    QTest::addRow("cut-off table keeps the previous one") << "showDRNU" << 150 << "showDRNU" << 0;
    QTest::addRow("99 bytes keep the previous one") << "showDRNU" << 99 << "showDRNU" << 0;
}

void TestConsole::drnuWindow()
{
    QFETCH(QString, text);
    QFETCH(int, replyBytes);
    QFETCH(QString, response);
    QFETCH(int, firstMm);

    ScriptedServer server({ScriptedServer::Step::answer(drnuReply(replyBytes))});
    Console console(server.port());
    QCOMPARE(console.type(text), response);
    InfoDRNUCurve* window = console.page->drnuWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(int(window->values[0]), firstMm);
    QCOMPARE(int(window->values[50]), firstMm ? 437 : 0);
    QCOMPARE(console.type(QStringLiteral("hideDRNU")), QStringLiteral("hide"));
    QVERIFY(!window->isVisible());
}

void TestConsole::fixedActions_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("message");

    QTest::addRow("compatible server") << "pbTestConnection" << CameraScript::int16(21205) << "2.12.5";
    QTest::addRow("other minor version")
        << "pbTestConnection" << CameraScript::int16(21105) << "connection failed";
    QTest::addRow("register dump of one value") << "pbDumpAllRegisters" << bytes({0x12, 0x00}) << "";
    QTest::addRow("chip information") << "pbSystemInfo" << [] {
        QByteArray r;
        for (int v : {7, 3, 1, 4, 99, 2, 7, 12})
            r += CameraScript::int16(qint16(v));
        return r;
    }() << "";
}

void TestConsole::fixedActions()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, reply);
    QFETCH(QString, message);

    ScriptedServer server({ScriptedServer::Step::answer(reply)});
    Console console(server.port());
    console.settings()->setReadOffsetOnResume(false);
    console.settings()->setServerVersion(21205);
    MessageAnswer answer;
    answer.arm();
    console.child<QToolButton>(button.toLatin1().constData())->click();

    if (button == QLatin1String("pbTestConnection")) {
        QCOMPARE(server.commands(), QStringList{"version"});
        QCOMPARE(answer.text, message);
    } else if (button == QLatin1String("pbDumpAllRegisters")) {
        QCOMPARE(server.commands(), QStringList{"dumpAllRegisters"});
        const QStringList lines = console.child<QPlainTextEdit>("peRegisterDump")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 256);
        QCOMPARE(lines.first(), QStringLiteral("0x00\t 0x12"));
        QCOMPARE(lines.at(255), QStringLiteral("0xff\t 0x00"));
    } else {
        QCOMPARE(server.commands(), QStringList{"getChipInfo"});
        DialogSystemInfo* dialog = console.page->systemInfoDialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLabel*>("lChipNumber")->text(), QStringLiteral("zc320-007"));
        QCOMPARE(dialog->findChild<QLabel*>("lWaferIDNumber")->text(), QStringLiteral("4"));
        QCOMPARE(dialog->findChild<QLabel*>("lChipIDNumber")->text(), QStringLiteral("99"));
        QCOMPARE(dialog->findChild<QLabel*>("lSeqVersionNumber")->text(), QStringLiteral("12"));
        QCOMPARE(dialog->findChild<QLabel*>("lServerVersionNumber")->text(), QStringLiteral("2.12.5"));
        dialog->hide();
    }
}

void TestConsole::staleBufferIsNoAnswer()
{
    // The buffer holds a good "version" reply from a server that is gone: none of the three
    // actions may take it for the camera's answer.
    Console console(0);
    console.settings()->setReadOffsetOnResume(false);
    {
        ScriptedServer server({ScriptedServer::Step::answer(CameraScript::int16(21205))});
        console.settings()->socket()->setPort(server.port());
        QSignalSpy ok(console.page->controllerCommands(), &ControllerCommands::success);
        console.page->controllerCommands()->requestConnectionCheck();
        QCOMPARE(ok.count(), 1);
    }
    console.settings()->socket()->setPort(ScriptedServer::unusedPort());

    MessageAnswer answer;
    answer.arm();
    console.child<QToolButton>("pbTestConnection")->click();
    QCOMPARE(answer.text, QStringLiteral("connection failed"));

    answer.arm();
    console.child<QToolButton>("pbSystemInfo")->click();
    QCOMPARE(answer.text, QStringLiteral("connection failed"));
    QVERIFY(!console.page->systemInfoDialog()->isVisible());

    console.child<QToolButton>("pbDumpAllRegisters")->click();
    QCOMPARE(console.child<QPlainTextEdit>("peRegisterDump")->toPlainText(),
             QStringLiteral("connection failed"));

    QCOMPARE(console.type(QStringLiteral("getFoo")), QStringLiteral("operation failed..."));
}

void TestConsole::calibrationSwitch()
{
    ScriptedServer server;
    Console console(server.port());
    console.settings()->setReadOffsetOnResume(false);
    QSignalSpy switched(console.page.get(), qOverload<bool>(&WidgetCommands::enableCalibration));
    QCOMPARE(console.type(QStringLiteral("calibration on")), QStringLiteral("on"));
    QCOMPARE(console.type(QStringLiteral("calibration off")), QStringLiteral("off"));
    QCOMPARE(switched.count(), 2);
    QCOMPARE(switched.at(0).at(0).toBool(), true);
    QCOMPARE(switched.at(1).at(0).toBool(), false);
    QCOMPARE(server.connectionCount(), 0);

    // "tof" and "flim" switch the camera's operation: sent, the command shown, start-up rerun.
    QSignalSpy reload(console.page.get(), &WidgetCommands::reloadSettings);
    QSignalSpy hide(console.page.get(), &WidgetCommands::hideInfoWindows);
    QCOMPARE(console.type(QStringLiteral("tof 1")), QStringLiteral("tof 1"));
    QCOMPARE(server.commands(), QStringList{"tof 1"});
    QCOMPARE(reload.count(), 1);
    QCOMPARE(hide.count(), 1);
}

void TestConsole::longCommands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("videoRestarted");

    QTest::addRow("DRNU calibration")
        << "calibrateDRNU" << CameraScript::int16(0) << "calibrateDRNU in progress..."
        << "calibrateDRNUsuccessful" << false;
    QTest::addRow("DRNU results not stored")
        << "calibrateDRNU" << CameraScript::int16(-1) << "calibrateDRNU in progress..."
        << "calibrateDRNU failed: Files could not be stored." << false;
    QTest::addRow("DRNU other status")
        << "calibrateDRNU" << CameraScript::int16(3) << "calibrateDRNU in progress..."
        << "calibrateDRNU failed" << false;
    QTest::addRow("marathon") << "factoryCalibration 1" << CameraScript::int16(0)
                              << "factoryCalibration in progress..."
                              << "calibrationMarathon successful" << true;
    QTest::addRow("marathon not stored")
        << "factoryCalibration" << CameraScript::int16(-1) << "factoryCalibration in progress..."
        << "calibrationMarathon failed: Files could not be stored." << true;
}

void TestConsole::longCommands()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, reply);
    QFETCH(QString, progress);
    QFETCH(QString, result);
    QFETCH(bool, videoRestarted);

    ScriptedServer server({ScriptedServer::Step::answer(reply, 300)});
    Console console(server.port());
    Settings* settings = console.settings();
    // Paused live video: running, not active.
    settings->pauseAcquisition();
    QSignalSpy locks(settings, &Settings::fieldsLocked);
    QSignalSpy started(settings, &Settings::started);

    QCOMPARE(console.type(text), progress);
    QVERIFY(!console.send()->isEnabled());
    QVERIFY(console.page->controllerCommands()->longCommandRunning());
    QCOMPARE(locks.count(), 1);
    QCOMPARE(locks.at(0).at(0).toBool(), true);

    QTRY_COMPARE_WITH_TIMEOUT(console.response(), result, 5000);
    QVERIFY(console.send()->isEnabled());
    QCOMPARE(locks.count(), 2);
    QCOMPARE(locks.at(1).at(0).toBool(), false);
    QCOMPARE(started.count(), videoRestarted ? 1 : 0);
    QCOMPARE(server.commands(), QStringList{text});
    QVERIFY(!settings->readOffsetOnResume());
}

void TestConsole::badPixelSearchRestarts_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");

    QTest::addRow("success") << CameraScript::int16(0) << "Success"
                             << "searchBadPixels successful. The application will be restarted.";
    QTest::addRow("not stored")
        << CameraScript::int16(-1) << "Error"
        << "searchBadPixels failed: Files could not be stored. The application will be "
           "restarted.";
    QTest::addRow("other status") << CameraScript::int16(5) << "Error"
                                  << "searchBadPixels failed. The application will be restarted.";
}

void TestConsole::badPixelSearchRestarts()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, title);
    QFETCH(QString, message);

    ScriptedServer server(
        {ScriptedServer::Step::answer(reply, 100), ScriptedServer::Step::answer(QByteArray())});
    Console console(server.port());
    console.settings()->setReadOffsetOnResume(false);
    QStringList events;
    QString program;
    QStringList arguments;
    connect(console.page.get(), &WidgetCommands::saveConfigApp, this, [&] { events << "save"; });
    console.page->restarter()->setStarter([&](const QString& p, const QStringList& a) {
        events << "start";
        program = p;
        arguments = a;
        return true;
    });
    console.page->restarter()->setQuitter([&] { events << "quit"; });

    MessageAnswer answer;
    answer.arm();
    QCOMPARE(console.type(QStringLiteral("searchBadPixels")),
             QStringLiteral("searchBadPixels in progress..."));
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, 5000);

    QCOMPARE(answer.title, title);
    QCOMPARE(answer.text, message);
    QCOMPARE(events, (QStringList{"save", "start", "quit"}));
    // The camera is told to stop before the program goes.
    QCOMPARE(server.commands(), (QStringList{"searchBadPixels", "stopVideo"}));
    const QStringList own = QCoreApplication::arguments();
    QCOMPARE(program, own.first());
    QCOMPARE(arguments, own);

    QCOMPARE(ApplicationRestart::restartArguments(
                 {"kestrane", "--ip", "127.0.0.1", "--load-default", "--start-video"}),
             (QStringList{"kestrane", "--ip", "127.0.0.1", "--start-video"}));
}

void TestConsole::longCommandDuringVideo()
{
    SimulatorProcess sim({QStringLiteral("--long-op-ms"), QStringLiteral("1500")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Console console(sim.port());
    console.settings()->setChipType(2);
    WidgetView view(&console.context);
    QSignalSpy shown(&view, &WidgetView::pictureShown);
    auto* video = view.findChild<QToolButton*>(QStringLiteral("pbGetVideo"));
    auto* snapshot = view.findChild<QToolButton*>(QStringLiteral("pbGetPicture"));
    video->click();
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 2, 10000);

    QCOMPARE(console.type(QStringLiteral("calibrateDRNU")), QStringLiteral("calibrateDRNU in progress..."));
    // The loop has paused; neither video nor a snapshot can be started while the camera works.
    QVERIFY(!console.settings()->videoActive());
    QVERIFY(!video->isEnabled());
    QVERIFY(!snapshot->isEnabled());
    video->click();
    snapshot->click();
    const int framesAtStart = shown.count();
    const int served = framesServed(sim);

    QTRY_COMPARE_WITH_TIMEOUT(console.response(), QStringLiteral("calibrateDRNUsuccessful"), 10000);
    QCOMPARE(shown.count(), framesAtStart);
    QCOMPARE(framesServed(sim), served);
    // Video stays paused; the panels accept input again.
    QCOMPARE(video->text(), QStringLiteral("Start"));
    QVERIFY(video->isEnabled());
    QVERIFY(snapshot->isEnabled());

    // A stop that bypasses the view panel (the main window's close) leaves the loop stopped.
    video->click();
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() > framesAtStart, 10000);
    console.settings()->stopAcquisition();
    QVERIFY(!console.settings()->running());
    QVERIFY(!console.settings()->videoActive());
    QCOMPARE(video->text(), QStringLiteral("Start"));

    view.windowDemo()->hide();
    view.hideInfoWindows();
}

KESTRANE_TEST_MAIN(TestConsole)
#include "tst_console.moc"
