#include "app/ApplicationContext.h"
#include "config/ControllerView.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QtTest>

#include <clocale>
#include <functional>
#include <memory>

namespace {

using Entry = std::function<void(ControllerView&)>;

QByteArray int16Words(const QVector<int>& values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(v & 0xff));
        bytes.append(char((v >> 8) & 0xff));
    }
    return bytes;
}

// A client wired to a scripted camera on loopback, as the view panel holds it.
struct Rig
{
    explicit Rig(const QList<ScriptedServer::Step>& script = {ScriptedServer::Step::answer(QByteArray())})
        : server(script)
    {
        connectTo(server.port());
        // Most checks look at the transaction's own command; the offset re-read that the
        // resume adds is checked where the order of a whole transaction is.
        settings()->setReadOffsetOnResume(false);
        view = std::make_unique<ControllerView>(&context);
    }
    void connectTo(quint16 port)
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(port);
    }
    Settings* settings() { return context.settings(); }

    ScriptedServer server;
    ApplicationContext context;
    std::unique_ptr<ControllerView> view;
};

// Two modulation frequencies as the camera lists them: index 0 is 10 MHz, index 1 20 MHz.
void addFrequencies(Settings* settings)
{
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
}

QByteArray state(const SimulatorProcess& sim, const QByteArray& key)
{
    for (const QByteArray& line : sim.exchange("sim.state").split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QByteArray("missing");
}

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestControllerView : public QObject
{
    Q_OBJECT

private slots:
    void commandTexts_data();
    void commandTexts();
    void timeoutClass_data();
    void timeoutClass();
    void hubWrittenAtEntry();
    void hubAfterCommand();
    void temperatureAfterResume();
    void availability_data();
    void availability();
    void kalmanThresholds();
    void thresholdConvertedWhenSent();
    void fractionsWhateverTheLocale_data();
    void fractionsWhateverTheLocale();
    void loadViewConfig_data();
    void loadViewConfig();
    void drnuTable_data();
    void drnuTable();
    void hideDrnu();
    void interpolationTwice();
    void interpolationWithoutCamera();
    void transactionWhileStreaming();
    void sameSlotTwiceWhilePending();
    void pauseForView();
    void cameraSwitchedOff();
    void againstTheSimulator();
};

void TestControllerView::commandTexts_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<QString>("command");

    QTest::addRow("interpolation on")
        << Entry([](ControllerView& v) { v.changeInterpolation(true); }) << "getBadPixels";
    QTest::addRow("grayscale offset on")
        << Entry([](ControllerView& v) { v.changeGrayscaleOffset(true); }) << "correctGrayscaleOffset 1";
    QTest::addRow("grayscale offset off")
        << Entry([](ControllerView& v) { v.changeGrayscaleOffset(false); }) << "correctGrayscaleOffset 0";
    QTest::addRow("grayscale gain on")
        << Entry([](ControllerView& v) { v.changeGrayscaleGain(true); }) << "correctGrayscaleGain 1";
    QTest::addRow("grayscale gain off")
        << Entry([](ControllerView& v) { v.changeGrayscaleGain(false); }) << "correctGrayscaleGain 0";
    QTest::addRow("DRNU on") << Entry([](ControllerView& v) { v.changeDrnu(true); }) << "correctDRNU 2";
    QTest::addRow("DRNU off") << Entry([](ControllerView& v) { v.changeDrnu(false); }) << "correctDRNU 0";
    QTest::addRow("show DRNU") << Entry([](ControllerView& v) { v.changeShowDrnu(true); }) << "showDRNU";
    QTest::addRow("hide DRNU") << Entry([](ControllerView& v) { v.changeShowDrnu(false); }) << "hideDRNU";
    QTest::addRow("temperature on") << Entry([](ControllerView& v) { v.changeTemperatureCorrection(true); })
                                    << "correctTemperature 2";
    QTest::addRow("temperature off") << Entry([](ControllerView& v) { v.changeTemperatureCorrection(false); })
                                     << "correctTemperature 0";
    QTest::addRow("grayscale available?")
        << Entry([](ControllerView& v) { v.queryGrayscaleCorrection(); }) << "isGrayscaleCorrectionAvailable";
    QTest::addRow("DRNU available?") << Entry([](ControllerView& v) { v.queryDrnuCorrection(); })
                                     << "isDRNUAvailable";
    QTest::addRow("FLIM available?") << Entry([](ControllerView& v) { v.queryFlimCorrection(); })
                                     << "isFlimCorrectionAvailable";
    QTest::addRow("ABS on") << Entry([](ControllerView& v) { v.changeAbs(true); }) << "setABS 1";
    QTest::addRow("ABS off") << Entry([](ControllerView& v) { v.changeAbs(false); }) << "setABS 0";
    QTest::addRow("Kalman 1") << Entry([](ControllerView& v) { v.changeKalman(1); }) << "Kalman 1";
    QTest::addRow("Kalman 2") << Entry([](ControllerView& v) { v.changeKalman(2); }) << "Kalman 2";
    QTest::addRow("Kalman 3") << Entry([](ControllerView& v) { v.changeKalman(3); }) << "Kalman 3";
    QTest::addRow("Kalman off") << Entry([](ControllerView& v) { v.changeKalman(0); }) << "Kalman 0";
    QTest::addRow("Kalman 5 is off") << Entry([](ControllerView& v) { v.changeKalman(5); }) << "Kalman 0";
    QTest::addRow("Kalman -1 is off") << Entry([](ControllerView& v) { v.changeKalman(-1); }) << "Kalman 0";
    QTest::addRow("interference detection on")
        << Entry([](ControllerView& v) { v.changeDistortionDetection(true); }) << "enableArgCheck 1";
    QTest::addRow("interference detection off")
        << Entry([](ControllerView& v) { v.changeDistortionDetection(false); }) << "enableArgCheck 0";
    QTest::addRow("K") << Entry([](ControllerView& v) { v.changeKalmanK(0.25); }) << "setKalmanK 0.2500";
    QTest::addRow("Q") << Entry([](ControllerView& v) { v.changeKalmanQ(2.0); }) << "setKalmanQ 2.0000";
    QTest::addRow("K diff") << Entry([](ControllerView& v) { v.changeKalmanDiff(0.5); })
                            << "setKalmanKdiff 0.50";
    // Without a frequency list the range is that of the 20 MHz fallback: 750 cm.
    QTest::addRow("threshold 1") << Entry([](ControllerView& v) { v.updateKalmanThreshold1(30); })
                                 << "setKalmanThreshold 1200";
    QTest::addRow("threshold 2") << Entry([](ControllerView& v) { v.updateKalmanThreshold2(15); })
                                 << "setKalmanThreshold2 600";
    QTest::addRow("threshold 3 shares the first register")
        << Entry([](ControllerView& v) { v.changeKalmanThreshold3(25); }) << "setKalmanThreshold 1000";
    QTest::addRow("number of checks")
        << Entry([](ControllerView& v) { v.changeKalmanNumChecks(7); }) << "setKalmanNumCheck 7";
    QTest::addRow("checks reset") << Entry([](ControllerView& v) { v.resetKalmanNumChecks(); })
                                  << "setKalmanNumCheck 0";
    QTest::addRow("FLIM DSNU on") << Entry([](ControllerView& v) { v.changeFlimDsnu(true); })
                                  << "correctFlimOffset 1";
    QTest::addRow("FLIM DSNU off") << Entry([](ControllerView& v) { v.changeFlimDsnu(false); })
                                   << "correctFlimOffset 0";
    QTest::addRow("FLIM PRNU on") << Entry([](ControllerView& v) { v.changeFlimPrnu(true); })
                                  << "correctFlimGain 1";
    QTest::addRow("FLIM PRNU off") << Entry([](ControllerView& v) { v.changeFlimPrnu(false); })
                                   << "correctFlimGain 0";
    QTest::addRow("Gauss on") << Entry([](ControllerView& v) { v.changeGaussFilter(true); })
                              << "filterMode 3";
    QTest::addRow("Gauss off") << Entry([](ControllerView& v) { v.changeGaussFilter(false); })
                               << "filterMode 0";
    QTest::addRow("Gauss iterations")
        << Entry([](ControllerView& v) { v.changeGaussFilterIterations(12); }) << "nloopFilter 12";
    QTest::addRow("view config grayscale")
        << Entry([](ControllerView& v) { v.loadViewConfig(0); }) << "loadConfig 0";
    QTest::addRow("view config distance")
        << Entry([](ControllerView& v) { v.loadViewConfig(1); }) << "loadConfig 1";
}

// With acquisition stopped the whole transaction, command and unlock included, happens inside
// the entry; exactly one line goes out and video is not started.
void TestControllerView::commandTexts()
{
    QFETCH(Entry, entry);
    QFETCH(QString, command);

    Rig rig;
    QSignalSpy unlocked(rig.settings(), &Settings::fieldsLocked);
    QSignalSpy started(rig.settings(), &Settings::started);

    entry(*rig.view);

    QCOMPARE(rig.server.commands(), QStringList{command});
    QCOMPARE(unlocked.count(), 1);
    QCOMPARE(unlocked.at(0).at(0).toBool(), false);
    QCOMPARE(started.count(), 0);
}

void TestControllerView::timeoutClass_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<int>("timeout");

    QTest::addRow("loadConfig") << Entry([](ControllerView& v) { v.loadViewConfig(3); }) << 500;
    QTest::addRow("getBadPixels") << Entry([](ControllerView& v) { v.changeInterpolation(true); }) << 5000;
    QTest::addRow("correctGrayscaleOffset")
        << Entry([](ControllerView& v) { v.changeGrayscaleOffset(true); }) << 5000;
    QTest::addRow("correctGrayscaleGain")
        << Entry([](ControllerView& v) { v.changeGrayscaleGain(false); }) << 5000;
    QTest::addRow("correctDRNU") << Entry([](ControllerView& v) { v.changeDrnu(true); }) << 20000;
    QTest::addRow("showDRNU") << Entry([](ControllerView& v) { v.changeShowDrnu(true); }) << 5000;
    QTest::addRow("hideDRNU") << Entry([](ControllerView& v) { v.changeShowDrnu(false); }) << 5000;
    QTest::addRow("correctTemperature")
        << Entry([](ControllerView& v) { v.changeTemperatureCorrection(true); }) << 5000;
    QTest::addRow("isGrayscaleCorrectionAvailable")
        << Entry([](ControllerView& v) { v.queryGrayscaleCorrection(); }) << 5000;
    QTest::addRow("isDRNUAvailable") << Entry([](ControllerView& v) { v.queryDrnuCorrection(); }) << 5000;
    QTest::addRow("isFlimCorrectionAvailable")
        << Entry([](ControllerView& v) { v.queryFlimCorrection(); }) << 5000;
    QTest::addRow("setABS") << Entry([](ControllerView& v) { v.changeAbs(true); }) << 100;
    QTest::addRow("Kalman") << Entry([](ControllerView& v) { v.changeKalman(2); }) << 100;
    QTest::addRow("setKalmanK") << Entry([](ControllerView& v) { v.changeKalmanK(0.5); }) << 100;
    QTest::addRow("setKalmanThreshold2")
        << Entry([](ControllerView& v) { v.updateKalmanThreshold2(3); }) << 100;
    QTest::addRow("nloopFilter") << Entry([](ControllerView& v) { v.changeGaussFilterIterations(2); }) << 100;
}

// The time-out class shows in how long the exchange waits for a camera that is slow to close:
// an answer that comes after the next shorter class must still be awaited, and a camera that
// never closes must be given up well before the next longer class. (The 5000 ms class is
// bounded from above only for showDRNU, the console sends the same text with 50000 ms; the
// longest class has no bound.)
void TestControllerView::timeoutClass()
{
    QFETCH(Entry, entry);
    QFETCH(int, timeout);

    const int shorter = timeout == 500 ? 100 : timeout == 5000 ? 500 : timeout == 20000 ? 5000 : 0;
    Rig rig;
    QElapsedTimer clock;
    if (shorter > 0) {
        const int delay = shorter + (timeout - shorter) / 8;
        rig.server.setScript({ScriptedServer::Step::answer(QByteArray(1, '\1'), delay)});
        clock.start();
        entry(*rig.view);
        // Timers may fire up to 5 % early.
        QVERIFY2(clock.elapsed() >= delay * 0.9, qPrintable(QString::number(clock.elapsed())));
    }
    const bool bounded = timeout <= 500 || QByteArray(QTest::currentDataTag()) == "showDRNU";
    if (bounded) {
        rig.server.setScript({ScriptedServer::Step::holdOpen()});
        clock.start();
        entry(*rig.view);
        const int longer = timeout == 100 ? 500 : timeout == 500 ? 5000 : 20000;
        QVERIFY2(clock.elapsed() >= timeout * 0.9, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(clock.elapsed() < (timeout + longer) / 2, qPrintable(QString::number(clock.elapsed())));
    }
}

// Entries that write the hub before the transaction: while streaming the value is there at
// once, the command follows the pause and carries the hub's value.
void TestControllerView::hubWrittenAtEntry()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy kSpy(s, &Settings::updateKalmanK);
    QSignalSpy qSpy(s, &Settings::updateKalmanQ);

    rig.view->changeKalman(2);
    rig.view->changeDistortionDetection(true);
    rig.view->changeKalmanK(0.75);
    rig.view->changeKalmanQ(3.5);
    rig.view->updateKalmanThreshold1(11);
    rig.view->updateKalmanThreshold2(12);
    rig.view->changeKalmanDiff(0.25);
    rig.view->changeKalmanThreshold3(13);
    rig.view->changeKalmanNumChecks(4);
    rig.view->changeFlimDsnu(false);
    rig.view->changeFlimPrnu(false);
    rig.view->changeGaussFilter(true);
    rig.view->changeGaussFilterIterations(9);

    QCOMPARE(rig.server.connectionCount(), 0);
    QCOMPARE(s->kalman(), 2);
    QCOMPARE(s->distortionDetection(), true);
    QCOMPARE(s->kalmanK(), 0.75);
    QCOMPARE(kSpy.count(), 1);
    QCOMPARE(kSpy.at(0).at(0).toDouble(), 0.75);
    QCOMPARE(s->kalmanQ(), 3.5);
    QCOMPARE(qSpy.count(), 1);
    QCOMPARE(s->kalmanThreshold1(), 11);
    QCOMPARE(s->kalmanThreshold2(), 12);
    QCOMPARE(s->kalmanDiff(), 0.25);
    QCOMPARE(s->kalmanThreshold3(), 13);
    QCOMPARE(s->kalmanNumChecks(), 4);
    QCOMPARE(s->flimDsnu(), false);
    QCOMPARE(s->flimPrnu(), false);
    QCOMPARE(s->gaussFilter(), true);
    QCOMPARE(s->gaussFilterIterations(), 9);

    // The loop pauses: the slots run in the order of the entries.
    s->pauseAcquisition();
    const QStringList expected{"Kalman 2",
                               "enableArgCheck 1",
                               "setKalmanK 0.7500",
                               "setKalmanQ 3.5000",
                               "setKalmanThreshold 440",
                               "setKalmanThreshold2 480",
                               "setKalmanKdiff 0.25",
                               "setKalmanThreshold 520",
                               "setKalmanNumCheck 4",
                               "correctFlimOffset 0",
                               "correctFlimGain 0",
                               "filterMode 3",
                               "nloopFilter 9"};
    QCOMPARE(rig.server.commands(), expected);
}

// ABS and the view mode reach the hub only once the command has been sent.
void TestControllerView::hubAfterCommand()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy absSpy(s->abs(), &SettingsABS::absChanged);
    QSignalSpy modeSpy(s, &Settings::modeIndexChanged);
    int connectionsAtAbs = -1;
    connect(s->abs(), &SettingsABS::absChanged, this,
            [&] { connectionsAtAbs = rig.server.connectionCount(); });

    rig.view->changeAbs(true);
    rig.view->loadViewConfig(4);
    QCOMPARE(absSpy.count(), 0);
    QCOMPARE(modeSpy.count(), 0);
    QCOMPARE(s->modeIndex(), 1);

    s->pauseAcquisition();
    QCOMPARE(rig.server.commands(), (QStringList{"setABS 1", "loadConfig 1"}));
    QCOMPARE(absSpy.count(), 1);
    QCOMPARE(absSpy.at(0).at(0).toBool(), true);
    QCOMPARE(connectionsAtAbs, 1);
    QCOMPARE(s->abs()->abs(), true);
    QCOMPARE(modeSpy.count(), 1);
    QCOMPARE(s->modeIndex(), 4);

    // Video runs again after the resume: the next switch waits for the next pause.
    QVERIFY(s->videoActive());
    rig.view->changeAbs(false);
    QCOMPARE(s->abs()->abs(), true);
    s->pauseAcquisition();
    QCOMPARE(s->abs()->abs(), false);
}

// The temperature switch is recorded after the resume, so the panels unlock first.
void TestControllerView::temperatureAfterResume()
{
    Rig rig;
    Settings* s = rig.settings();
    s->calibration()->setTemperatureCorrection(false);
    QVector<bool> atUnlock;
    connect(s, &Settings::fieldsLocked, this,
            [&](bool) { atUnlock.append(s->calibration()->temperatureCorrection()); });

    rig.view->changeTemperatureCorrection(true);
    QCOMPARE(atUnlock, QVector<bool>{false});
    QCOMPARE(s->calibration()->temperatureCorrection(), true);

    rig.view->changeTemperatureCorrection(false);
    QCOMPARE(atUnlock, (QVector<bool>{false, true}));
    QCOMPARE(s->calibration()->temperatureCorrection(), false);
}

void TestControllerView::availability_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("available");

    QTest::addRow("flag set") << QByteArray(1, '\1') << true;
    QTest::addRow("any non-zero first byte") << QByteArray("\x80\x00", 2) << true;
    QTest::addRow("flag clear") << QByteArray(1, '\0') << false;
    QTest::addRow("only the first byte counts") << QByteArray("\x00\x01", 2) << false;
    QTest::addRow("empty reply") << QByteArray() << false;
}

void TestControllerView::availability()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, available);

    Rig rig({ScriptedServer::Step::answer(reply)});
    Settings* s = rig.settings();
    s->calibration()->setGrayscaleCorrectionAvailable(!available);
    s->setDrnuAvailable(!available);
    s->setFlimCorrectionAvailable(!available);

    rig.view->queryGrayscaleCorrection();
    rig.view->queryDrnuCorrection();
    rig.view->queryFlimCorrection();

    QCOMPARE(s->calibration()->grayscaleCorrectionAvailable(), available);
    QCOMPARE(s->drnuAvailable(), available);
    QCOMPARE(s->flimCorrectionAvailable(), available);
}

// 25 cm is 500 LSB of a 1500 cm range (10 MHz) and 1000 of a 750 cm range (20 MHz); the hub
// re-sends both thresholds through the controller after a frequency change.
void TestControllerView::kalmanThresholds()
{
    Rig rig;
    Settings* s = rig.settings();
    addFrequencies(s);
    connect(s, &Settings::sendKalmanThreshold1, rig.view.get(),
            qOverload<int>(&ControllerView::updateKalmanThreshold1));
    connect(s, &Settings::sendKalmanThreshold2, rig.view.get(),
            qOverload<int>(&ControllerView::updateKalmanThreshold2));

    s->modulation()->setFrequencyIndex(0);
    rig.view->updateKalmanThreshold1(25);
    rig.view->updateKalmanThreshold2(25);
    rig.view->changeKalmanThreshold3(25);
    s->modulation()->setFrequencyIndex(1);
    s->emitKalmanThresholds();
    rig.view->changeKalmanThreshold3(25);

    const QStringList expected{"setKalmanThreshold 500",   "setKalmanThreshold2 500",
                               "setKalmanThreshold 500",   "setKalmanThreshold 1000",
                               "setKalmanThreshold2 1000", "setKalmanThreshold 1000"};
    QCOMPARE(rig.server.commands(), expected);
    QCOMPARE(s->kalmanThreshold1(), 25);
    QCOMPARE(s->kalmanThreshold2(), 25);
}

// A threshold entered while streaming at 10 MHz goes out after a switch to 20 MHz that lands
// before the pause: it is converted with the range in force when it is sent.
void TestControllerView::thresholdConvertedWhenSent()
{
    Rig rig;
    Settings* s = rig.settings();
    addFrequencies(s);
    s->modulation()->setFrequencyIndex(0);
    s->startAcquisition();

    rig.view->updateKalmanThreshold1(25);
    s->modulation()->setFrequencyIndex(1);
    s->pauseAcquisition();

    QCOMPARE(rig.server.commands(), QStringList{"setKalmanThreshold 1000"});
}

void TestControllerView::fractionsWhateverTheLocale_data()
{
    QTest::addColumn<QString>("locale");

    QTest::addRow("C") << "C";
    QTest::addRow("German") << "de_DE";
    QTest::addRow("French") << "fr_FR";
}

// K and Q with four decimals, K-diff with two, always with a full stop: the process locale
// (Qt's default and the C library's numeric category) must not leak into the command.
void TestControllerView::fractionsWhateverTheLocale()
{
    QFETCH(QString, locale);

    const QLocale previousDefault;
    QLocale::setDefault(QLocale(locale));
    const QByteArray cName = locale.toLatin1() + ".UTF-8";
    std::setlocale(LC_NUMERIC, cName.constData()); // where the system has it

    Rig rig;
    rig.view->changeKalmanK(0.25);
    rig.view->changeKalmanK(1);
    rig.view->changeKalmanQ(0.0125);
    rig.view->changeKalmanDiff(0.5);
    rig.view->changeKalmanDiff(1.0 / 3.0);
    rig.view->changeKalmanDiff(12.5);

    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(previousDefault);

    const QStringList expected{"setKalmanK 0.2500",   "setKalmanK 1.0000",   "setKalmanQ 0.0125",
                               "setKalmanKdiff 0.50", "setKalmanKdiff 0.33", "setKalmanKdiff 12.50"};
    QCOMPARE(rig.server.commands(), expected);
}

void TestControllerView::loadViewConfig_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("announced");

    QTest::addRow("grayscale") << 0 << "loadConfig 0" << true;
    QTest::addRow("distance") << 1 << "loadConfig 1" << true;
    QTest::addRow("mode 8") << 8 << "loadConfig 1" << true;
    QTest::addRow("FLIM mode 10 is silent") << 10 << "loadConfig 1" << false;
}

void TestControllerView::loadViewConfig()
{
    QFETCH(int, mode);
    QFETCH(QString, command);
    QFETCH(bool, announced);

    Rig rig;
    Settings* s = rig.settings();
    s->setModeIndex(5);
    QSignalSpy modeSpy(s, &Settings::modeIndexChanged);
    int connectionsAtChange = -1;
    connect(s, &Settings::modeIndexChanged, this,
            [&] { connectionsAtChange = rig.server.connectionCount(); });

    rig.view->loadViewConfig(mode);

    QCOMPARE(rig.server.commands(), QStringList{command});
    QCOMPARE(s->modeIndex(), mode);
    QCOMPARE(modeSpy.count(), announced ? 1 : 0);
    if (announced) {
        QCOMPARE(modeSpy.at(0).at(0).toInt(), mode);
        QCOMPARE(connectionsAtChange, 1);
    }
}

void TestControllerView::drnuTable_data()
{
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QVector<int>>("expected");

    QVector<int> first(100);
    for (int i = 0; i < 100; ++i)
        first[i] = (i - 50) * 300;
    QVector<int> full(100);
    for (int i = 0; i < 100; ++i)
        full[i] = -i;
    QVector<int> part(100, 0);
    for (int i = 0; i < 60; ++i)
        part[i] = i + 7;
    QVector<int> partWords(60);
    for (int i = 0; i < 60; ++i)
        partWords[i] = i + 7;

    QTest::addRow("full table replaces") << int16Words(full) << full;
    QTest::addRow("120 bytes: the rest reads as 0") << int16Words(partWords) << part;
    QTest::addRow("40 bytes: previous table kept") << int16Words(QVector<int>(20, 9)) << first;
    QTest::addRow("99 bytes: previous table kept") << int16Words(QVector<int>(50, 9)).left(99) << first;
    QTest::addRow("empty: previous table kept") << QByteArray() << first;
}

// The first read fills the table; the second reply decides whether it is replaced. The signal
// comes in every case, with the controller's own table.
void TestControllerView::drnuTable()
{
    QFETCH(QByteArray, second);
    QFETCH(QVector<int>, expected);

    QVector<int> first(100);
    for (int i = 0; i < 100; ++i)
        first[i] = (i - 50) * 300;
    Rig rig({ScriptedServer::Step::answer(int16Words(first)), ScriptedServer::Step::answer(second)});
    QVector<int> received;
    QVector<const int16_t*> tables;
    connect(rig.view.get(), &ControllerView::showDRNUDone, this, [&](int16_t* table) {
        tables.append(table);
        received = QVector<int>(table, table + 100);
    });
    QSignalSpy unlocked(rig.settings(), &Settings::fieldsLocked);

    rig.view->changeShowDrnu(true);
    QCOMPARE(received, first);
    rig.view->changeShowDrnu(true);

    QCOMPARE(rig.server.commands(), (QStringList{"showDRNU", "showDRNU"}));
    QCOMPARE(received, expected);
    QCOMPARE(tables.size(), 2);
    QCOMPARE(tables.at(0), tables.at(1));
    QCOMPARE(unlocked.count(), 2);
}

void TestControllerView::hideDrnu()
{
    qRegisterMetaType<int16_t*>("int16_t*");
    Rig rig;
    QSignalSpy hidden(rig.view.get(), &ControllerView::hideDRNUDone);
    QSignalSpy shown(rig.view.get(), &ControllerView::showDRNUDone);
    QVector<int> order; // 1 hidden, 2 unlocked
    connect(rig.view.get(), &ControllerView::hideDRNUDone, this, [&] { order.append(1); });
    connect(rig.settings(), &Settings::fieldsLocked, this, [&] { order.append(2); });

    rig.view->changeShowDrnu(false);

    QCOMPARE(hidden.count(), 1);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(order, (QVector<int>{1, 2}));
}

// The camera's list replaces the one held: switching on twice lists each pixel once. Off
// clears the list without a command.
void TestControllerView::interpolationTwice()
{
    const QByteArray pixels = int16Words({3, 7, 100, 2});
    Rig rig({ScriptedServer::Step::answer(pixels)});
    SettingsCalibration* calibration = rig.settings()->calibration();

    rig.view->changeInterpolation(true);
    QCOMPARE(calibration->badPixels(), (QVector<QPoint>{{3, 7}, {100, 2}}));
    rig.view->changeInterpolation(true);
    QCOMPARE(calibration->badPixels(), (QVector<QPoint>{{3, 7}, {100, 2}}));

    rig.server.setScript({ScriptedServer::Step::answer(int16Words({5, 5}))});
    rig.view->changeInterpolation(true);
    QCOMPARE(calibration->badPixels(), QVector<QPoint>{QPoint(5, 5)});

    QSignalSpy unlocked(rig.settings(), &Settings::fieldsLocked);
    rig.view->changeInterpolation(false);
    QCOMPARE(calibration->badPixelCount(), 0);
    QCOMPARE(unlocked.count(), 1);
    QCOMPARE(rig.server.commands(), (QStringList{"getBadPixels", "getBadPixels", "getBadPixels"}));

    // A camera without bad pixels answers with nothing: nothing to interpolate.
    rig.server.setScript({ScriptedServer::Step::answer(QByteArray())});
    rig.view->changeInterpolation(true);
    QCOMPARE(calibration->badPixelCount(), 0);
}

// Without a connection the reply buffer still holds the previous exchange: it must not be
// read as pixels, as a DRNU table or as an availability flag.
void TestControllerView::interpolationWithoutCamera()
{
    QVector<int> table(100, 77);
    Rig rig(
        {ScriptedServer::Step::answer(int16Words({1, 1})), ScriptedServer::Step::answer(int16Words(table))});
    Settings* s = rig.settings();
    rig.view->changeInterpolation(true);
    QVector<int> received;
    connect(rig.view.get(), &ControllerView::showDRNUDone, this,
            [&](int16_t* t) { received = QVector<int>(t, t + 100); });
    rig.view->changeShowDrnu(true);
    QCOMPARE(received, table);

    // The buffer now holds a 200-byte DRNU reply with non-zero bytes.
    const QByteArray stale = rig.context.tcp()->response();
    QVERIFY(stale.size() == 200);
    rig.connectTo(ScriptedServer::unusedPort());
    s->calibration()->setGrayscaleCorrectionAvailable(true);

    rig.view->changeInterpolation(true);
    QCOMPARE(s->calibration()->badPixels(), QVector<QPoint>{QPoint(1, 1)});
    received.clear();
    rig.view->changeShowDrnu(true);
    QCOMPARE(received, table);
    rig.view->queryGrayscaleCorrection();
    QCOMPARE(s->calibration()->grayscaleCorrectionAvailable(), false);
}

// While streaming the entry returns at once; on the loop's pause the command goes out, the hub
// is updated, video restarts and the panels unlock, in this order.
void TestControllerView::transactionWhileStreaming()
{
    Rig rig;
    Settings* s = rig.settings();
    s->setReadOffsetOnResume(true);
    s->startAcquisition();
    QStringList events;
    connect(s->settings3D(), &Settings3D::automaticOffsetChanged, this, [&] {
        events << QStringLiteral("offset after %1 command(s)").arg(rig.server.connectionCount());
    });
    connect(s, &Settings::pauseRequested, this, [&] { events << QStringLiteral("pause requested"); });
    connect(s->abs(), &SettingsABS::absChanged, this,
            [&] { events << QStringLiteral("abs after %1 command(s)").arg(rig.server.connectionCount()); });
    connect(s, &Settings::started, this, [&] { events << QStringLiteral("started"); });
    connect(s, &Settings::fieldsLocked, this,
            [&](bool locked) { events << QStringLiteral("fieldsLocked(%1)").arg(locked); });

    rig.view->changeAbs(true);
    QCOMPARE(events, QStringList{"pause requested"});
    QCOMPARE(rig.server.connectionCount(), 0);

    s->pauseAcquisition();
    // The resume re-reads the automatic offset while video is still paused.
    QCOMPARE(rig.server.commands(), (QStringList{"setABS 1", "getOffset"}));
    QCOMPARE(events, (QStringList{"pause requested", "abs after 1 command(s)", "offset after 2 command(s)",
                                  "started", "fieldsLocked(0)"}));
    QVERIFY(s->videoActive());

    // The transaction left no connection behind: a later pause sends nothing more.
    s->pauseAcquisition();
    QCOMPARE(rig.server.connectionCount(), 2);
    s->setReadOffsetOnResume(false);

    // Stopped video stays stopped.
    s->stopAcquisition();
    s->pauseAcquisition();
    s->stopAcquisition();
    QVERIFY(!s->running());
    events.clear();
    rig.view->changeAbs(false);
    QCOMPARE(events, (QStringList{"abs after 3 command(s)", "fieldsLocked(0)"}));
}

// An entry repeated before the pause arrives sends once, with the latest value; different
// slots pending together run in the order of their entries.
void TestControllerView::sameSlotTwiceWhilePending()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();

    rig.view->changeKalmanK(0.1);
    rig.view->changeGaussFilterIterations(3);
    rig.view->changeKalmanK(0.3);
    s->pauseAcquisition();

    QCOMPARE(rig.server.commands(), (QStringList{"setKalmanK 0.3000", "nloopFilter 3"}));
}

// The bare pause: no command of its own; the resume restarts video and unlocks.
void TestControllerView::pauseForView()
{
    Rig rig;
    Settings* s = rig.settings();
    s->startAcquisition();
    QSignalSpy pauseRequested(s, &Settings::pauseRequested);
    QSignalSpy started(s, &Settings::started);
    QSignalSpy unlocked(s, &Settings::fieldsLocked);
    s->setReadOffsetOnResume(false);

    rig.view->pauseForView();
    QCOMPARE(pauseRequested.count(), 1);
    s->pauseAcquisition();
    QVERIFY(!s->videoActive());
    QCOMPARE(rig.server.connectionCount(), 0);

    rig.view->resumeForView();
    QCOMPARE(started.count(), 1);
    QCOMPARE(unlocked.count(), 1);
    QCOMPARE(unlocked.at(0).at(0).toBool(), false);
    QVERIFY(s->videoActive());
    QCOMPARE(rig.server.connectionCount(), 0);
}

// No camera: the hub is still updated and the panels unlock after each command's time-out.
void TestControllerView::cameraSwitchedOff()
{
    Rig rig;
    Settings* s = rig.settings();
    rig.connectTo(ScriptedServer::unusedPort());
    QSignalSpy unlocked(s, &Settings::fieldsLocked);

    rig.view->changeAbs(true);
    rig.view->loadViewConfig(2);
    rig.view->changeKalman(3);
    rig.view->changeTemperatureCorrection(false);
    rig.view->changeShowDrnu(false);

    QCOMPARE(s->abs()->abs(), true);
    QCOMPARE(s->modeIndex(), 2);
    QCOMPARE(s->kalman(), 3);
    QCOMPARE(s->calibration()->temperatureCorrection(), false);
    QCOMPARE(unlocked.count(), 5);
    QCOMPARE(rig.server.connectionCount(), 0);
}

// The camera simulator takes every switch and hands out its own bad pixels and DRNU table.
void TestControllerView::againstTheSimulator()
{
    SimulatorProcess sim({QStringLiteral("--chip"), QStringLiteral("zc320")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* s = context.settings();
    s->socket()->setIp(QStringLiteral("127.0.0.1"));
    s->socket()->setPort(sim.port());
    ControllerView view(&context);

    view.loadViewConfig(0);
    QCOMPARE(state(sim, "loadConfig"), QByteArray("0"));
    view.loadViewConfig(1);
    QCOMPARE(state(sim, "loadConfig"), QByteArray("1"));
    view.changeKalman(2);
    QCOMPARE(state(sim, "kalman"), QByteArray("2"));
    view.changeGaussFilter(true);
    view.changeGaussFilterIterations(4);
    QCOMPARE(state(sim, "filterMode"), QByteArray("3"));
    QCOMPARE(state(sim, "filterIterations"), QByteArray("4"));
    view.changeAbs(true);
    QCOMPARE(state(sim, "abs"), QByteArray("1"));
    view.changeGrayscaleOffset(false);
    QCOMPARE(state(sim, "grayscaleOffset"), QByteArray("0"));
    view.changeDrnu(false);
    QCOMPARE(state(sim, "drnuCorrection"), QByteArray("0"));

    view.queryGrayscaleCorrection();
    view.queryDrnuCorrection();
    view.queryFlimCorrection();
    QVERIFY(s->calibration()->grayscaleCorrectionAvailable());
    QVERIFY(s->drnuAvailable());
    QVERIFY(!s->flimCorrectionAvailable());

    QVector<int> received;
    connect(&view, &ControllerView::showDRNUDone, this,
            [&](int16_t* t) { received = QVector<int>(t, t + 100); });
    view.changeShowDrnu(true);
    const QByteArray table = sim.exchange("showDRNU");
    QCOMPARE(table.size(), 200);
    QVector<int> expected;
    for (int i = 0; i < 100; ++i)
        expected.append(qint16(quint8(table.at(2 * i)) | (quint8(table.at(2 * i + 1)) << 8)));
    QCOMPARE(received, expected);

    view.changeInterpolation(true);
    view.changeInterpolation(true);
    const QByteArray pixels = sim.exchange("getBadPixels");
    QCOMPARE(s->calibration()->badPixelCount(), pixels.size() / 4);
}

KESTRANE_TEST_MAIN(TestControllerView)
#include "tst_controllerview.moc"
