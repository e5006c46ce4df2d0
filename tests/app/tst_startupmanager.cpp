#include "app/ApplicationContext.h"
#include "app/StartupManager.h"
#include "link/Commands.h"
#include "support/CameraScript.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(StartupManager::StartupResult)

// The start-up sequence against the simulator and against scripted cameras on 127.0.0.1.
class TestStartupManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void simulatorChipModels_data();
    void simulatorChipModels();
    void sequenceSendsTheCommandsInOrder();
    void lostRepliesAreAskedAgain_data();
    void lostRepliesAreAskedAgain();
    void unreachableServer();
    void serverVersions_data();
    void serverVersions();
    void versionHint_data();
    void versionHint();
    void chipSupport_data();
    void chipSupport();
    void flimChipReadsItsStep();
    void faceIdFrequenciesNeedACalibration();
    void frequencyLabels_data();
    void frequencyLabels();
    void unansweredFrequencyListGivesTheFallback_data();
    void unansweredFrequencyListGivesTheFallback();
    void failureAfterTheVersionEndsTheSequence_data();
    void failureAfterTheVersionEndsTheSequence();
    void repeatedRunAppendsFrequencies();
    void garbledFrequencyListIsCut();
    void lastIpStore();
    void resetImageAveragingSendsZero();

private:
    StartupManager::StartupResult runAgainst(const CameraScript& camera);

    QTemporaryDir storeDir;
    std::unique_ptr<ApplicationContext> context;
    std::unique_ptr<StartupManager> manager;
    std::unique_ptr<ScriptedServer> server;
};

void TestStartupManager::initTestCase()
{
    QVERIFY(storeDir.isValid());
    // The per-user store of this test run, not the developer's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, storeDir.path());
}

void TestStartupManager::init()
{
    context = std::make_unique<ApplicationContext>();
    manager = std::make_unique<StartupManager>(context.get());
    server = std::make_unique<ScriptedServer>();
    // Never the camera's own address: every exchange goes to loopback.
    manager->setServerIp(QStringLiteral("127.0.0.1"));
    context->settings()->socket()->setPort(server->port());
}

void TestStartupManager::cleanup()
{
    server.reset();
    manager.reset();
    context.reset();
}

StartupManager::StartupResult TestStartupManager::runAgainst(const CameraScript& camera)
{
    server->setScript(camera.steps());
    return manager->connectToCamera();
}

void TestStartupManager::simulatorChipModels_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("flim");
    QTest::addRow("zc320") << "zc320" << 2 << false;
    QTest::addRow("zc310") << "zc310" << 4 << false;
    QTest::addRow("zc210") << "zc210" << 3 << true;
    QTest::addRow("zc220") << "zc220" << 5 << true;
}

void TestStartupManager::simulatorChipModels()
{
    QFETCH(QString, chip);
    QFETCH(int, chipType);
    QFETCH(bool, flim);
    SimulatorProcess sim({QStringLiteral("--chip"), chip, QStringLiteral("--offset"), QStringLiteral("37"),
                          QStringLiteral("--server-version"), QStringLiteral("21207")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    context->settings()->socket()->setPort(sim.port());

    QCOMPARE(manager->connectToCamera(), StartupManager::Success);
    Settings* settings = context->settings();
    QCOMPARE(settings->serverVersion(), quint16(21207));
    QCOMPARE(settings->serverVersionText(), QStringLiteral("2.12.7"));
    QCOMPARE(int(settings->icVersion()), 3);
    QCOMPARE(settings->chipType(), chipType);
    QCOMPARE(settings->partVersion(), 7);
    QCOMPARE(settings->flim()->flimChip(), flim);
    QCOMPARE(settings->modeIndex(), flim ? 10 : 1);
    QCOMPARE(settings->flim()->step(), flim ? 0.25 : 0.0);
    QCOMPARE(settings->settings3D()->automaticOffset(), 37);

    // The simulator offers six standard frequencies and two face-recognition ones, of which
    // only the second is calibrated.
    const QStringList labels = settings->modulation()->labels();
    QCOMPARE(labels.size(), 7);
    QCOMPARE(labels.first(), QStringLiteral("20.00 MHz"));
    QCOMPARE(labels.last(), QStringLiteral("15.00 MHz faceID"));
    QCOMPARE(settings->modulation()->frequenciesHz().last(), 15000000);
    QCOMPARE(settings->modulation()->calibrationTypes(), (QVector<int>{1, 1, 1, 1, 0, 0, 2}));
}

void TestStartupManager::lostRepliesAreAskedAgain_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<StartupManager::StartupResult>("result");
    QTest::addRow("every reply late") << "delay=250" << StartupManager::Success;
    QTest::addRow("every second reply late") << "delay=300,every=2" << StartupManager::Success;
    QTest::addRow("every second connection closed") << "close,every=2" << StartupManager::Success;
    QTest::addRow("every second connection reset") << "reset,every=2" << StartupManager::Success;
    QTest::addRow("every second reply cut short") << "partial,every=2" << StartupManager::Success;
    QTest::addRow("no reply at all") << "hang" << StartupManager::ConnectionFailed;
}

void TestStartupManager::lostRepliesAreAskedAgain()
{
    QFETCH(QString, fault);
    QFETCH(StartupManager::StartupResult, result);
    SimulatorProcess sim({QStringLiteral("--fault"), fault});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    context->settings()->socket()->setPort(sim.port());
    // A reply that did not arrive is never read as a version or a chip.
    QCOMPARE(manager->connectToCamera(), result);
    QCOMPARE(context->settings()->chipType(), result == StartupManager::Success ? 2 : 0);
}

void TestStartupManager::sequenceSendsTheCommandsInOrder()
{
    CameraScript camera;
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    QCOMPARE(server->commands(), camera.commands());
    for (const QByteArray& bytes : server->received())
        QVERIFY2(bytes.endsWith('\n') && bytes.count('\n') == 1, bytes.constData());
    QCOMPARE(context->settings()->icVersion(), quint8(0x03));
    QCOMPARE(context->settings()->settings3D()->automaticOffset(), -20);
    QCOMPARE(context->settings()->modeIndex(), 1);
}

void TestStartupManager::unreachableServer()
{
    context->settings()->socket()->setPort(ScriptedServer::unusedPort());
    QCOMPARE(manager->connectToCamera(), StartupManager::ConnectionFailed);
    QCOMPARE(context->settings()->serverVersion(), quint16(0));
    QCOMPARE(context->settings()->modulation()->frequencyCount(), 0);
}

void TestStartupManager::serverVersions_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<StartupManager::StartupResult>("result");
    QTest::addColumn<int>("exchanges");
    // An unexpected version is asked once more: only the same answer twice counts.
    QTest::addRow("-1 is a server too old to tell") << -1 << StartupManager::ServerTooOld << 1;
    QTest::addRow("2.11.99") << 21199 << StartupManager::WrongServerVersion << 2;
    QTest::addRow("2.12.0") << 21200 << StartupManager::Success << -1;
    QTest::addRow("2.12.99") << 21299 << StartupManager::Success << -1;
    QTest::addRow("2.13.0") << 21300 << StartupManager::WrongServerVersion << 2;
    QTest::addRow("1.99.99") << 19999 << StartupManager::WrongServerVersion << 2;
    QTest::addRow("3.12.0") << 31200 << StartupManager::WrongServerVersion << 2;
    QTest::addRow("0") << 0 << StartupManager::WrongServerVersion << 2;
}

void TestStartupManager::serverVersions()
{
    QFETCH(int, version);
    QFETCH(StartupManager::StartupResult, result);
    QFETCH(int, exchanges);
    CameraScript camera;
    camera.version = static_cast<qint16>(version);
    QList<ScriptedServer::Step> steps = camera.steps();
    if (result == StartupManager::WrongServerVersion)
        steps.prepend(steps.first());
    server->setScript(steps);
    QCOMPARE(manager->connectToCamera(), result);
    QCOMPARE(server->connectionCount(), exchanges < 0 ? camera.commands().size() : exchanges);
    // A server too old to report a version leaves the stored one alone.
    QCOMPARE(context->settings()->serverVersion(), quint16(version == -1 ? 0 : version));
}

void TestStartupManager::versionHint_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("hint");
    QTest::addRow("2.11.3") << 21103 << "2.11.x";
    QTest::addRow("2.11.99") << 21199 << "2.11.x";
    QTest::addRow("3.12.0") << 31200 << "3.12.x";
    QTest::addRow("1.6.0") << 10600 << "1.6.x";
    QTest::addRow("no version yet") << 0 << "0.0.x";
}

void TestStartupManager::versionHint()
{
    QFETCH(int, version);
    QFETCH(QString, hint);
    context->settings()->setServerVersion(static_cast<quint16>(version));
    QCOMPARE(manager->serverVersionHint(), hint);
}

void TestStartupManager::chipSupport_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<int>("partVersion");
    QTest::addColumn<StartupManager::StartupResult>("result");
    QTest::addRow("zc320 part 5") << 2 << 5 << StartupManager::ChipTooOld;
    QTest::addRow("zc320 part 6") << 2 << 6 << StartupManager::Success;
    QTest::addRow("zc210 part 5") << 3 << 5 << StartupManager::ChipTooOld;
    QTest::addRow("zc210 part 6") << 3 << 6 << StartupManager::Success;
    QTest::addRow("zc310 part 0") << 4 << 0 << StartupManager::Success;
    QTest::addRow("zc310 part -1") << 4 << -1 << StartupManager::Success;
    QTest::addRow("zc220 part 1") << 5 << 1 << StartupManager::Success;
    QTest::addRow("chip type 1 part 9") << 1 << 9 << StartupManager::ChipTooOld;
    QTest::addRow("chip type 0") << 0 << 9 << StartupManager::ChipTooOld;
    QTest::addRow("chip type 6") << 6 << 9 << StartupManager::ChipTooOld;
    QTest::addRow("chip type -1") << -1 << 9 << StartupManager::ChipTooOld;
}

void TestStartupManager::chipSupport()
{
    QFETCH(int, chipType);
    QFETCH(int, partVersion);
    QFETCH(StartupManager::StartupResult, result);
    CameraScript camera;
    camera.chipType = static_cast<qint16>(chipType);
    camera.partVersion = static_cast<qint16>(partVersion);
    QCOMPARE(runAgainst(camera), result);
    QCOMPARE(context->settings()->chipType(), chipType);
    QCOMPARE(context->settings()->partVersion(), partVersion);
    if (result == StartupManager::ChipTooOld) {
        // Nothing after the part version is asked for an unsupported chip.
        QCOMPARE(server->commands().last(), Commands::getPartVersion());
        QCOMPARE(context->settings()->flim()->flimChip(), false);
    }
}

void TestStartupManager::flimChipReadsItsStep()
{
    CameraScript camera;
    camera.chipType = 5;
    camera.flimStep = 312;
    QSignalSpy modeSpy(context->settings(), &Settings::modeIndexChanged);
    QSignalSpy offsetSpy(context->settings()->settings3D(), &Settings3D::automaticOffsetChanged);
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    QVERIFY(context->settings()->flim()->flimChip());
    QCOMPARE(context->settings()->flim()->step(), 0.312);
    QCOMPARE(context->settings()->modeIndex(), 10);
    // The FLIM mode is entered silently; the automatic offset is announced.
    QCOMPARE(modeSpy.count(), 0);
    QCOMPARE(offsetSpy.count(), 1);
    QCOMPARE(offsetSpy.first().first().toInt(), -20);
    QCOMPARE(server->commands(), camera.commands());
}

void TestStartupManager::faceIdFrequenciesNeedACalibration()
{
    CameraScript camera;
    camera.frequenciesKHz = {20000, 10000, 5000, 2500, 1250, 625, 30000, 15000};
    camera.calibrationTypes = {21, 1, -1, 0, 5, 0, 0, 2};
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    const SettingsModulation* modulation = context->settings()->modulation();
    QCOMPARE(modulation->frequencyCount(), 7);
    for (int i = 0; i < 6; ++i)
        QVERIFY2(modulation->labels().at(i).endsWith(QLatin1String(" MHz")),
                 qPrintable(modulation->labels().at(i)));
    QCOMPARE(modulation->labels().at(6), QStringLiteral("15.00 MHz faceID"));
    QCOMPARE(modulation->frequenciesHz().at(6), 15000000);
    // Calibration types only for the entries added, standard ones whatever their type.
    QCOMPARE(modulation->calibrationTypes(), (QVector<int>{21, 1, -1, 0, 5, 0, 2}));
    // The camera knows the faceID entry by its own position, past the dropped one.
    QCOMPARE(modulation->serverIndex(5), 5);
    QCOMPARE(modulation->serverIndex(6), 7);
    // Every frequency was asked for its calibration type, the dropped one too.
    QCOMPARE(server->commands(), camera.commands());
}

void TestStartupManager::frequencyLabels_data()
{
    QTest::addColumn<int>("kHz");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("hz");
    QTest::addRow("20000 kHz") << 20000 << "20.00 MHz" << 20000000;
    QTest::addRow("2500 kHz") << 2500 << "2.50 MHz" << 2500000;
    QTest::addRow("12500 kHz") << 12500 << "12.50 MHz" << 12500000;
    QTest::addRow("zero") << 0 << "0.00 MHz" << 0;
    QTest::addRow("too large for Hz is clamped") << 3000000 << "3000.00 MHz" << 2147483647;
}

void TestStartupManager::frequencyLabels()
{
    QFETCH(int, kHz);
    QFETCH(QString, label);
    QFETCH(int, hz);
    CameraScript camera;
    camera.frequenciesKHz = {kHz};
    camera.calibrationTypes = {1};
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    QCOMPARE(context->settings()->modulation()->labels(), QStringList{label});
    QCOMPARE(context->settings()->modulation()->frequenciesHz(), QVector<int>{hz});
}

void TestStartupManager::unansweredFrequencyListGivesTheFallback_data()
{
    QTest::addColumn<bool>("listFrequencies");
    QTest::addColumn<QByteArray>("reply");
    QTest::addRow("closed without reply") << false << QByteArray();
    QTest::addRow("less than one value") << true << QByteArray("\x20\x4e\x00", 3);
}

void TestStartupManager::unansweredFrequencyListGivesTheFallback()
{
    QFETCH(bool, listFrequencies);
    QFETCH(QByteArray, reply);
    CameraScript camera;
    camera.listFrequencies = listFrequencies;
    camera.frequencyReply = reply;
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    const SettingsModulation* modulation = context->settings()->modulation();
    QCOMPARE(modulation->labels(),
             (QStringList{"20 MHz", "10 MHz", "5 MHz", "2.5 MHz", "1.25 MHz", "625 kHz"}));
    QCOMPARE(modulation->frequenciesHz(),
             (QVector<int>{20000000, 10000000, 5000000, 2500000, 1250000, 625000}));
    QVERIFY(modulation->calibrationTypes().isEmpty());
    // No calibration type is asked for, and the sequence goes on.
    QVERIFY(
        !server->commands().join(QLatin1Char('\n')).contains(QLatin1String("getCalibrationTypeForFreqIdx")));
    QCOMPARE(context->settings()->chipType(), 2);
}

void TestStartupManager::failureAfterTheVersionEndsTheSequence_data()
{
    QTest::addColumn<int>("reachableExchanges");
    QTest::addColumn<QString>("lastCommand");
    // Version, IC version, frequency list and six calibration types come first.
    QTest::addRow("IC version") << 1 << Commands::getIcVersion();
    QTest::addRow("chip-type register select") << 9 << Commands::selectChipTypeRegister();
    QTest::addRow("chip type") << 10 << Commands::readChipType();
    QTest::addRow("part version") << 11 << Commands::getPartVersion();
    QTest::addRow("offset") << 12 << Commands::getOffset();
}

void TestStartupManager::failureAfterTheVersionEndsTheSequence()
{
    QFETCH(int, reachableExchanges);
    QFETCH(QString, lastCommand);
    // The camera answers the first exchanges, then the address stops answering: moved to a
    // port where nothing listens as soon as the given number of exchanges went through.
    CameraScript camera;
    server->setScript(camera.steps());
    ZelTcp* tcp = context->tcp();
    const quint16 deadPort = ScriptedServer::unusedPort();
    int exchanges = 0;
    connect(tcp, &ZelTcp::finishedCommand, this, [&](QByteArray&) {
        if (++exchanges == reachableExchanges)
            context->settings()->socket()->setPort(deadPort);
    });
    QCOMPARE(manager->connectToCamera(), StartupManager::ConnectionFailed);
    QCOMPARE(server->commands().size(), reachableExchanges);
    QCOMPARE(camera.commands().at(reachableExchanges), lastCommand);
}

void TestStartupManager::repeatedRunAppendsFrequencies()
{
    CameraScript camera;
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    QCOMPARE(runAgainst(camera), StartupManager::Success);
    QCOMPARE(context->settings()->modulation()->frequencyCount(), 12);
}

void TestStartupManager::garbledFrequencyListIsCut()
{
    CameraScript camera;
    // 100 000 "frequencies" and a trailing partial value.
    camera.frequencyReply = QByteArray(400000, '\x01') + QByteArray(3, '\x02');
    camera.calibrationTypes = QVector<qint16>(64, 1);
    QList<ScriptedServer::Step> steps = camera.steps().mid(0, 3);
    for (int i = 0; i < 64; ++i)
        steps << ScriptedServer::Step::answer(CameraScript::int16(1));
    steps << camera.steps().mid(3 + camera.frequencyCount());
    server->setScript(steps);
    QCOMPARE(manager->connectToCamera(), StartupManager::Success);
    QCOMPARE(context->settings()->modulation()->frequencyCount(), 64);
    QCOMPARE(server->commands().size(), 3 + 64 + 4);
    QCOMPARE(context->settings()->chipType(), 2);
}

void TestStartupManager::lastIpStore()
{
    {
        QSettings store(QStringLiteral("<Zel>"), QStringLiteral("<Vazazazzc320>"));
        store.clear();
    }
    QCOMPARE(manager->lastIp(), QString());
    manager->storeLastIp(QStringLiteral("127.0.0.7"));
    QCOMPARE(manager->lastIp(), QStringLiteral("127.0.0.7"));
    // Another manager, as at the next start, reads the same key.
    StartupManager next(context.get());
    QCOMPARE(next.lastIp(), QStringLiteral("127.0.0.7"));
    QSettings store(QStringLiteral("<Zel>"), QStringLiteral("<Vazazazzc320>"));
    QCOMPARE(store.value(QStringLiteral("IP")).toString(), QStringLiteral("127.0.0.7"));
    QVERIFY2(store.fileName().startsWith(storeDir.path()), qPrintable(store.fileName()));
    QCOMPARE(store.allKeys(), QStringList{QStringLiteral("IP")});
}

void TestStartupManager::resetImageAveragingSendsZero()
{
    server->setScript({ScriptedServer::Step::answer(QByteArray())});
    manager->resetImageAveraging();
    QCOMPARE(server->commands(), QStringList{Commands::setImageAveraging(0)});
    QCOMPARE(server->commands().first(), QStringLiteral("setImageAveraging 0"));
}

KESTRANE_TEST_MAIN(TestStartupManager)
#include "tst_startupmanager.moc"
