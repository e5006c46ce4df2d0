// The measurement windows against the simulator's live video, as the view panel opens them.
// With KESTRANE_WINDOW_SHOTS=<folder> each window is also saved there as a PNG.
#include "app/ApplicationContext.h"
#include "app/WidgetView.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetDistance.h"
#include "views/WindowDemo.h"
#include "views/ZelLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {
void saveShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("KESTRANE_WINDOW_SHOTS");
    if (!folder.isEmpty() && window->isVisible())
        window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

double centimetres(const QString& text)
{
    return text.section(QLatin1Char(' '), 0, 0).toDouble();
}
} // namespace

class TestLiveWindows : public QObject
{
    Q_OBJECT

private slots:
    void distanceWindowsFollowLiveVideo();
};

void TestLiveWindows::distanceWindowsFollowLiveVideo()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    settings->setChipType(2);
    // The simulator's modulation at start, as a loaded configuration lists it: one unambiguous
    // range is 15 m.
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->setFrequencyIndex(0);
    // Without a configuration the edge filter's start threshold marks most of the simulator's
    // noisy pixels as edges (distance 0); the windows are to show the measured distance.
    settings->setEdgeDetection(false);
    settings->pixelScope()->setX1(40);
    settings->pixelScope()->setX2(49);
    settings->pixelScope()->setY1(120);
    settings->pixelScope()->setY2(129);
    WidgetView view(&context);
    auto box = [&view](const char* name) { return view.findChild<QCheckBox*>(QLatin1String(name)); };
    view.findChild<QComboBox*>(QStringLiteral("cbViewMode"))->setCurrentIndex(1);
    WidgetDistance* distance = view.distanceView();

    box("cbPixelInfo")->click();
    box("cbPixelScope")->click();
    box("cbTemperatures")->click();
    emit distance->imageLabel()->checkTimeScope(true);
    auto* video = view.findChild<QToolButton*>(QStringLiteral("pbGetVideo"));
    video->click();

    // The mouse reaches the picture only once the image window is shown and laid out: the
    // middle of the picture is the middle of the sensor, well inside the ROI.
    ZelLabel* picture = distance->imageLabel();
    QTRY_VERIFY_WITH_TIMEOUT(picture->isVisible() && !picture->pixmap(Qt::ReturnByValue).isNull(), 10000);
    distance->mouseHover(picture->width() / 2, picture->height() / 2);
    QVERIFY(qAbs(distance->hoverPositionX() - settings->roi()->sensorWidth() / 2) <= 1);
    QVERIFY(qAbs(distance->hoverPositionY() - settings->roi()->sensorHeight() / 2) <= 1);

    InfoDistance* info = distance->pixelInfo();
    // The simulator's noise: over twenty frames of one pixel the distance varies.
    QTRY_VERIFY_WITH_TIMEOUT(info->distanceStatistics().count() >= 20, 20000);
    QVERIFY(info->distanceStatistics().standardDeviation() > 0);
    const QString average = info->findChild<QLabel*>(QStringLiteral("lDistanceAverage"))->text();
    QVERIFY2(average.endsWith(QStringLiteral(" cm")) && centimetres(average) > 0, qPrintable(average));

    InfoPixelScope* scope = distance->pixelScopeWindow();
    QVERIFY(scope->isVisible());
    QVERIFY(scope->frameCount() > 0);
    QCOMPARE(scope->lastValues().size(), 100);
    QVERIFY(scope->getMaximum() >= scope->getMinimum());

    InfoPixelTimeScope* timeScope = distance->timeScopeWindow();
    QVERIFY(timeScope->pointCount() >= 20);
    QVERIFY(timeScope->point(timeScope->pointCount() - 1).y() > 0);

    QWidget* temperature = view.temperatureWindow();
    QVERIFY(temperature->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(
        temperature->findChild<QLineEdit*>(QStringLiteral("leTl"))->text().endsWith(QStringLiteral("°C ")),
        10000);

    saveShot(view.windowDemo(), QStringLiteral("image"));
    saveShot(info, QStringLiteral("pixelinfo"));
    saveShot(scope, QStringLiteral("pixelscope"));
    saveShot(timeScope, QStringLiteral("timescope"));
    saveShot(temperature, QStringLiteral("temperature"));

    video->click();
    context.tcp()->closeAfterWait(2000);
    box("cbTemperatures")->click();
    QVERIFY(!temperature->isVisible());
    view.hideInfoWindows();
    view.windowDemo()->hide();
}

KESTRANE_TEST_MAIN(TestLiveWindows)
#include "tst_livewindows.moc"
