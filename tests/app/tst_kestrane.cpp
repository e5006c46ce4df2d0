#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run
{
    bool finished = false;
    int exitCode = -1;
    QString output;
    QString errors;
};

bool singleColour(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

int saturatedColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.saturation() > 100 && colour.value() > 60)
                colours.insert(colour.rgb());
        }
    return colours.size();
}
} // namespace

// The built program itself, started as a user or a script would start it.
class TestKestrane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void connectsToTheSimulatorAndSavesAScreenshot();
    void unreachableServerStillOpensTheWindow();
    void addressGivenOnTheCommandLineIsNotStored();
    void helpNeedsNoDisplay();
    void malformedOptionsAreRefused();

private:
    Run run(const QStringList& arguments, bool withDisplay = true);

    QTemporaryDir home;
};

void TestKestrane::initTestCase()
{
    QVERIFY(home.isValid());
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("tmp")));
}

Run TestKestrane::run(const QStringList& arguments, bool withDisplay)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A per-user store of its own, and messages that close themselves.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("KESTRANE_NONINTERACTIVE"), QStringLiteral("1"));
    // The last configuration is written to a temporary directory of the test's own.
    environment.insert(QStringLiteral("TMPDIR"), home.filePath(QStringLiteral("tmp")));
    if (!withDisplay) {
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTRANE_CLIENT_PATH), arguments);
    Run result;
    result.finished = process.waitForFinished(90000);
    if (!result.finished)
        process.kill();
    process.waitForFinished(5000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

void TestKestrane::connectsToTheSimulatorAndSavesAScreenshot()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    const QString shot = home.filePath(QStringLiteral("shot.png"));
    const QString last = home.filePath(QStringLiteral("tmp/zc320_settings_last.xml"));
    QFile::remove(last);
    // As the demo runs it: live amplitude video, the picture once the first frames are shown.
    const Run result =
        run({QStringLiteral("--ip"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
             QString::number(sim.port()), QStringLiteral("--load-default"), QStringLiteral("--start-video"),
             QStringLiteral("--view-mode"), QStringLiteral("2"), QStringLiteral("--screenshot"), shot});
    QVERIFY2(result.finished, qPrintable(result.errors));
    QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
    QVERIFY2(!result.errors.contains(QLatin1String("kestrane: message")), qPrintable(result.errors));
    const QImage image(shot);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 400 && image.height() >= 300);
    QVERIFY(!singleColour(image));
    // Beside the main window's few colours, the image window shows a noisy colour-coded
    // amplitude picture: thousands of distinct saturated colours (the legend and the
    // window frames alone have fewer than 800).
    const int colours = saturatedColours(image);
    QVERIFY2(colours > 1500, qPrintable(QString::number(colours)));
    // Closing wrote the last configuration of the zc320.
    QVERIFY(QFile::exists(last));
}

void TestKestrane::unreachableServerStillOpensTheWindow()
{
    const QString shot = home.filePath(QStringLiteral("unreachable.png"));
    const Run result =
        run({QStringLiteral("--ip"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
             QString::number(ScriptedServer::unusedPort()), QStringLiteral("--screenshot"), shot});
    QVERIFY2(result.finished, qPrintable(result.errors));
    QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
    QVERIFY2(result.errors.contains(
                 QLatin1String("kestrane: message [Connection Failure] Could not reach server.")),
             qPrintable(result.errors));
    const QImage image(shot);
    QVERIFY(!image.isNull());
    QVERIFY(!singleColour(image));
}

void TestKestrane::addressGivenOnTheCommandLineIsNotStored()
{
    SimulatorProcess sim({QStringLiteral("--chip"), QStringLiteral("zc220")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    // The per-user store as the start dialog leaves it after a successful connection.
    const QString storePath = home.filePath(QStringLiteral("config/<Zel>/<Vazazazzc320>.conf"));
    {
        QSettings store(storePath, QSettings::IniFormat);
        store.setValue(QStringLiteral("IP"), QStringLiteral("127.0.0.9"));
    }
    const QString shot = home.filePath(QStringLiteral("stored.png"));
    const Run result = run({QStringLiteral("--ip"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                            QString::number(sim.port()), QStringLiteral("--screenshot"), shot});
    QVERIFY2(result.finished, qPrintable(result.errors));
    QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
    QVERIFY2(!result.errors.contains(QLatin1String("kestrane: message")), qPrintable(result.errors));
    QCOMPARE(QSettings(storePath, QSettings::IniFormat).value(QStringLiteral("IP")).toString(),
             QStringLiteral("127.0.0.9"));
    // ... and no other store was written in its place.
    QCOMPARE(QDir(home.filePath(QStringLiteral("config"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("<Zel>")});
    QCOMPARE(QDir(home.filePath(QStringLiteral("config/<Zel>"))).entryList(QDir::Files),
             QStringList{QStringLiteral("<Vazazazzc320>.conf")});
}

void TestKestrane::helpNeedsNoDisplay()
{
    const Run result = run({QStringLiteral("--help")}, false);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    for (const char* option : {"--ip", "--port", "--load-default", "--start-video", "--screenshot", "--help"})
        QVERIFY2(result.output.contains(QLatin1String(option)), option);
}

void TestKestrane::malformedOptionsAreRefused()
{
    const Run result = run({QStringLiteral("--port"), QStringLiteral("70000")}, false);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.errors.contains(QLatin1String("70000")), qPrintable(result.errors));
}

KESTRANE_TEST_MAIN(TestKestrane)
#include "tst_kestrane.moc"
