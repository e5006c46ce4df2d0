#include "frames/FrameSize.h"
#include "link/Commands.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QtTest>

// The length of a complete frame, as the client expects it, against what the simulated camera
// sends for the same settings.
class TestFrameSize : public QObject
{
    Q_OBJECT

private slots:
    void matchesTheCamerasReplies_data();
    void matchesTheCamerasReplies();
    void otherCommandsAreNoFrames();
};

void TestFrameSize::matchesTheCamerasReplies_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("chipType");
    QTest::addRow("zc320") << "zc320" << 2;
    QTest::addRow("zc210") << "zc210" << 3;
    QTest::addRow("zc310") << "zc310" << 4;
    QTest::addRow("zc220") << "zc220" << 5;
}

void TestFrameSize::matchesTheCamerasReplies()
{
    QFETCH(QString, chip);
    QFETCH(int, chipType);
    SimulatorProcess sim({QStringLiteral("--chip"), chip});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    Settings settings;
    settings.setChipType(chipType);
    settings.roi()->setChipType(chipType);
    settings.flim()->setFlimChip(chipType == 3 || chipType == 5);
    const int columns = settings.roi()->sensorWidth();
    const int rows = settings.roi()->sensorHeight();
    const bool centreSplit = chipType <= 3;
    auto send = [&](const QString& command) { return sim.exchange(command.toUtf8()); };

    QRandomGenerator random(uint(chipType) * 7919u);
    for (int round = 0; round < 24; ++round) {
        const int x1 = random.bounded(0, columns / 2);
        const int x2 = random.bounded(x1 + 1, columns);
        const int y1 = random.bounded(0, centreSplit ? rows / 2 : rows);
        const int y2 = centreSplit ? rows / 2 - 1 : random.bounded(y1, rows);
        const bool horizontal = random.bounded(2) == 1;
        const bool vertical = random.bounded(2) == 1;
        const int reduction = random.bounded(4);
        const bool dualMgx = random.bounded(2) == 1;
        const bool piDelay = random.bounded(2) == 1;
        settings.roi()->setRoi(x1, x2, y1, y2);
        settings.binningAndReduction()->setHorizontalBinning(horizontal);
        settings.binningAndReduction()->setVerticalBinning(vertical);
        settings.binningAndReduction()->setRowReductionIndex(reduction);
        settings.distanceCalculation()->setDualMGX(dualMgx);
        settings.distanceCalculation()->setPiDelay(piDelay);
        send(Commands::setROI(x1, x2, y1, y2));
        send(Commands::enableHorizontalBinning(horizontal));
        send(Commands::enableVerticalBinning(vertical));
        send(Commands::setRowReduction(reduction));
        send(Commands::enableDualMGX(dualMgx));
        send(Commands::enablePiDelay(piDelay));
        const QString what =
            QStringLiteral("ROI %1-%2 x %3-%4, binning %5/%6, reduction %7, dual MGX %8, pi %9")
                .arg(x1)
                .arg(x2)
                .arg(y1)
                .arg(y2)
                .arg(horizontal)
                .arg(vertical)
                .arg(reduction)
                .arg(dualMgx)
                .arg(piDelay);
        for (const QString& command : {Commands::getBWSorted(), Commands::getDistanceAndAmplitudeSorted(),
                                       Commands::getAmplitudeSorted(), Commands::getDCSSorted()}) {
            // The client reads the samples as its view mode says; an amplitude mode here.
            settings.setModeIndex(command == Commands::getBWSorted() ? 0 : 2);
            const int length = send(command).size();
            QVERIFY2(length == FrameSize::expectedBytes(&settings, command),
                     qPrintable(command + QStringLiteral(": ") + what +
                                QStringLiteral(": %1 bytes, expected %2")
                                    .arg(length)
                                    .arg(FrameSize::expectedBytes(&settings, command))));
        }
    }
}

void TestFrameSize::otherCommandsAreNoFrames()
{
    Settings settings;
    QCOMPARE(FrameSize::expectedBytes(&settings, Commands::getTemperature()), -1);
    QCOMPARE(FrameSize::expectedBytes(&settings, Commands::version()), -1);
}

KESTRANE_TEST_MAIN(TestFrameSize)
#include "tst_framesize.moc"
