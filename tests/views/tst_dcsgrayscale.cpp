#include "app/ApplicationContext.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "recording/Logger.h"
#include "recording/RawRecorder.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetDCSGrayscale.h"
#include "views/ZelLabel.h"

#include "ViewTestSupport.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// The DCS + grayscale view against the simulator: the sampling cases, and the raw recording
// of every frame of live video; the recording's naming rules without a camera.
class TestDCSGrayscale : public QObject
{
    Q_OBJECT

private slots:
    void samplingCases_data();
    void samplingCases();
    void recordsEveryFrameWhileVideoRuns();
    void recordingNames_data();
    void recordingNames();
};

namespace {

// A context talking to `sim`, on the chip's whole sensor, in view mode 8.
void setUp(ApplicationContext& context, const SimulatorProcess& sim, const QString& chip)
{
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    const int chipType = chip == QLatin1String("zc310") ? 4 : 2;
    settings->setChipType(chipType);
    settings->roi()->setChipType(chipType);
    if (chipType == 4) {
        settings->roi()->setRoi(4, 163, 6, 65);
        context.imageCreator()->rebuild();
    }
    settings->setModeIndex(8);
    settings->calibration()->setPixelInterpolation(false);
}

// Image `image` of the simulator's last frame at a sensor position.
qint32 truthAt(const QByteArray& report, int image, int column, int row)
{
    const qint32 columns = qFromLittleEndian<qint32>(report.constData() + 4);
    const qint32 rows = qFromLittleEndian<qint32>(report.constData() + 8);
    return qFromLittleEndian<qint32>(report.constData() + 12 + 4 * ((image * rows + row) * columns + column));
}

} // namespace

void TestDCSGrayscale::samplingCases_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<bool>("piDelay");
    QTest::addColumn<bool>("dualMGX");
    QTest::addColumn<int>("samples");

    for (const char* chip : {"zc320", "zc310"}) {
        QTest::addRow("%s four samples", chip) << chip << true << false << 4;
        QTest::addRow("%s two samples", chip) << chip << false << false << 2;
        QTest::addRow("%s two samples, dual MGX", chip) << chip << true << true << 2;
        QTest::addRow("%s one sample", chip) << chip << false << true << 1;
    }
}

void TestDCSGrayscale::samplingCases()
{
    QFETCH(QString, chip);
    QFETCH(bool, piDelay);
    QFETCH(bool, dualMGX);
    QFETCH(int, samples);

    SimulatorProcess sim({QStringLiteral("--chip"), chip});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    setUp(context, sim, chip);
    Settings* settings = context.settings();
    settings->distanceCalculation()->setPiDelay(piDelay);
    settings->distanceCalculation()->setDualMGX(dualMGX);
    sim.exchange(Commands::enablePiDelay(piDelay).toLatin1());
    sim.exchange(Commands::enableDualMGX(dualMGX).toLatin1());

    WidgetDCSGrayscale view(&context);
    view.resize(600, 800);
    QSignalSpy updated(&view, &WidgetDCSGrayscale::pictureUpdated);
    view.startView();
    QVERIFY(updated.wait(10000));
    QVERIFY(settings->lastFrameComplete());
    QCOMPARE(view.sampleCount(), samples);

    // The samples the frame holds are painted, the others white; the grayscale picture is the
    // image after the samples, cut on its boundary.
    for (int i = 0; i < 4; ++i)
        QCOMPARE(ViewTest::allWhite(ViewTest::shown(view.imageLabel(i))), i >= samples);
    QVERIFY(!ViewTest::allWhite(ViewTest::shown(view.imageLabel(WidgetDCSGrayscale::kGrayscalePicture))));
    const QByteArray truth = sim.exchange("sim.lastFrame");
    const SettingsROI* roi = settings->roi();
    int differing = 0;
    for (int part = 0; part < DataCorrelationSamples::kPartCount; ++part)
        for (int y = roi->y1(); y <= roi->y2(); ++y)
            for (int x = roi->x1(); x <= roi->x2(); ++x)
                differing += view.correlationSamples()->partValue(part, x, y) != truthAt(truth, part, x, y);
    QCOMPARE(differing, 0);
}

void TestDCSGrayscale::recordsEveryFrameWhileVideoRuns()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    setUp(context, sim, QStringLiteral("zc320"));
    Settings* settings = context.settings();
    QTemporaryDir out;
    settings->setLogPath(out.path());
    settings->setLogFilename(QStringLiteral("rec"));

    WidgetDCSGrayscale view(&context);
    auto* log = view.findChild<QCheckBox*>(QStringLiteral("cbLog"));
    QVERIFY(log);
    log->setChecked(true);
    // The acquisition loop as the view panel runs it: every release requests the next frame.
    constexpr int kFrames = 25;
    int requested = 1;
    QObject::connect(context.tcp(), &ZelTcp::ready, &view, [&] {
        if (requested < kFrames) {
            ++requested;
            view.startView();
        }
    });
    QSignalSpy updated(&view, &WidgetDCSGrayscale::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.size(), kFrames, 60000);

    const SettingsROI* roi = settings->roi();
    const qint64 binSize = 5 * 2 * qint64(roi->x2() - roi->x1() + 1) * (roi->y2() - roi->y1() + 1);
    const QDir dir(out.path());
    const QStringList bins = dir.entryList({QStringLiteral("rec_*.bin")}, QDir::Files, QDir::Name);
    const QStringList indexes = dir.entryList({QStringLiteral("rec_*.idx")});
    QCOMPARE(bins.size(), kFrames);
    QCOMPARE(dir.entryList({QStringLiteral("rec_*.txt")}).size(), kFrames);
    QCOMPARE(indexes.size(), 1);
    QCOMPARE(view.recorder()->recordedFrames(), kFrames);
    for (const QString& bin : bins)
        QCOMPARE(QFileInfo(dir.filePath(bin)).size(), binSize);

    // The index lists every frame once, in order; the counter restarts with each second.
    QFile index(dir.filePath(indexes.first()));
    QVERIFY(index.open(QIODevice::ReadOnly));
    const QStringList names =
        QString::fromLatin1(index.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(names.size(), kFrames);
    QVERIFY(indexes.first().startsWith(names.first().chopped(4)));
    QString second;
    int expected = 0;
    for (const QString& name : names) {
        QVERIFY2(QFile::exists(dir.filePath(name + QStringLiteral(".bin"))), qPrintable(name));
        expected = name.chopped(4) == second ? expected + 1 : 0;
        second = name.chopped(4);
        QCOMPARE(name.right(3).toInt(), expected);
    }
    QFile keys(dir.filePath(names.last() + QStringLiteral(".txt")));
    QVERIFY(keys.open(QIODevice::ReadOnly));
    QVERIFY(keys.readAll().contains("mode=DCS_Grayscale\n"));

    // Unticking ends the recording.
    log->setChecked(false);
    requested = kFrames - 1;
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.size(), kFrames + 2, 20000);
    QCOMPARE(dir.entryList({QStringLiteral("rec_*.bin")}).size(), kFrames);
}

void TestDCSGrayscale::recordingNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("steps"); // "frame@SECOND", "incomplete@SECOND", "name=NEW", "run"
    QTest::addColumn<QStringList>("files"); // every file afterwards, sorted
    QTest::addColumn<QStringList>("indexLines");

    const QString t = QStringLiteral("20210304-0506");
    QTest::addRow("counter within a second")
        << "run" << QStringList{"frame@07", "frame@07", "frame@08"}
        << QStringList{"run_" + t + "07-000.bin", "run_" + t + "07-000.txt", "run_" + t + "07-001.bin",
                       "run_" + t + "07-001.txt", "run_" + t + "07.idx",     "run_" + t + "08-000.bin",
                       "run_" + t + "08-000.txt"}
        << QStringList{"run_" + t + "07-000", "run_" + t + "07-001", "run_" + t + "08-000"};
    QTest::addRow("empty name begins with the underscore")
        << "" << QStringList{"frame@07"}
        << QStringList{"_" + t + "07-000.bin", "_" + t + "07-000.txt", "_" + t + "07.idx"}
        << QStringList{"_" + t + "07-000"};
    QTest::addRow("a new name, and back, start new index files")
        << "a" << QStringList{"frame@07", "name=b", "frame@08", "name=a", "frame@09"}
        << QStringList{"a_" + t + "07-000.bin", "a_" + t + "07-000.txt", "a_" + t + "07.idx",
                       "a_" + t + "09-000.bin", "a_" + t + "09-000.txt", "a_" + t + "09.idx",
                       "b_" + t + "08-000.bin", "b_" + t + "08-000.txt", "b_" + t + "08.idx"}
        << QStringList{"a_" + t + "09-000"};
    QTest::addRow("a new run starts a new index file")
        << "r" << QStringList{"frame@07", "run", "frame@08"}
        << QStringList{"r_" + t + "07-000.bin", "r_" + t + "07-000.txt", "r_" + t + "07.idx",
                       "r_" + t + "08-000.bin", "r_" + t + "08-000.txt", "r_" + t + "08.idx"}
        << QStringList{"r_" + t + "08-000"};
    QTest::addRow("an incomplete frame is not written as a frame")
        << "i" << QStringList{"frame@07", "incomplete@07", "frame@07"}
        << QStringList{"i_" + t + "07-000.bin", "i_" + t + "07-000.txt", "i_" + t + "07-001.bin",
                       "i_" + t + "07-001.txt", "i_" + t + "07.idx"}
        << QStringList{"i_" + t + "07-000", "i_" + t + "07-001"};
    QTest::addRow("a name with a slash stays in the directory")
        << "../x" << QStringList{"frame@07"}
        << QStringList{".._x_" + t + "07-000.bin", ".._x_" + t + "07-000.txt", ".._x_" + t + "07.idx"}
        << QStringList{".._x_" + t + "07-000"};
}

void TestDCSGrayscale::recordingNames()
{
    QFETCH(QString, name);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, files);
    QFETCH(QStringList, indexLines);

    Settings settings;
    settings.setModeIndex(8);
    settings.roi()->setRoi(4, 15, 6, 13);
    QTemporaryDir out;
    settings.setLogPath(out.path());
    settings.setLogFilename(name);
    DataCorrelationSamples samples(&settings);
    QByteArray reply = ViewTest::words(5 * 12 * 8, 2048);
    samples.updateData(reply);
    Logger logger(&settings);
    RawRecorder recorder(&settings, &logger);
    int incomplete = 0;
    for (const QString& step : steps) {
        const QDateTime at =
            QDateTime::fromString(QStringLiteral("20210304050600"), QStringLiteral("yyyyMMddhhmmss"))
                .addSecs(step.section(QLatin1Char('@'), 1).toInt());
        if (step.startsWith(QLatin1String("frame")))
            QVERIFY(recorder.recordFrame(samples, at, true));
        else if (step.startsWith(QLatin1String("incomplete"))) {
            QVERIFY(recorder.recordFrame(samples, at, false));
            ++incomplete;
        } else if (step.startsWith(QLatin1String("name=")))
            settings.setLogFilename(step.mid(5));
        else
            recorder.startRun();
    }
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
    QCOMPARE(recorder.incompleteFrames(), incomplete);
    QFile index(recorder.indexFileName());
    QVERIFY(index.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(index.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), indexLines);
    QCOMPARE(QFileInfo(out.filePath(indexLines.last() + QStringLiteral(".bin"))).size(), 5 * 2 * 12 * 8);

    // A directory that does not exist: the recorder says so and names the file.
    settings.setLogPath(out.filePath(QStringLiteral("missing")));
    QVERIFY(!recorder.recordFrame(samples, QDateTime::currentDateTime(), true));
    QVERIFY(recorder.failedFile().startsWith(out.filePath(QStringLiteral("missing"))));
}

KESTRANE_TEST_MAIN(TestDCSGrayscale)
#include "tst_dcsgrayscale.moc"
