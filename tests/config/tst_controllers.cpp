#include "app/ApplicationContext.h"
#include "config/Controller3D.h"
#include "config/ControllerBinningAndReduction.h"
#include "config/ControllerDataValidation.h"
#include "config/ControllerDistanceCalculation.h"
#include "config/ControllerFLIM.h"
#include "config/ControllerImage.h"
#include "config/ControllerIntegrationTime.h"
#include "config/ControllerModulation.h"
#include "config/ControllerROI.h"
#include "config/ControllerTransformation.h"
#include "settings/Settings.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The ten setting controllers on one context, talking to a scripted camera on loopback.
struct Rig
{
    Rig()
    {
        connectTo(server.port());
        // The offset re-read that a resume adds is checked where the order of a whole
        // transaction matters.
        settings()->setReadOffsetOnResume(false);
        settings()->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
        settings()->modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    }
    void connectTo(quint16 port)
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(port);
    }
    Settings* settings() { return context.settings(); }

    ScriptedServer server{{ScriptedServer::Step::answer(QByteArray())}};
    ApplicationContext context;
    ControllerIntegrationTime integrationTime{&context};
    Controller3D tof{&context};
    ControllerModulation modulation{&context};
    ControllerROI roi{&context};
    ControllerBinningAndReduction binning{&context};
    ControllerDistanceCalculation calculation{&context};
    ControllerDataValidation validation{&context};
    ControllerImage image{&context};
    ControllerFLIM flim{&context};
};

using Action = std::function<void(Rig&)>;
// The hub after the transaction, as text, so that a table row can state it.
using Probe = std::function<QString(Rig&)>;

QString roiText(Settings* s)
{
    const SettingsROI* r = s->roi();
    return QStringLiteral("%1 %2 %3 %4").arg(r->x1()).arg(r->x2()).arg(r->y1()).arg(r->y2());
}

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Probe)

class TestControllers : public QObject
{
    Q_OBJECT

private slots:
    void stoppedTransaction_data();
    void stoppedTransaction();
    void streamingTransaction();
    void roiWhileStreaming();
    void twoEntriesOnOnePause();
    void modulationReadsOffsetOnce();
    void unansweredPauseIsBounded();
    void cameraSwitchedOff();
    void flipsSendNothing();
};

void TestControllers::stoppedTransaction_data()
{
    QTest::addColumn<Action>("setup");
    QTest::addColumn<Action>("entry");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<Probe>("probe");
    QTest::addColumn<QString>("hub");

    const Action none = [](Rig&) {};
    QTest::addRow("integration time 3D")
        << none << Action([](Rig& r) { r.integrationTime.changeIntegrationTime3D(500); })
        << QStringList{"setIntegrationTime3D 500"}
        << Probe([](Rig& r) { return QString::number(r.settings()->integrationTime()->integrationTime3D()); })
        << "500";
    QTest::addRow("integration time 2D and HDR")
        << none << Action([](Rig& r) {
               r.integrationTime.changeIntegrationTime2D(8000);
               r.integrationTime.changeIntegrationTime3DHDR(300);
           })
        << QStringList{"setIntegrationTime2D 8000", "setIntegrationTime3DHDR 300"} << Probe([](Rig& r) {
               const SettingsIntegrationTime* t = r.settings()->integrationTime();
               return QStringLiteral("%1 %2").arg(t->integrationTime2D()).arg(t->integrationTime3DHDR());
           })
        << "8000 300";
    QTest::addRow("amplitude minimum")
        << none << Action([](Rig& r) { r.tof.changeMinAmplitude(120); }) << QStringList{"setMinAmplitude 120"}
        << Probe([](Rig& r) { return QString::number(r.settings()->settings3D()->minAmplitude()); }) << "120";
    QTest::addRow("hysteresis 0 switches off and keeps the hub value")
        << Action([](Rig& r) { r.settings()->settings3D()->setHysteresis(40); })
        << Action([](Rig& r) { r.tof.changeHysteresis(0); }) << QStringList{"setHysteresis 0"}
        << Probe([](Rig& r) { return QString::number(r.settings()->settings3D()->hysteresis()); }) << "40";
    QTest::addRow("manual offset")
        << Action([](Rig& r) { r.settings()->settings3D()->setAutoOffsetEnabled(false); })
        << Action([](Rig& r) { r.tof.changeOffset(-20); })
        << QStringList{"enableDefaultOffset 0", "setOffset -20"}
        << Probe([](Rig& r) { return QString::number(r.settings()->settings3D()->manualOffset()); }) << "-20";
    QTest::addRow("automatic offset leaves the manual one")
        << Action([](Rig& r) { r.settings()->settings3D()->setManualOffset(7); })
        << Action([](Rig& r) { r.tof.changeOffset(-20); })
        << QStringList{"enableDefaultOffset 1", "setOffset -20"}
        << Probe([](Rig& r) { return QString::number(r.settings()->settings3D()->manualOffset()); }) << "7";
    QTest::addRow("default offset") << none << Action([](Rig& r) { r.tof.useDefaultOffset(); })
                                    << QStringList{"enableDefaultOffset 1"}
                                    << Probe([](Rig&) { return QString(); }) << "";
    QTest::addRow("temperature offset correction") << none << Action([](Rig& r) {
        r.tof.changeOffsetTemperatureCorrection(true);
    }) << QStringList{"enableTempCorrection 1"} << Probe([](Rig& r) {
        return QVariant(r.settings()->settings3D()->temperatureOffsetCorrection()).toString();
    }) << "true";
    QTest::addRow("modulation frequency")
        << none << Action([](Rig& r) { r.modulation.changeModulationFrequency(0); })
        << QStringList{"setModulationFrequency 0"} << Probe([](Rig& r) {
               return QStringLiteral("%1 %2")
                   .arg(r.settings()->modulation()->frequencyIndex())
                   .arg(r.settings()->readOffsetOnResume());
           })
        << "0 0";
    QTest::addRow("ROI of a mirrored-half sensor")
        << Action([](Rig& r) { r.settings()->setChipType(2); })
        << Action([](Rig& r) { r.roi.changeRoi(4, 323, 6, 245); }) << QStringList{"setROI 4 323 6 125"}
        << Probe([](Rig& r) { return roiText(r.settings()); }) << "4 323 6 245";
    QTest::addRow("ROI of a single-half sensor")
        << Action([](Rig& r) { r.settings()->setChipType(4); })
        << Action([](Rig& r) { r.roi.changeRoi(4, 323, 6, 245); }) << QStringList{"setROI 4 323 6 245"}
        << Probe([](Rig& r) { return roiText(r.settings()); }) << "4 323 6 245";
    QTest::addRow("vertical binning re-sends the row reduction")
        << none << Action([](Rig& r) { r.binning.changeVerticalBinning(true, 2); })
        << QStringList{"enableVerticalBinning 1", "setRowReduction 2"} << Probe([](Rig& r) {
               const SettingsBinningAndReduction* b = r.settings()->binningAndReduction();
               return QStringLiteral("%1 %2 %3")
                   .arg(b->verticalBinning())
                   .arg(b->rowFactor())
                   .arg(r.binning.rowReductionIndex());
           })
        << "1 4 2";
    QTest::addRow("horizontal binning")
        << none << Action([](Rig& r) { r.binning.changeHorizontalBinning(true); })
        << QStringList{"enableHorizontalBinning 1"} << Probe([](Rig& r) {
               return QString::number(r.settings()->binningAndReduction()->horizontalFactor());
           })
        << "2";
    QTest::addRow("polynomial counts the LFSR from 1") << none << Action([](Rig& r) {
        r.calculation.changePolynomial(3, 1);
    }) << QStringList{"selectPolynomial 4 1"} << Probe([](Rig& r) {
        const SettingsDistanceCalculation* c = r.settings()->distanceCalculation();
        return QStringLiteral("%1 %2").arg(c->lfsrIndex()).arg(c->polynomialIndex());
    }) << "3 1";
    QTest::addRow("modulation mode, HDR, dual MGX, pi delay") << none << Action([](Rig& r) {
        r.calculation.changeModulationMode(2);
        r.calculation.changeHdr(true);
        r.calculation.changeDualMGX(true);
        r.calculation.changePiDelay(false);
    }) << QStringList{"selectMode 2", "enableHDR 1", "enableDualMGX 1", "enablePiDelay 0"}
                                                              << Probe([](Rig& r) {
                                                                     const SettingsDistanceCalculation* c =
                                                                         r.settings()->distanceCalculation();
                                                                     return QStringLiteral("%1 %2 %3 %4")
                                                                         .arg(c->modulationIndex())
                                                                         .arg(c->hdr())
                                                                         .arg(c->dualMGX())
                                                                         .arg(r.calculation.modulationMode());
                                                                 })
                                                              << "2 1 1 2";
    QTest::addRow("data validation")
        << none << Action([](Rig& r) {
               r.validation.changeSaturation(true);
               r.validation.changeAdcOverflow(true);
           })
        << QStringList{"enableSaturation 1", "enableAdcOverflow 1"} << Probe([](Rig& r) {
               const SettingsDataValidation* v = r.settings()->dataValidation();
               return QStringLiteral("%1 %2").arg(v->saturation()).arg(v->adcOverflow());
           })
        << "1 1";
    QTest::addRow("image averaging") << none << Action([](Rig& r) { r.image.changeImageAveraging(4); })
                                     << QStringList{"setImageAveraging 4"}
                                     << Probe([](Rig&) { return QString(); }) << "";
    QTest::addRow("FLIM timing in steps") << none << Action([](Rig& r) {
        r.flim.changeFlashDelay(10);
        r.flim.changeT3(33);
        r.flim.changeTREP(400);
        r.flim.changeRepetitions(5);
    }) << QStringList{"FLIMSetFlashDelay 10", "FLIMSetT3 33", "FLIMSetTREP 400", "FLIMSetRepetitions 5"}
                                          << Probe([](Rig& r) {
                                                 const SettingsFLIM* f = r.settings()->flim();
                                                 return QStringLiteral("%1 %2 %3 %4")
                                                     .arg(f->flashDelay())
                                                     .arg(f->mgbDelay())
                                                     .arg(f->repetitionTime())
                                                     .arg(f->repetitions());
                                             })
                                          << "10 33 400 5";
}

// With acquisition stopped the whole transaction, hub update and unlock included, completes
// inside the entry; video is not started.
void TestControllers::stoppedTransaction()
{
    QFETCH(Action, setup);
    QFETCH(Action, entry);
    Rig rig;
    setup(rig);
    QSignalSpy unlocked(rig.settings(), &Settings::fieldsLocked);
    QSignalSpy started(rig.settings(), &Settings::started);

    entry(rig);

    QTEST(rig.server.commands(), "commands");
    QFETCH(Probe, probe);
    QTEST(probe(rig), "hub");
    QVERIFY(!unlocked.isEmpty());
    for (const QList<QVariant>& call : qAsConst(unlocked))
        QCOMPARE(call.at(0).toBool(), false);
    QCOMPARE(started.count(), 0);
}

void TestControllers::streamingTransaction()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy started(s, &Settings::started);
    QSignalSpy unlocked(s, &Settings::fieldsLocked);

    rig.integrationTime.changeIntegrationTime3D(500);
    QCOMPARE(rig.server.connectionCount(), 0);
    QCOMPARE(s->integrationTime()->integrationTime3D(), 700);

    s->pauseAcquisition();
    QCOMPARE(rig.server.commands(), QStringList{"setIntegrationTime3D 500"});
    QCOMPARE(s->integrationTime()->integrationTime3D(), 500);
    QCOMPARE(started.count(), 1);
    QCOMPARE(unlocked.count(), 1);
    // Nothing left connected: another pause sends nothing.
    s->pauseAcquisition();
    QCOMPARE(rig.server.connectionCount(), 1);
}

void TestControllers::roiWhileStreaming()
{
    Rig rig;
    Settings* s = rig.settings();
    s->setChipType(4);
    s->startAcquisition();
    QStringList events;
    connect(s, &Settings::stopped, this, [&] { events << "stopped"; });
    connect(s, &Settings::pauseRequested, this, [&] { events << "pause requested"; });
    connect(s->roi(), &SettingsROI::roiChanged, this, [&] { events << "roi"; });
    connect(s, &Settings::started, this, [&] { events << "started"; });
    connect(s, &Settings::startedVideo, this, [&] { events << "startedVideo"; });

    rig.roi.changeRoi(10, 101, 6, 65);
    s->pauseAcquisition();
    QCOMPARE(events, (QStringList{"stopped", "pause requested", "roi", "started", "startedVideo"}));
    QCOMPARE(rig.server.commands(), QStringList{"setROI 10 101 6 65"});
}

// Two entries of one controller pending on one pause both go out, in entry order; an entry
// repeated for the same slot sends once, with the latest value.
void TestControllers::twoEntriesOnOnePause()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy started(s, &Settings::started);

    rig.calculation.changeDualMGX(false);
    rig.calculation.changeHdr(true);
    rig.tof.changeMinAmplitude(10);
    rig.tof.changeMinAmplitude(30);
    s->pauseAcquisition();

    QCOMPARE(rig.server.commands(), (QStringList{"enableDualMGX 0", "enableHDR 1", "setMinAmplitude 30"}));
    QCOMPARE(s->settings3D()->minAmplitude(), 30);
    QCOMPARE(started.count(), 1);
    QVERIFY(s->videoActive());
}

// The frequency change re-reads the automatic offset inside the pause, and video restarts
// once even though the offset reader resumes too.
void TestControllers::modulationReadsOffsetOnce()
{
    Rig rig;
    Settings* s = rig.settings();
    rig.server.setScript({ScriptedServer::Step::answer(QByteArray()),
                          ScriptedServer::Step::answer(QByteArray::fromHex("ecff"))});
    // The 3D panel's reaction: resume through its own controller, which reads the offset.
    connect(s->modulation(), &SettingsModulation::modulationFrequencyIndexChanged, this,
            [&] { rig.tof.pauseController()->resume(); });
    // The client's last entry is the camera's eighth (a frequency before it left out).
    s->modulation()->addFrequency(QStringLiteral("15.00 MHz faceID"), 15000000, 7);
    const int last = s->modulation()->frequencyCount() - 1;
    s->startAcquisition();
    QSignalSpy started(s, &Settings::started);

    rig.modulation.changeModulationFrequency(last);
    s->pauseAcquisition();

    QCOMPARE(rig.server.commands(), (QStringList{"setModulationFrequency 7", "getOffset"}));
    QCOMPARE(s->modulation()->frequencyIndex(), last);
    QCOMPARE(s->settings3D()->automaticOffset(), -20);
    QCOMPARE(started.count(), 1);
    QVERIFY(!s->readOffsetOnResume());
}

// A loop that never answers the pause does not lock the panels for good.
void TestControllers::unansweredPauseIsBounded()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy unlocked(s, &Settings::fieldsLocked);

    rig.binning.changeRowReduction(1);
    QCOMPARE(rig.server.connectionCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(unlocked.count(), 1, Controller::kPauseAnswerWait + 2000);
    QCOMPARE(rig.server.commands(), QStringList{"setRowReduction 1"});
    QVERIFY(s->videoActive());
}

// Every entry still updates the hub and unlocks the fields, and each lost command is
// announced with its text.
void TestControllers::cameraSwitchedOff()
{
    Rig rig;
    Settings* s = rig.settings();
    rig.connectTo(ScriptedServer::unusedPort());
    QSignalSpy unlocked(s, &Settings::fieldsLocked);
    QSignalSpy failed(s, &Settings::commandFailed);

    rig.integrationTime.changeIntegrationTime3D(900);
    rig.binning.changeVerticalBinning(true, 1);
    rig.tof.changeOffset(30);

    QCOMPARE(s->integrationTime()->integrationTime3D(), 900);
    QCOMPARE(s->binningAndReduction()->rowFactor(), 2);
    QCOMPARE(unlocked.count(), 3);
    QStringList lost;
    for (const QList<QVariant>& call : qAsConst(failed))
        lost << call.at(0).toString();
    QCOMPARE(lost, (QStringList{"setIntegrationTime3D 900", "enableVerticalBinning 1", "setRowReduction 1",
                                "enableDefaultOffset 1", "setOffset 30"}));
}

void TestControllers::flipsSendNothing()
{
    Rig rig;
    ControllerTransformation transformation(&rig.context);
    QSignalSpy flipped(rig.settings()->transformation(), &SettingsTransformation::verticalFlipped);
    transformation.changeVerticalFlip(true);
    transformation.changeHorizontalFlip(true);
    QCOMPARE(flipped.count(), 1);
    QVERIFY(rig.settings()->transformation()->horizontalFlip());
    QCOMPARE(rig.server.connectionCount(), 0);
}

KESTRANE_TEST_MAIN(TestControllers)
#include "tst_controllers.moc"
