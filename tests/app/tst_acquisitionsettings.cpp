#include "app/ApplicationContext.h"
#include "app/ConfigurationChoice.h"
#include "app/StartupManager.h"
#include "app/WidgetView.h"
#include "app/WindowMain.h"
#include "config/WidgetSettingsBinningAndReduction.h"
#include "config/WidgetSettingsIntegrationTime.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// The last-configuration file goes to a temporary directory of the test's own.
struct TempDirectory
{
    TempDirectory() : saved(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir.path().toLocal8Bit()); }
    ~TempDirectory() { qputenv("TMPDIR", saved); }
    QTemporaryDir dir;
    QByteArray saved;
};

void addFrequencies(Settings* s)
{
    const int hz[] = {20000000, 10000000, 5000000, 2500000};
    for (int f : hz) {
        s->modulation()->addFrequency(QStringLiteral("%1 MHz").arg(f / 1000000.0), f);
        s->modulation()->addCalibrationType(0);
    }
}

// The last command that starts with the keyword, or nothing.
QString lastWith(const QStringList& commands, const QString& keyword)
{
    for (int i = commands.size() - 1; i >= 0; --i) {
        if (commands.at(i).startsWith(keyword + QLatin1Char(' ')))
            return commands.at(i);
    }
    return QString();
}

QByteArray simState(const SimulatorProcess& sim, const QByteArray& key)
{
    for (const QByteArray& line : sim.exchange("sim.state").split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QByteArray("missing");
}
} // namespace

// The acquisition settings as a user meets them: a stored configuration reaches the camera
// at start-up, and a change during live video reaches it between two frames.
class TestAcquisitionSettings : public QObject
{
    Q_OBJECT

private slots:
    void lastConfigurationReachesTheCamera();
    void changesDuringLiveVideo();
};

void TestAcquisitionSettings::lastConfigurationReachesTheCamera()
{
    TempDirectory temp;
    {
        // A last configuration whose values all differ from the built-in default's.
        Settings stored;
        addFrequencies(&stored);
        stored.setChipType(2);
        SettingsManager manager(&stored);
        QVERIFY(manager.loadConfig(QStringLiteral(":/config/zc320_settings_default.xml")));
        stored.integrationTime()->setIntegrationTime2D(9000);
        stored.integrationTime()->setIntegrationTime3D(1300);
        stored.settings3D()->setMinAmplitude(150);
        stored.settings3D()->setHysteresisEnabled(true);
        stored.settings3D()->setHysteresis(30);
        stored.settings3D()->setAutoOffsetEnabled(false);
        stored.settings3D()->setManualOffset(25);
        stored.modulation()->setFrequencyIndex(2);
        stored.roi()->setRoi(20, 301, 10, 241);
        stored.binningAndReduction()->setHorizontalBinning(true);
        stored.binningAndReduction()->setRowReductionIndex(2);
        QVERIFY(manager.saveConfig(ConfigurationChoice::lastConfiguration(2)));
    }

    ScriptedServer server({ScriptedServer::Step::answer(QByteArray())});
    ApplicationContext context;
    Settings* s = context.settings();
    s->socket()->setIp(QStringLiteral("127.0.0.1"));
    s->socket()->setPort(server.port());
    s->setChipType(2);
    addFrequencies(s);
    StartupManager startup(&context);
    WindowMain window(&context, &startup);
    window.setOfferPreConfiguration(false);
    window.initialize(false);

    const QStringList sent = server.commands();
    const QStringList expected = {"setIntegrationTime2D 9000", "setIntegrationTime3D 1300",
                                  "setMinAmplitude 150",       "setHysteresis 30",
                                  "enableDefaultOffset 0",     "setOffset 25",
                                  "setModulationFrequency 2",  "setROI 20 301 10 125",
                                  "enableHorizontalBinning 1", "setRowReduction 2"};
    for (const QString& command : expected)
        QCOMPARE(lastWith(sent, command.section(QLatin1Char(' '), 0, 0)), command);
    // Every value went out while acquisition was stopped: nothing started video.
    QVERIFY(!s->videoActive());
}

void TestAcquisitionSettings::changesDuringLiveVideo()
{
    TempDirectory temp;
    SimulatorProcess sim({QStringLiteral("--chip"), QStringLiteral("zc320"), QStringLiteral("--realtime")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* s = context.settings();
    s->socket()->setIp(QStringLiteral("127.0.0.1"));
    s->socket()->setPort(sim.port());
    StartupManager startup(&context);
    QCOMPARE(startup.connectToCamera(), StartupManager::Success);
    WindowMain window(&context, &startup);
    window.setOfferPreConfiguration(false);
    window.initialize(true);
    WidgetView* view = window.findChild<WidgetView*>(QStringLiteral("view"));
    QVERIFY(view);
    view->selectViewMode(2);

    int pictures = 0;
    int pauses = 0;
    connect(view, &WidgetView::pictureShown, this, [&] { ++pictures; });
    connect(s, &Settings::paused, this, [&] { ++pauses; });
    const int framesBefore = simState(sim, "frame").toInt();
    view->on_pbGetVideo_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(pictures >= 3, 10000);

    auto changeAndSee = [&](const std::function<void()>& change, const QByteArray& key,
                            const QByteArray& value) {
        change();
        const int seen = pictures;
        QTRY_VERIFY_WITH_TIMEOUT(pictures >= seen + 3, 10000);
        QCOMPARE(simState(sim, key), value);
        QVERIFY(s->videoActive());
    };
    changeAndSee(
        [&] { view->integrationTimePanel()->findChild<QSpinBox*>("sbIntegrationTime3D")->setValue(1200); },
        "integrationTime3D", "1200");
    // The region a Shift-drag in the distance view selects arrives through the hub.
    changeAndSee([&] { s->roi()->setRoiAndFields(40, 201, 20, 231); }, "roiX1", "40");
    QCOMPARE(simState(sim, "roiX2"), QByteArray("201"));
    changeAndSee(
        [&] { view->binningPanel()->findChild<QCheckBox*>("cbBinningHorizontal")->setChecked(true); },
        "horizontalBinning", "1");
    view->on_pbGetVideo_clicked();
    QTRY_VERIFY(!s->running());
    QTest::qWait(200);

    // One frame request at a time: every frame the camera served was shown, except the one
    // in flight that each pause discards and the last one.
    const int served = simState(sim, "frame").toInt() - framesBefore;
    QVERIFY2(
        served - pictures <= pauses + 1,
        qPrintable(QStringLiteral("served %1, shown %2, pauses %3").arg(served).arg(pictures).arg(pauses)));
}

KESTRANE_TEST_MAIN(TestAcquisitionSettings)
#include "tst_acquisitionsettings.moc"
