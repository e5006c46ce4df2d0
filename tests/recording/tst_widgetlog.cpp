#include "app/ApplicationContext.h"
#include "recording/WidgetLog.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void connectTo(ApplicationContext& context, const SimulatorProcess& sim, int mode)
{
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    settings->setChipType(2);
    settings->roi()->setChipType(2);
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->setFrequencyIndex(0);
    settings->setReadOffsetOnResume(false);
    settings->setLogUnlimited(false);
    settings->setEdgeDetection(false);
    settings->setModeIndex(mode);
}

int lineCount(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') : -1;
}

} // namespace

class TestWidgetLog : public QObject
{
    Q_OBJECT

private slots:
    void runOfThreePictures_data();
    void runOfThreePictures();
    void unwritableDirectoryEndsTheRun();
};

void TestWidgetLog::runOfThreePictures_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("piDelay");
    QTest::addColumn<QStringList>("pngSuffixes");
    QTest::addColumn<int>("blocks");

    QTest::addRow("grayscale") << 0 << false << QStringList{".png"} << 1;
    QTest::addRow("distance, three contents") << 1 << false << QStringList{".png"} << 3;
    QTest::addRow("amplitude") << 2 << false << QStringList{".png"} << 1;
    QTest::addRow("DCS with pi delay")
        << 6 << true << QStringList{"_0.png", "_1.png", "_2.png", "_3.png"} << 4;
    QTest::addRow("DCS without pi delay") << 6 << false << QStringList{"_0.png", "_1.png"} << 2;
    QTest::addRow("DCS differences") << 7 << true << QStringList{"_1.png", "_2.png"} << 2;
    QTest::addRow("DCS differences, no pi delay: nothing") << 7 << false << QStringList{} << 0;
    QTest::addRow("HDR") << 9 << true << QStringList{"_1.png", "_2.png", "_3.png", "_4.png"} << 4;
    QTest::addRow("HDR, no pi delay: nothing") << 9 << false << QStringList{} << 0;
    // Five sample blocks per picture in the ".bin" file, whatever the CSV and PNG boxes say.
    QTest::addRow("DCS + grayscale") << 8 << true << QStringList{} << -5;
}

void TestWidgetLog::runOfThreePictures()
{
    QFETCH(int, mode);
    QFETCH(bool, piDelay);
    QFETCH(QStringList, pngSuffixes);
    QFETCH(int, blocks);

    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    sim.exchange(piDelay ? "enablePiDelay 1" : "enablePiDelay 0");
    ApplicationContext context;
    connectTo(context, sim, mode);
    context.settings()->distanceCalculation()->setPiDelay(piDelay);
    QTemporaryDir dir;
    WidgetLog page(&context);
    page.setUnattended(true);
    page.findChild<QLineEdit*>(QStringLiteral("leBrowse"))->setText(dir.path());
    page.findChild<QLineEdit*>(QStringLiteral("leFilename"))->setText(QStringLiteral("run"));
    page.findChild<QSpinBox*>(QStringLiteral("sbNumberOfPictures"))->setValue(3);
    QSignalSpy finished(&page, &WidgetLog::runFinished);
    page.startLogging();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QVERIFY2(finished.at(0).at(0).toBool(), qPrintable(finished.at(0).at(1).toString()));
    QCOMPARE(page.picturesWritten(), 3);

    const QString stem = dir.filePath(page.runBaseName());
    QVERIFY(page.runBaseName().startsWith(QStringLiteral("run_")));
    QStringList expected{page.runBaseName() + QStringLiteral(".txt")};
    if (blocks > 0)
        expected << page.runBaseName() + QStringLiteral(".csv");
    if (blocks < 0)
        expected << page.runBaseName() + QStringLiteral(".bin");
    for (int i = 1; i <= 3; ++i)
        for (const QString& suffix : pngSuffixes)
            expected << page.runBaseName() + QStringLiteral("_00%1").arg(i) + suffix;
    QStringList written = QDir(dir.path()).entryList(QDir::Files);
    expected.sort();
    written.sort();
    QCOMPARE(written, expected);
    const int rows = context.settings()->roi()->height();
    if (blocks < 0)
        QCOMPARE(QFileInfo(stem + QStringLiteral(".bin")).size(),
                 qint64(3) * -blocks * 2 * rows * context.settings()->roi()->width());
    if (blocks > 0)
        QCOMPARE(lineCount(stem + QStringLiteral(".csv")), 3 * blocks * rows);
    QFile report(stem + QStringLiteral(".txt"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readLine().startsWith("Number of samples:       3"));
    QVERIFY(!QImage(stem + QStringLiteral("_003") + pngSuffixes.value(0, QStringLiteral(".none"))).isNull() ||
            pngSuffixes.isEmpty());
}

void TestWidgetLog::unwritableDirectoryEndsTheRun()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    connectTo(context, sim, 0);
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone"));
    WidgetLog page(&context);
    page.setUnattended(true);
    page.findChild<QLineEdit*>(QStringLiteral("leBrowse"))->setText(missing);
    page.findChild<QLineEdit*>(QStringLiteral("leFilename"))->setText(QStringLiteral("../x/run"));
    QSignalSpy finished(&page, &WidgetLog::runFinished);
    page.startLogging();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    const QString reason = finished.at(0).at(1).toString();
    QVERIFY2(reason.startsWith(QStringLiteral("Logging failed.")) && reason.contains(missing),
             qPrintable(reason));
    // The name stayed inside the chosen directory.
    QVERIFY(page.runBaseName().startsWith(QStringLiteral(".._x_run_")));
    QVERIFY(!page.isRunning());
}

KESTRANE_TEST_MAIN(TestWidgetLog)
#include "tst_widgetlog.moc"
