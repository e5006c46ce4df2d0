#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "frames/DataPixelfield.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/PointCloudGeometry.h"
#include "views/WidgetPointCloud.h"
#include "views/WindowControls.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <qwt3d_surfaceplot.h>

#include <memory>

namespace {

QCheckBox* box(QWidget* view, const char* name)
{
    return view->findChild<QCheckBox*>(QLatin1String(name));
}

// Pixels of the plot that are not background.
int drawnPixels(Qwt3D::SurfacePlot* plot)
{
    const QImage image = plot->grabFrameBuffer();
    int count = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if ((image.pixel(x, y) & 0xffffff) != 0)
                ++count;
    return count;
}

void connectTo(ApplicationContext& context, const SimulatorProcess& sim, int chipType)
{
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    settings->setChipType(chipType);
    settings->setModeIndex(5);
    settings->roi()->setChipType(chipType);
    if (chipType == 4)
        settings->roi()->setRoi(4, 163, 6, 65);
    settings->settings3D()->setDistanceMin(10);
    settings->settings3D()->setDistanceMax(750);
    // The spatial filters of the built-in configurations: a surface of neighbours within the
    // interconnect threshold needs them on a noisy far wall.
    settings->setMedianFilter(true);
    settings->setMedianFilterIterations(1);
    settings->setMedianFilterSize(5);
    settings->setGaussFilter1(true);
    settings->setGaussFilterIterations1(5);
    settings->setEdgeDetection(false);
}

} // namespace

class TestPointCloud : public QObject
{
    Q_OBJECT

private slots:
    void pointsAndSurfaceAreExclusive();
    void autoRotationTurnsAt95();
    void interconnectThresholdInLsb();
    void cloudOfTheSimulatorScene_data();
    void cloudOfTheSimulatorScene();
};

void TestPointCloud::pointsAndSurfaceAreExclusive()
{
    ApplicationContext context;
    context.settings()->setPcFilter(true);
    WidgetPointCloud view(&context);
    QCheckBox* points = box(&view, "cbPoints");
    QCheckBox* surface = box(&view, "cbSurfaceInterconnect");
    QCheckBox* gray = box(&view, "cbGrayPointCloud");
    // A hub with the surface filter on starts on the gray surface.
    QVERIFY(surface->isChecked() && gray->isChecked() && !points->isChecked());
    QVERIFY(view.isGrayMode() && !view.isPointsMode());
    QVERIFY(!points->isEnabled());

    gray->setChecked(false);
    QVERIFY(points->isEnabled());
    points->setChecked(true);
    QVERIFY(!surface->isChecked());
    QVERIFY(view.isPointsMode());
    QVERIFY(!context.settings()->pcFilter());
    QVERIFY(!gray->isEnabled());

    surface->setChecked(true);
    QVERIFY(!points->isChecked());
    QVERIFY(!view.isPointsMode());
    QVERIFY(context.settings()->pcFilter());

    // Unticking the surface with points off switches points on (and the gray surface off).
    gray->setChecked(true);
    surface->setChecked(false);
    QVERIFY(points->isChecked());
    QVERIFY(!gray->isChecked());
    QVERIFY(view.isPointsMode());

    // A hub without the filter starts on points.
    context.settings()->setPcFilter(false);
    WidgetPointCloud pointsView(&context);
    QVERIFY(pointsView.isPointsMode());
    QVERIFY(box(&pointsView, "cbPoints")->isChecked());
}

void TestPointCloud::autoRotationTurnsAt95()
{
    ApplicationContext context;
    WidgetPointCloud view(&context);
    view.updateRotation();
    QCOMPARE(view.rotation(), 17.0);
    for (int i = 0; i < 79; ++i)
        view.updateRotation();
    QCOMPARE(view.rotation(), 96.0);
    view.updateRotation();
    QCOMPARE(view.rotation(), 95.0);
    view.updateRotation();
    QCOMPARE(view.rotation(), 94.0);
    QCOMPARE(view.plotWidget()->yRotation(), 94.0);
    for (int i = 0; i < 190; ++i)
        view.updateRotation();
    QCOMPARE(view.rotation(), -96.0);
    view.updateRotation();
    QCOMPARE(view.rotation(), -95.0);

    box(&view, "cbAutoRotating")->setChecked(true);
    QVERIFY(view.rotationTimerObject()->isActive());
    QCOMPARE(view.rotationTimerObject()->interval(), 30);
    box(&view, "cbAutoRotating")->setChecked(false);
    QVERIFY(!view.rotationTimerObject()->isActive());
}

void TestPointCloud::interconnectThresholdInLsb()
{
    ApplicationContext context;
    WidgetPointCloud view(&context);
    // 20 MHz: 750 cm to 30000 LSB, 40 LSB per cm: 70 mm is 280 LSB.
    view.findChild<QSpinBox*>(QStringLiteral("sbSurfaceInterconnect"))->setValue(70);
    view.findChild<QSpinBox*>(QStringLiteral("sbSurfaceInterconnect"))->setValue(55);
    QCOMPARE(context.settings()->pcFilterIterations(false), 55);
    QCOMPARE(context.settings()->pcFilterIterations(true), 220);
}

void TestPointCloud::cloudOfTheSimulatorScene_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("cartesian");
    // Each mode, each coordinate kind and each sensor size at least once (surfaces are slow
    // to draw under the sanitizer's software rendering).
    QTest::addRow("zc320 points grid") << "zc320"
                                       << "points" << false;
    QTest::addRow("zc320 surface cartesian") << "zc320"
                                             << "surface" << true;
    QTest::addRow("zc320 gray surface grid") << "zc320"
                                             << "gray surface" << false;
    QTest::addRow("zc310 points cartesian") << "zc310"
                                            << "points" << true;
    QTest::addRow("zc310 surface grid") << "zc310"
                                        << "surface" << false;
}

void TestPointCloud::cloudOfTheSimulatorScene()
{
    QFETCH(QString, chip);
    QFETCH(QString, mode);
    QFETCH(bool, cartesian);
    SimulatorProcess sim({QStringLiteral("--chip"), chip});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    const int chipType = chip == QLatin1String("zc310") ? 4 : 2;
    connectTo(context, sim, chipType);
    context.settings()->setPointCloudTransformation(cartesian);

    WidgetPointCloud view(&context);
    if (mode == QLatin1String("points")) {
        box(&view, "cbPoints")->setChecked(true);
    } else {
        box(&view, "cbSurfaceInterconnect")->setChecked(true);
        box(&view, "cbGrayPointCloud")->setChecked(mode == QLatin1String("gray surface"));
    }
    view.resize(529, 408);
    view.QWidget::show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QSignalSpy updated(&view, &ImageViewBase::pictureUpdated);
    QSignalSpy released(context.tcp(), &ZelTcp::ready);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 120000);
    QCOMPARE(released.count(), 1);
    QCOMPARE(view.controllerPicture()->currentCommand(), QStringLiteral("getDistanceAndAmplitudeSorted"));

    QTest::qWait(100);
    const QString folder = qEnvironmentVariable("KESTRANE_VIEW_SHOTS");
    if (!folder.isEmpty())
        view.plotWidget()->grabFrameBuffer().save(folder + QLatin1Char('/') +
                                                  QString::fromLatin1(QTest::currentDataTag()) + ".png");
    const PointCloudGeometry& cloud = view.cloud();
    QCOMPARE(cloud.width(), context.settings()->roi()->x2() - context.settings()->roi()->x1() + 1);
    if (mode != QLatin1String("points"))
        QVERIFY2(cloud.triangles().size() > size_t(cloud.width() * cloud.height() / 4),
                 qPrintable(QString::number(cloud.triangles().size())));
    QTest::qWait(100);
    QVERIFY2(drawnPixels(view.plotWidget()) > 500,
             qPrintable(QString::number(drawnPixels(view.plotWidget()))));

    // The PLY file holds the frame: every vertex, and in surface modes the triangles.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frame.ply"));
    QString error;
    QVERIFY2(view.exportPly(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(400);
    QVERIFY(head.startsWith("ply\nformat binary_little_endian 1.0\n"));
    QVERIFY(head.contains(mode == QLatin1String("points") ? "element face 0\n" : "element face "));
    QVERIFY(!head.contains("element vertex 0\n"));

    // Disarmed after the frame.
    QByteArray late(4, '\0');
    emit view.controllerPicture()->pictureReady(late);
    QCOMPARE(updated.count(), 1);
}

KESTRANE_TEST_MAIN(TestPointCloud)
#include "tst_pointcloud.moc"
