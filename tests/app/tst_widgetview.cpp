#include "app/ApplicationContext.h"
#include "app/WidgetView.h"
#include "config/WidgetSettingsIntegrationTime.h"
#include "link/Commands.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDistance.h"
#include "views/WidgetFLIM.h"
#include "views/WindowDemo.h"
#include "views/ZelLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {

constexpr int kRoiPixels = 320 * 240;

QByteArray words(int count, int value)
{
    QByteArray bytes(count * 2, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        bytes[2 * i] = char(value & 0xff);
        bytes[2 * i + 1] = char((value >> 8) & 0xff);
    }
    return bytes;
}

// The view panel on a context whose channel talks to `port` on loopback.
struct Panel
{
    explicit Panel(quint16 port)
    {
        context.settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        context.settings()->socket()->setPort(port);
        context.settings()->setChipType(2);
        view = std::make_unique<WidgetView>(&context);
    }
    ~Panel()
    {
        view->windowDemo()->hide();
        view->hideInfoWindows();
    }
    Settings* settings() { return context.settings(); }
    QToolButton* video() const { return view->findChild<QToolButton*>(QStringLiteral("pbGetVideo")); }
    QToolButton* snapshot() const { return view->findChild<QToolButton*>(QStringLiteral("pbGetPicture")); }
    QComboBox* mode() const { return view->findChild<QComboBox*>(QStringLiteral("cbViewMode")); }
    QCheckBox* box(const char* name) const { return view->findChild<QCheckBox*>(QLatin1String(name)); }
    QString warning() const { return view->findChild<QLabel*>(QStringLiteral("lWarning"))->text(); }
    // Stops video if it runs and lets the exchange in flight end.
    void stop()
    {
        if (video()->text() == QLatin1String("Stop"))
            video()->click();
        context.tcp()->closeAfterWait(2000);
    }

    ApplicationContext context;
    std::unique_ptr<WidgetView> view;
};

// The simulator's count of frames served (it counts every frame request, also those it
// never answers).
int framesServed(const SimulatorProcess& sim)
{
    const QList<QByteArray> lines = sim.exchange("sim.state").split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith("frame="))
            return line.mid(6).toInt();
    return -1;
}

QByteArray stateValue(const SimulatorProcess& sim, const QByteArray& key)
{
    const QList<QByteArray> lines = sim.exchange("sim.state").split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    return QByteArray();
}

} // namespace

class TestWidgetView : public QObject
{
    Q_OBJECT

private slots:
    void controls();
    void startSendsStartVideoOnce_data();
    void startSendsStartVideoOnce();
    void serverThatNeverAnswers();
    void settingDuringVideo_data();
    void settingDuringVideo();
    void snapshotWhileStopped();
    void failedSnapshotOffersTheButtonAgain();
    void dispatchByViewMode_data();
    void dispatchByViewMode();
    void flimChipIgnoresTheSelector_data();
    void flimChipIgnoresTheSelector();
    void frameRateWarning_data();
    void frameRateWarning();
    void measurementSwitches();
};

void TestWidgetView::controls()
{
    Panel panel(ScriptedServer::unusedPort());
    QCOMPARE(panel.video()->text(), QStringLiteral("Start"));
    QCOMPARE(panel.video()->toolTip(),
             QStringLiteral("<html><head/><body><p>Start/stop the live imaging.</p></body></html>"));
    QCOMPARE(panel.snapshot()->text(), QStringLiteral("Picture"));
    QCOMPARE(panel.snapshot()->toolTip(), QStringLiteral("<html><head/><body><p>Snapshot</p></body></html>"));
    const QStringList items{"Grayscale",
                            "Distance color-coded",
                            "Amplitude color-coded",
                            "Amplitude grayscale",
                            "Amplitude HDR (log)",
                            "Point cloud",
                            "DCS",
                            "DCS differences",
                            "DCS + grayscale image"};
    QCOMPARE(panel.mode()->count(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(panel.mode()->itemText(i), items[i]);
    QCOMPARE(panel.box("cbTemperatures")->text(), QStringLiteral("Temperature"));
    QCOMPARE(panel.box("cbPixelScope")->text(), QStringLiteral("Pixel scope"));
    QCOMPARE(panel.box("cbPixelInfo")->text(), QStringLiteral("Pixel info   "));
    QCOMPARE(panel.box("cbTimeScope")->text(), QStringLiteral("Time scope"));
    QCOMPARE(panel.view->findChild<QLabel*>(QStringLiteral("lTitle"))->text(), QStringLiteral("View"));
    // The selector follows the hub.
    panel.settings()->setModeIndex(3);
    QCOMPARE(panel.mode()->currentIndex(), 3);
    QCOMPARE(panel.view->windowDemo()->currentPage(), 2);
}

void TestWidgetView::startSendsStartVideoOnce_data()
{
    QTest::addColumn<bool>("temperaturePolling");
    QTest::addRow("temperature polling off") << false;
    QTest::addRow("temperature polling on") << true;
}

void TestWidgetView::startSendsStartVideoOnce()
{
    QFETCH(bool, temperaturePolling);

    ScriptedServer server({ScriptedServer::Step::answer(words(2 * kRoiPixels, 3000))});
    Panel panel(server.port());
    panel.settings()->setTemperaturePolling(temperaturePolling);
    QSignalSpy shown(panel.view.get(), &WidgetView::pictureShown);
    QSignalSpy started(panel.settings(), &Settings::started);

    panel.video()->click();
    QCOMPARE(started.count(), 1);
    QVERIFY(panel.settings()->running());
    QVERIFY(panel.settings()->videoActive());
    QCOMPARE(panel.video()->text(), QStringLiteral("Stop"));
    QCOMPARE(panel.video()->styleSheet(), QStringLiteral("QToolButton{background-color: rgb(251, 34, 50);}"));
    QVERIFY(!panel.snapshot()->isEnabled());
    QVERIFY(panel.view->windowDemo()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 3, 10000);

    panel.video()->click();
    QCOMPARE(panel.video()->text(), QStringLiteral("Start"));
    QCOMPARE(panel.video()->styleSheet(),
             QStringLiteral("QToolButton{background-color: rgb(84, 141, 105);}"));
    QVERIFY(panel.snapshot()->isEnabled());
    QVERIFY(!panel.settings()->running());
    panel.context.tcp()->closeAfterWait(2000);
    const int connections = server.connectionCount();
    QTest::qWait(300);
    // Stopped: nothing more is requested.
    QCOMPARE(server.connectionCount(), connections);

    const QStringList commands = server.commands();
    const QString frame = Commands::getDistanceAndAmplitudeSorted();
    QCOMPARE(commands.count(Commands::startVideo()), temperaturePolling ? 0 : 1);
    if (temperaturePolling) {
        // Each frame is followed by the temperature read, which releases the loop.
        QCOMPARE(commands.at(0), frame);
        QCOMPARE(commands.at(1), Commands::getTemperature());
        QCOMPARE(commands.at(2), frame);
    } else {
        QCOMPARE(commands.at(0), Commands::startVideo());
        QCOMPARE(commands.at(1), frame);
        QCOMPARE(commands.at(2), frame);
        QCOMPARE(commands.count(Commands::getTemperature()), 0);
    }
}

void TestWidgetView::serverThatNeverAnswers()
{
    SimulatorProcess sim({QStringLiteral("--fault"), QStringLiteral("hang")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Panel panel(sim.port());
    panel.settings()->integrationTime()->setIntegrationTime2D(15000);
    panel.mode()->setCurrentIndex(0);
    QCOMPARE(panel.settings()->modeIndex(), 0);

    QElapsedTimer clock;
    panel.video()->click(); // "startVideo" waits its 200 ms in vain
    clock.start();
    QTest::qWait(2400);
    const qint64 elapsed = clock.elapsed();
    const int requests = framesServed(sim);
    // One request, then a new one after every 515 ms time-out.
    const int expected = 1 + int(elapsed / 515);
    QVERIFY2(qAbs(requests - expected) <= 1,
             qPrintable(QStringLiteral("%1 requests in %2 ms").arg(requests).arg(elapsed)));

    panel.video()->click();
    QCOMPARE(panel.video()->text(), QStringLiteral("Start"));
    const int atStop = framesServed(sim);
    QTest::qWait(1200);
    QCOMPARE(framesServed(sim), atStop);
    QVERIFY(panel.snapshot()->isEnabled());
    sim.exchange("sim.fault none");
}

void TestWidgetView::settingDuringVideo_data()
{
    QTest::addColumn<bool>("simulator");
    QTest::addRow("simulator") << true;
    QTest::addRow("scripted camera, order of commands") << false;
}

void TestWidgetView::settingDuringVideo()
{
    QFETCH(bool, simulator);

    std::unique_ptr<SimulatorProcess> sim;
    std::unique_ptr<ScriptedServer> server;
    quint16 port = 0;
    if (simulator) {
        sim = std::make_unique<SimulatorProcess>();
        QVERIFY2(sim->isRunning(), qPrintable(sim->errorString()));
        port = sim->port();
    } else {
        server = std::make_unique<ScriptedServer>(
            QList<ScriptedServer::Step>{ScriptedServer::Step::answer(words(2 * kRoiPixels, 3000), 20)});
        port = server->port();
    }
    Panel panel(port);
    Settings* settings = panel.settings();
    QSignalSpy shown(panel.view.get(), &WidgetView::pictureShown);
    QSignalSpy stopped(settings, &Settings::stopped);
    QSignalSpy stopRequested(settings, &Settings::stopRequested);
    panel.video()->click();
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 2, 10000);

    // A setting changed in its panel: pause, the command between two frames, resume.
    int framesAtCommand = -1;
    connect(settings, &Settings::paused, this, [&] { framesAtCommand = shown.count(); });
    panel.view->integrationTimePanel()
        ->findChild<QSpinBox*>(QStringLiteral("sbIntegrationTime3D"))
        ->setValue(900);
    QVERIFY(framesAtCommand >= 0);
    QCOMPARE(settings->integrationTime()->integrationTime3D(), 900);
    // Video restarted by itself, without the user pressing anything.
    QCOMPARE(panel.video()->text(), QStringLiteral("Stop"));
    QVERIFY(settings->videoActive());
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= framesAtCommand + 2, 10000);
    QCOMPARE(stopped.count(), 0);
    QCOMPARE(stopRequested.count(), 0);
    panel.stop();

    if (simulator) {
        QCOMPARE(stateValue(*sim, "integrationTime3D"), QByteArray("900"));
    } else {
        const QStringList commands = server->commands();
        const QString frame = Commands::getDistanceAndAmplitudeSorted();
        const int at = commands.indexOf(Commands::setIntegrationTime3D(900));
        QVERIFY(at > 1);
        QCOMPARE(commands.at(at - 1), frame);
        // Resuming re-reads the automatic offset, then the next frame of the new run.
        QCOMPARE(commands.at(at + 1), Commands::getOffset());
        QCOMPARE(commands.at(at + 2), frame);
        QCOMPARE(commands.count(Commands::setIntegrationTime3D(900)), 1);
    }
}

void TestWidgetView::snapshotWhileStopped()
{
    ScriptedServer server({ScriptedServer::Step::answer(words(2 * kRoiPixels, 3000))});
    Panel panel(server.port());
    QSignalSpy shown(panel.view.get(), &WidgetView::pictureShown);
    panel.snapshot()->click();
    QVERIFY(!panel.snapshot()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 5000);
    QTest::qWait(300);
    // The view released the loop, but no loop listens while stopped.
    QCOMPARE(server.connectionCount(), 1);
    QCOMPARE(shown.count(), 1);
    QVERIFY(panel.snapshot()->isEnabled());
    QCOMPARE(panel.video()->text(), QStringLiteral("Start"));
    QVERIFY(!panel.settings()->running());
}

void TestWidgetView::failedSnapshotOffersTheButtonAgain()
{
    Panel panel(ScriptedServer::unusedPort());
    panel.settings()->integrationTime()->setIntegrationTime2D(0);
    panel.mode()->setCurrentIndex(0);
    QSignalSpy failed(panel.context.tcp(), &ZelTcp::failed);
    panel.snapshot()->click();
    QVERIFY(!panel.snapshot()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 5000);
    QVERIFY(panel.snapshot()->isEnabled());
    QTest::qWait(700);
    // No retry outside video.
    QCOMPARE(failed.count(), 1);
}

void TestWidgetView::dispatchByViewMode_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");

    QTest::addRow("grayscale") << 0 << Commands::getBWSorted() << 0 << "Grayscale Image";
    QTest::addRow("distance") << 1 << Commands::getDistanceAndAmplitudeSorted() << 1 << "Distance Image";
    QTest::addRow("amplitude colour") << 2 << Commands::getAmplitudeSorted() << 2 << "Amplitude Image";
    QTest::addRow("amplitude gray") << 3 << Commands::getAmplitudeSorted() << 2 << "Amplitude Image";
    QTest::addRow("amplitude log") << 4 << Commands::getAmplitudeSorted() << 2 << "Amplitude Image";
    QTest::addRow("DCS") << 6 << Commands::getDCSSorted() << 4 << "Differential Correlation Samples";
    QTest::addRow("DCS differences") << 7 << Commands::getDCSSorted() << 5 << "DCS Difference";
    QTest::addRow("DCS + grayscale") << 8 << Commands::getDCSTOFAndGrayscaleSorted() << 6
                                     << "DCS + Grayscale";
    QTest::addRow("point cloud") << 5 << Commands::getDistanceAndAmplitudeSorted() << 3 << "Point Cloud";
}

void TestWidgetView::dispatchByViewMode()
{
    QFETCH(int, index);
    QFETCH(QString, command);
    QFETCH(int, page);
    QFETCH(QString, title);

    ScriptedServer server({ScriptedServer::Step::answer(words(4 * kRoiPixels, 3000))});
    Panel panel(server.port());
    panel.mode()->setCurrentIndex(index == 1 ? 0 : 1);
    panel.mode()->setCurrentIndex(index);
    QCOMPARE(panel.settings()->modeIndex(), index);
    QCOMPARE(panel.view->windowDemo()->currentPage(), page);
    QCOMPARE(panel.view->windowDemo()->windowTitle(), title);

    // The mode change itself switches the camera configuration ("loadConfig"): only what
    // the snapshot sends counts here.
    const int before = server.connectionCount();
    QSignalSpy shown(panel.view.get(), &WidgetView::pictureShown);
    panel.snapshot()->click();
    if (command.isEmpty()) {
        QVERIFY(panel.snapshot()->isEnabled());
        QTest::qWait(200);
        QCOMPARE(server.connectionCount(), before);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 5000);
    QCOMPARE(server.commands().mid(before), QStringList{command});
    if (index >= 2 && index <= 4)
        QCOMPARE(panel.view->amplitudeView()->currentColorType(),
                 index == 2 ? int(WidgetAmplitude::Ramp) : int(WidgetAmplitude::Gray));
}

void TestWidgetView::flimChipIgnoresTheSelector_data()
{
    QTest::addColumn<int>("index");
    QTest::addRow("grayscale selected") << 0;
    QTest::addRow("distance selected") << 1;
    QTest::addRow("amplitude selected") << 2;
    QTest::addRow("DCS differences selected") << 7;
}

void TestWidgetView::flimChipIgnoresTheSelector()
{
    QFETCH(int, index);

    ScriptedServer server({ScriptedServer::Step::answer(words(2 * kRoiPixels, 1000))});
    ApplicationContext* context = nullptr;
    Panel panel(server.port());
    context = &panel.context;
    // Known only after the panel was built, as in the program: the image window turns to the
    // FLIM page.
    context->settings()->flim()->setFlimChip(true);
    context->settings()->setModeIndex(10);
    panel.view->setUpForChip(true);
    QCOMPARE(panel.view->windowDemo()->currentPage(), WidgetView::pageOfMode(WidgetView::flimModeIndex));
    const int setUpCommands = server.commands().size();
    QSignalSpy flimShown(panel.view->flimView(), &WidgetFLIM::pictureUpdated);
    panel.mode()->setCurrentIndex(index);
    QCOMPARE(context->settings()->modeIndex(), 10);

    panel.video()->click();
    QTRY_VERIFY_WITH_TIMEOUT(flimShown.count() >= 2, 10000);
    panel.mode()->setCurrentIndex(index == 0 ? 1 : 0);
    const int before = flimShown.count();
    QTRY_VERIFY_WITH_TIMEOUT(flimShown.count() >= before + 2, 10000);
    panel.stop();
    QStringList commands = server.commands().mid(setUpCommands);
    commands.removeAll(Commands::startVideo());
    QCOMPARE(commands.count(Commands::getDCSSorted()), commands.size());
}

void TestWidgetView::frameRateWarning_data()
{
    QTest::addColumn<bool>("temperature");
    QTest::addColumn<bool>("pixelScope");
    QTest::addColumn<bool>("pixelInfo");

    QTest::addRow("none") << false << false << false;
    QTest::addRow("temperature") << true << false << false;
    QTest::addRow("pixel scope") << false << true << false;
    QTest::addRow("pixel info") << false << false << true;
    QTest::addRow("all") << true << true << true;
}

void TestWidgetView::frameRateWarning()
{
    QFETCH(bool, temperature);
    QFETCH(bool, pixelScope);
    QFETCH(bool, pixelInfo);

    Panel panel(ScriptedServer::unusedPort());
    panel.mode()->setCurrentIndex(1);
    if (temperature)
        panel.box("cbTemperatures")->click();
    if (pixelScope)
        panel.box("cbPixelScope")->click();
    if (pixelInfo)
        panel.box("cbPixelInfo")->click();
    const bool reduced = temperature || pixelScope || pixelInfo;
    QCOMPARE(panel.warning(), reduced ? QStringLiteral("Frame rate is reduced.") : QString());
    QCOMPARE(panel.settings()->temperaturePolling(), temperature);
    QCOMPARE(panel.settings()->pixelScopeEnabled(), pixelScope);
    QCOMPARE(panel.settings()->pixelInfoEnabled(), pixelInfo);
    // Everything off again clears the warning.
    for (const char* name : {"cbTemperatures", "cbPixelScope", "cbPixelInfo"})
        if (panel.box(name)->isChecked())
            panel.box(name)->click();
    QCOMPARE(panel.warning(), QString());
}

void TestWidgetView::measurementSwitches()
{
    Panel panel(ScriptedServer::unusedPort());
    Settings* settings = panel.settings();
    panel.mode()->setCurrentIndex(1);
    WidgetDistance* distance = panel.view->distanceView();

    QSignalSpy locked(settings, &Settings::fieldsLocked);
    panel.box("cbPixelInfo")->click();
    QCOMPARE(locked.count(), 2);
    QCOMPARE(locked.at(0).at(0).toBool(), true);
    QCOMPARE(locked.at(1).at(0).toBool(), false);
    QVERIFY(distance->pixelInfo()->isVisible());
    panel.box("cbPixelInfo")->click();
    QVERIFY(!distance->pixelInfo()->isVisible());

    // Pixel scope: every pixel shown while it is open, minAmplitude back afterwards.
    settings->settings3D()->setMinAmplitude(75);
    panel.box("cbPixelScope")->click();
    QCOMPARE(settings->settings3D()->minAmplitude(), 0);
    QVERIFY(distance->pixelScopeWindow()->isVisible());
    panel.box("cbPixelScope")->click();
    QCOMPARE(settings->settings3D()->minAmplitude(), 75);
    QVERIFY(!distance->pixelScopeWindow()->isVisible());

    // Alt + click on the distance image ticks the time-scope box, which opens the scope.
    emit distance->imageLabel()->checkTimeScope(true);
    QVERIFY(panel.box("cbTimeScope")->isChecked());
    QVERIFY(distance->timeScopeWindow()->isVisible());
    panel.box("cbTimeScope")->click();
    QVERIFY(!distance->timeScopeWindow()->isVisible());

    // Modes without pixel windows switch the boxes off.
    panel.mode()->setCurrentIndex(5);
    QVERIFY(!panel.box("cbPixelInfo")->isEnabled());
    QVERIFY(!panel.box("cbPixelScope")->isEnabled());
    panel.mode()->setCurrentIndex(0);
    QVERIFY(panel.box("cbPixelInfo")->isEnabled());
    QVERIFY(panel.box("cbPixelScope")->isEnabled());
}

KESTRANE_TEST_MAIN(TestWidgetView)
#include "tst_widgetview.moc"
