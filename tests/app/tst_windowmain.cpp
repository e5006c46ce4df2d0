#include "app/ApplicationContext.h"
#include "app/ConfigurationChoice.h"
#include "app/StartupManager.h"
#include "app/WindowMain.h"
#include "settings/SettingsManager.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "widgets/WidgetConnectionState.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {
// A context whose channel talks to loopback only: a scripted camera when given a port,
// otherwise a port on which nothing listens (an offline start).
struct Fixture
{
    explicit Fixture(quint16 port = ScriptedServer::unusedPort())
    {
        context.settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        context.settings()->socket()->setPort(port);
        window = std::make_unique<WindowMain>(&context, &manager);
        window->setOfferPreConfiguration(false);
    }
    Settings* settings() { return context.settings(); }
    template <typename T>
    T* child(const char* name)
    {
        return window->findChild<T*>(QLatin1String(name));
    }

    ApplicationContext context;
    StartupManager manager{&context};
    std::unique_ptr<WindowMain> window;
};

// The last-configuration files go to a temporary directory of the test's own.
struct TempDirectory
{
    TempDirectory() : saved(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir.path().toLocal8Bit()); }
    ~TempDirectory() { qputenv("TMPDIR", saved); }
    QTemporaryDir dir;
    QByteArray saved;
};
} // namespace

// The main window: its frame and pages, the start-up initialisation by chip type, the last
// configuration written on close and restored on the next start, and the status strip.
class TestWindowMain : public QObject
{
    Q_OBJECT

private slots:
    void frame();
    void initializeByChipType_data();
    void initializeByChipType();
    void configurationChoice_data();
    void configurationChoice();
    void offlineStartLoadsNothing();
    void offsetFromTheCamera();
    void firstStartWithoutLastConfigurationLoadsTheDefault_data();
    void firstStartWithoutLastConfigurationLoadsTheDefault();
    void lastConfigurationGeometry_data();
    void lastConfigurationGeometry();
    void closingWritesTheLastConfiguration_data();
    void closingWritesTheLastConfiguration();
    void saveLoadStopsVideo();
    void statusStrip_data();
    void statusStrip();
    void correctionLockAtStartUp_data();
    void correctionLockAtStartUp();
    void calibrationAndLogActions();
    void startVideoWish();
    void connectionIndicatorAfterStartUp_data();
    void connectionIndicatorAfterStartUp();
};

void TestWindowMain::frame()
{
    Fixture f;
    WindowMain& window = *f.window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Kestrane TOF Imager"));
    QCOMPARE(window.contextMenuPolicy(), Qt::NoContextMenu);
    QCOMPARE(f.child<QLabel>("lProduct")->text(), QStringLiteral("zc320"));
    QVERIFY(f.child<QWidget>("tbLogo"));
    QVERIFY(f.child<QLabel>("lStatus")->parent() == f.child<QWidget>("wStatus"));

    auto* stack = f.child<QStackedWidget>("stackedView");
    QStringList pages;
    for (int i = 0; i < stack->count(); ++i)
        pages << stack->widget(i)->objectName();
    QCOMPARE(pages, (QStringList{"view", "commands", "log", "calibration", "save/load"}));

    auto* toolBar = f.child<QToolBar>("mainToolBar");
    QCOMPARE(window.toolBarArea(toolBar), Qt::LeftToolBarArea);
    QVERIFY(!toolBar->isMovable());
    QVERIFY(!toolBar->isFloatable());
    QStringList onToolBar;
    for (QAction* action : toolBar->actions())
        onToolBar << action->objectName();
    QCOMPARE(onToolBar, (QStringList{"actionView", "actionCommand", "actionLog", "actionCalibration",
                                     "actionSaveLoad"}));

    const struct
    {
        const char* name;
        const char* text;
        const char* icon;
    } actions[] = {{"actionSettings", "Settings", "settings"},
                   {"actionCommand", "Commands", "command"},
                   {"actionView", "View", "view"},
                   {"actionLog", "Log", "log"},
                   {"actionCalibration", "Calibration", "calibration"},
                   {"actionSaveLoad", "Save/Load", "save_load"}};
    for (const auto& expected : actions) {
        auto* action = f.child<QAction>(expected.name);
        QVERIFY2(action, expected.name);
        QCOMPARE(action->text(), QLatin1String(expected.text));
        QCOMPARE(action->isCheckable(), qstrcmp(expected.name, "actionView") == 0);
        const QString base = QStringLiteral(":/toolbar/images/toolbar/") + QLatin1String(expected.icon);
        const QIcon icon = action->icon();
        QCOMPARE(icon.pixmap(64, QIcon::Normal).toImage(), QPixmap(base + QStringLiteral(".png")).toImage());
        QCOMPARE(icon.pixmap(64, QIcon::Disabled).toImage(),
                 QPixmap(base + QStringLiteral("_disabled.png")).toImage());
        QCOMPARE(icon.pixmap(64, QIcon::Active).toImage(),
                 QPixmap(base + QStringLiteral("_hover.png")).toImage());
    }
}

void TestWindowMain::initializeByChipType_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("flim");
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("statusShown");
    QTest::addColumn<int>("sensorHeight");
    QTest::addRow("zc320") << 2 << false << "zc320" << true << 252;
    QTest::addRow("zc210") << 3 << true << "zc210" << false << 252;
    QTest::addRow("zc310") << 4 << false << "zc310" << true << 72;
    QTest::addRow("zc220") << 5 << true << "zc220" << false << 72;
    QTest::addRow("offline, no chip") << 0 << false << "zc320" << true << 252;
}

void TestWindowMain::initializeByChipType()
{
    QFETCH(int, chipType);
    QFETCH(bool, flim);
    QFETCH(QString, product);
    QFETCH(bool, statusShown);
    QFETCH(int, sensorHeight);
    TempDirectory temp;
    Fixture f;
    f.settings()->setChipType(chipType);
    f.settings()->flim()->setFlimChip(flim);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->initialize(true);
    QCOMPARE(f.child<QLabel>("lProduct")->text(), product);
    QCOMPARE(f.child<QWidget>("wStatus")->isVisible(), statusShown);
    // A loaded modulation frequency re-reads the offset once and leaves the re-read off.
    QCOMPARE(f.settings()->readOffsetOnResume(), chipType == 0);
    QCOMPARE(f.settings()->roi()->sensorHeight(), sensorHeight);
    QCOMPARE(f.settings()->pixelScope()->y1(), sensorHeight / 2 - 1);
    QCOMPARE(f.settings()->pixelScope()->y2(), sensorHeight / 2 - 1);
    QCOMPARE(f.window->chosenConfiguration(), ConfigurationChoice::primary(chipType, true));
    QCOMPARE(f.settings()->configLoaded(), chipType != 0);
    // The panel shows filter fields that the file sets after the Kalman K.
    if (chipType == 2)
        QVERIFY(f.child<QCheckBox>("cbMedianfilter")->isChecked());
    f.window->hide();
}

void TestWindowMain::configurationChoice_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("loadDefault");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("second");
    const QString temp = QDir::tempPath();
    QTest::addRow("zc320 default") << 2 << true << ":/config/zc320_settings_default.xml"
                                   << ":/config/zc320_settings_default2.xml";
    QTest::addRow("zc320 last") << 2 << false << temp + "/zc320_settings_last.xml"
                                << ":/config/zc320_settings_default2.xml";
    QTest::addRow("zc210 default") << 3 << true << ":/config/zc210_settings_default.xml"
                                   << "";
    QTest::addRow("zc210 last") << 3 << false << temp + "/zc210_settings_last.xml"
                                << "";
    QTest::addRow("zc310 default") << 4 << true << ":/config/zc310_settings_default.xml"
                                   << ":/config/zc310_settings_default2.xml";
    QTest::addRow("zc310 last") << 4 << false << temp + "/zc310_settings_last.xml"
                                << ":/config/zc310_settings_default2.xml";
    QTest::addRow("zc220 default") << 5 << true << ":/config/zc220_settings_default.xml"
                                   << "";
    QTest::addRow("zc220 last") << 5 << false << temp + "/zc220_settings_last.xml"
                                << "";
    QTest::addRow("offline default") << 0 << true << ""
                                     << "";
    QTest::addRow("offline last") << 0 << false << ""
                                  << "";
    QTest::addRow("chip type 1") << 1 << true << ""
                                 << "";
    QTest::addRow("chip type 6") << 6 << false << ""
                                 << "";
}

void TestWindowMain::configurationChoice()
{
    QFETCH(int, chipType);
    QFETCH(bool, loadDefault);
    QFETCH(QString, primary);
    QFETCH(QString, second);
    QCOMPARE(ConfigurationChoice::primary(chipType, loadDefault), primary);
    QCOMPARE(ConfigurationChoice::secondDefault(chipType), second);
}

void TestWindowMain::offlineStartLoadsNothing()
{
    TempDirectory temp;
    Fixture f;
    const QRect formGeometry = f.window->geometry();
    const QString statusStyle = f.child<QWidget>("wStatus")->styleSheet();
    f.window->initialize(false);
    QVERIFY(!f.settings()->configLoaded());
    QCOMPARE(f.window->geometry(), formGeometry);
    QCOMPARE(f.child<QWidget>("wStatus")->styleSheet(), statusStyle);
    QCOMPARE(f.child<QLabel>("lStatus")->text(), QString());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->hide();
}

void TestWindowMain::firstStartWithoutLastConfigurationLoadsTheDefault_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<QByteArray>("lastFile"); // empty: none written
    QTest::addRow("zc320, never closed") << 2 << QByteArray();
    QTest::addRow("zc310, never closed") << 4 << QByteArray();
    QTest::addRow("zc320, damaged file") << 2 << QByteArray("<config><range_max><value>8");
}

void TestWindowMain::firstStartWithoutLastConfigurationLoadsTheDefault()
{
    QFETCH(int, chipType);
    QFETCH(QByteArray, lastFile);
    TempDirectory temp;
    if (!lastFile.isEmpty()) {
        QFile file(ConfigurationChoice::lastConfiguration(chipType));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lastFile);
    }
    ScriptedServer camera({ScriptedServer::Step::answer(QByteArray("\x00\x00", 2))});
    Fixture f(camera.port());
    f.settings()->setChipType(chipType);
    f.window->initialize(false);
    QCOMPARE(f.window->chosenConfiguration(), ConfigurationChoice::primary(chipType, true));
    QVERIFY(f.settings()->configLoaded());
    // Values of the built-in default that the hub's start values do not have.
    QVERIFY(f.settings()->medianFilter());
    QCOMPARE(f.settings()->settings3D()->distanceMin(), 40);
}

void TestWindowMain::offsetFromTheCamera()
{
    // Every exchange answered with the 16-bit value 7: the offset takes it; as a speed of
    // light the two bytes are no double, and the value of the hub stays.
    ScriptedServer camera({ScriptedServer::Step::answer(QByteArray("\x07\x00", 2))});
    Fixture f(camera.port());
    f.window->initialize(false);
    QCOMPARE(f.settings()->settings3D()->automaticOffset(), 7);
    QCOMPARE(f.settings()->speedOfLight(), 150000000.0);
    QVERIFY(camera.commands().contains(QStringLiteral("getOffset")));
    QVERIFY(camera.commands().contains(QStringLiteral("getSpeedOfLight")));
}

void TestWindowMain::lastConfigurationGeometry_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("restored");
    QTest::addRow("stored geometry") << QRect(40, 30, 700, 640) << true;
    QTest::addRow("width 0") << QRect(40, 30, 0, 640) << false;
    QTest::addRow("negative position") << QRect(-1, 30, 700, 640) << false;
}

void TestWindowMain::lastConfigurationGeometry()
{
    QFETCH(QRect, stored);
    QFETCH(bool, restored);
    TempDirectory temp;
    {
        // The last configuration of an earlier run.
        Settings settings;
        settings.setChipType(2);
        settings.setWindPosX(stored.x());
        settings.setWindPosY(stored.y());
        settings.setWindWidth(stored.width());
        settings.setWindHeight(stored.height());
        QVERIFY(SettingsManager(&settings).saveConfig(ConfigurationChoice::lastConfiguration(2)));
    }
    Fixture f;
    f.settings()->setChipType(2);
    const QRect formGeometry = f.window->geometry();
    f.window->initialize(false);
    QVERIFY(f.settings()->configLoaded());
    QCOMPARE(f.window->geometry(), restored ? stored : formGeometry);
}

void TestWindowMain::closingWritesTheLastConfiguration_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<QString>("file");
    QTest::addRow("zc320") << 2 << "zc320_settings_last.xml";
    QTest::addRow("zc310") << 4 << "zc310_settings_last.xml";
    QTest::addRow("no chip") << 0 << "";
}

void TestWindowMain::closingWritesTheLastConfiguration()
{
    QFETCH(int, chipType);
    QFETCH(QString, file);
    TempDirectory temp;
    Fixture f;
    f.settings()->setChipType(chipType);
    f.window->setGeometry(50, 60, 720, 680);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.settings()->startAcquisition();
    const QRect geometry = f.window->geometry();
    QVERIFY(f.window->close());
    QVERIFY(!f.settings()->running());
    const QStringList written = QDir(temp.dir.path()).entryList(QDir::Files);
    QCOMPARE(written, file.isEmpty() ? QStringList() : QStringList{file});
    if (file.isEmpty())
        return;
    // The next start restores the window where it was.
    Settings next;
    next.setChipType(chipType);
    QVERIFY(SettingsManager(&next).loadConfig(temp.dir.filePath(file)));
    QCOMPARE(QRect(next.windPosX(), next.windPosY(), next.windWidth(), next.windHeight()), geometry);
}

void TestWindowMain::saveLoadStopsVideo()
{
    Fixture f;
    f.settings()->startAcquisition();
    f.child<QAction>("actionSaveLoad")->trigger();
    QVERIFY(!f.settings()->running());
    QCOMPARE(f.child<QStackedWidget>("stackedView")->currentWidget()->objectName(),
             QStringLiteral("save/load"));
    f.child<QAction>("actionCommand")->trigger();
    QCOMPARE(f.child<QStackedWidget>("stackedView")->currentIndex(), 1);
    f.child<QAction>("actionView")->trigger();
    QCOMPARE(f.child<QStackedWidget>("stackedView")->currentIndex(), 0);
}

void TestWindowMain::statusStrip_data()
{
    QTest::addColumn<int>("modeIndex");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("style");
    const QString red = QStringLiteral("background-color: rgb(228, 10, 21);");
    const QString teal = QStringLiteral("background-color: rgb(6, 143, 133);");
    const QString orange = QStringLiteral("background-color: rgb(255, 100, 0);");
    QTest::addRow("grayscale 0") << 0 << 0 << "DSNU / PRNU correction not available" << red;
    QTest::addRow("grayscale 1") << 0 << 1 << "DSNU & PRNU corrected" << teal;
    QTest::addRow("grayscale 3") << 0 << 3 << "PRNU not corrected" << orange;
    QTest::addRow("grayscale 4") << 0 << 4 << "DSNU not corrected" << orange;
    QTest::addRow("distance 5") << 1 << 5 << "DRNU & Temperature correction not available" << red;
    QTest::addRow("distance 7") << 1 << 7 << "DRNU & Temperature not corrected" << orange;
    QTest::addRow("amplitude 9") << 2 << 9 << "DRNU not corrected" << orange;
    // A status of the other family leaves the strip as it was.
    QTest::addRow("grayscale given 6") << 0 << 6 << "unchanged"
                                       << "";
    QTest::addRow("distance given 1") << 1 << 1 << "unchanged"
                                      << "";
}

void TestWindowMain::statusStrip()
{
    QFETCH(int, modeIndex);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, style);
    Fixture f;
    f.settings()->setModeIndex(modeIndex);
    const QString textBefore = f.child<QLabel>("lStatus")->text();
    const QString styleBefore = f.child<QWidget>("wStatus")->styleSheet();
    f.settings()->settings3D()->announceCalibrationType(static_cast<Settings3D::CalibrationType>(type));
    const bool unchanged = text == QLatin1String("unchanged");
    QCOMPARE(f.child<QLabel>("lStatus")->text(), unchanged ? textBefore : text);
    QCOMPARE(f.child<QWidget>("wStatus")->styleSheet(), unchanged ? styleBefore : style);
}

void TestWindowMain::correctionLockAtStartUp_data()
{
    QTest::addColumn<int>("calibrationType");
    QTest::addColumn<bool>("abs");
    QTest::addColumn<bool>("locked");
    QTest::addRow("type 21, ABS on") << 21 << true << true;
    QTest::addRow("type 21, ABS off") << 21 << false << false;
    QTest::addRow("type 3, ABS on") << 3 << true << false;
    QTest::addRow("type 3, ABS off") << 3 << false << true;
    QTest::addRow("uncalibrated, ABS on") << 0 << true << true;
}

void TestWindowMain::correctionLockAtStartUp()
{
    QFETCH(int, calibrationType);
    QFETCH(bool, abs);
    QFETCH(bool, locked);
    Fixture f;
    SettingsModulation* modulation = f.settings()->modulation();
    modulation->addFrequency(QStringLiteral("20.00 MHz"), 20000000);
    modulation->addCalibrationType(calibrationType);
    modulation->setFrequencyIndex(0);
    f.settings()->abs()->setAbs(abs);
    QSignalSpy lock(f.settings(), &Settings::lockDRNUCorrection);
    f.window->initialize(false);
    QCOMPARE(lock.count(), locked ? 1 : 0);
    if (locked)
        QCOMPARE(lock.first().first().toBool(), true);
}

void TestWindowMain::calibrationAndLogActions()
{
    Fixture f;
    auto* calibration = f.child<QAction>("actionCalibration");
    QVERIFY(!calibration->isVisible());
    QVERIFY(!calibration->isEnabled());
    f.window->enableCalibration(true);
    QVERIFY(calibration->isVisible() && calibration->isEnabled());
    QVERIFY(f.settings()->enabledCalibration());
    calibration->trigger();
    QCOMPARE(f.child<QStackedWidget>("stackedView")->currentIndex(), 3);
    // The loaded configuration decides whether the page stays offered.
    TempDirectory temp;
    f.settings()->setEnabledCalibration(false);
    f.window->initialize(false);
    QVERIFY(!calibration->isVisible());

    QSignalSpy logSpy(f.window.get(), &WindowMain::showLogDialog);
    f.child<QAction>("actionLog")->trigger();
    QCOMPARE(logSpy.count(), 1);
    QCOMPARE(logSpy.first().first().toBool(), true);
    QCOMPARE(f.child<QStackedWidget>("stackedView")->currentIndex(), 3);
    f.window->enableLogIcon(false);
    QVERIFY(!f.child<QAction>("actionLog")->isEnabled());
}

void TestWindowMain::startVideoWish()
{
    Fixture f;
    QSignalSpy spy(f.window.get(), &WindowMain::videoStartRequested);
    f.window->setStartVideoWhenShown(true);
    // No identified camera, no video.
    f.window->show();
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);
    f.window->hide();

    // Video starts only for an identified camera of a supported chip.
    Fixture g;
    QSignalSpy started(g.window.get(), &WindowMain::videoStartRequested);
    g.settings()->setChipType(2);
    g.settings()->setPartVersion(7);
    g.window->setStartVideoWhenShown(true);
    g.window->show();
    QTRY_COMPARE(started.count(), 1);
    g.window->hide();
    g.window->show();
    QTest::qWait(50);
    // Once, at the first showing only.
    QCOMPARE(started.count(), 1);
    g.window->hide();
}

void TestWindowMain::connectionIndicatorAfterStartUp_data()
{
    QTest::addColumn<bool>("windowFirst");
    // The unattended start makes the window before the start-up exchanges; the start dialog
    // runs them before the window exists.
    QTest::addRow("window made before the start-up") << true;
    QTest::addRow("window made after the start-up") << false;
}

void TestWindowMain::connectionIndicatorAfterStartUp()
{
    QFETCH(bool, windowFirst);
    TempDirectory temp;
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    context.settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
    context.settings()->socket()->setPort(sim.port());
    StartupManager manager(&context);
    std::unique_ptr<WindowMain> window;
    if (windowFirst)
        window = std::make_unique<WindowMain>(&context, &manager);
    QCOMPARE(manager.connectToCamera(), StartupManager::Success);
    if (!windowFirst)
        window = std::make_unique<WindowMain>(&context, &manager);
    window->setOfferPreConfiguration(false);
    window->initialize(true);
    // Read before the event loop runs: the indicator's periodic refresh must not be needed to
    // leave "Not connected" (a picture taken at the first frame showed it during live video).
    QCOMPARE(window->connectionState()->text(), QStringLiteral("Connected"));
    // A first frame that arrives cut short shows as trouble at once, too.
    window->connectionState()->frameReceived(false);
    const QString failing = window->connectionState()->text();
    QVERIFY2(failing.startsWith(QLatin1String("camera not answering since")), qPrintable(failing));
    QVERIFY2(failing.endsWith(QLatin1String(": 0 failed exchanges, 1 incomplete frame")),
             qPrintable(failing));
}

KESTRANE_TEST_MAIN(TestWindowMain)
#include "tst_windowmain.moc"
