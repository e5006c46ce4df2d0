#include "app/ApplicationContext.h"
#include "app/DialogStart.h"
#include "app/StartupManager.h"
#include "app/WidgetView.h"
#include "app/WindowMain.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "render/ZelImageCreator.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetFLIM.h"
#include "views/WidgetGrayscale.h"

#include <QLabel>
#include <QRect>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What a field must look like on screen: painted by a creator of the test's own, mirrored as
// the settings say.
QImage painted(Settings* settings, const DataPixelfield& field, int max, int type)
{
    ZelImageCreator creator(settings);
    return creator.createImage(field, 0, max, type)
        .mirrored(settings->transformation()->horizontalFlip(), settings->transformation()->verticalFlip())
        .convertToFormat(QImage::Format_RGB32);
}

QString text(const QWidget* view, const QString& name)
{
    const auto* label = view->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

// The program as a user starts it against a camera: the main window and its views are made
// before the chip is known (as with command-line arguments), then the start-up connects,
// learns the chip and loads its default configuration, and live video runs in one view mode.
class TestSensorSizes : public QObject
{
    Q_OBJECT

private slots:
    void livePictureHasTheSensorSize_data();
    void livePictureHasTheSensorSize();
};

void TestSensorSizes::livePictureHasTheSensorSize_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("sensor");
    QTest::addColumn<QString>("corner"); // the object-name stem of the first picture's corners

    const QSize small(168, 72);
    QTest::addRow("zc310 grayscale") << "zc310" << 0 << small << "Grayscale";
    QTest::addRow("zc310 distance") << "zc310" << 1 << small << "Distance";
    QTest::addRow("zc310 amplitude") << "zc310" << 2 << small << "Amplitude";
    QTest::addRow("zc310 DCS") << "zc310" << 6 << small << "DCS0";
    QTest::addRow("zc220 gate images") << "zc220" << 10 << small << "Mga";
    QTest::addRow("zc320 grayscale") << "zc320" << 0 << QSize(328, 252) << "Grayscale";
}

void TestSensorSizes::livePictureHasTheSensorSize()
{
    QFETCH(QString, chip);
    QFETCH(int, mode);
    QFETCH(QSize, sensor);
    QFETCH(QString, corner);

    QTemporaryDir temporary;
    qputenv("TMPDIR", temporary.path().toLocal8Bit());
    SimulatorProcess sim({QStringLiteral("--chip"), chip});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));

    ApplicationContext context;
    Settings* settings = context.settings();
    StartupManager startup(&context);
    DialogStart dialog(&startup);
    settings->socket()->setPort(sim.port());
    dialog.overrideAddress(QStringLiteral("127.0.0.1"));
    WindowMain window(&context, &startup);
    window.setOfferPreConfiguration(false);
    dialog.on_tbDefault_clicked();
    window.initialize(true);
    // The program does not send pi delay to the camera yet: tell the camera what the loaded
    // configuration says, so that it delivers the samples the decoder expects.
    sim.exchange(Commands::enablePiDelay(settings->distanceCalculation()->piDelay()).toLatin1());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto* panel = window.findChild<WidgetView*>(QStringLiteral("view"));
    QVERIFY(panel);
    if (mode != 10)
        panel->selectViewMode(mode);
    ImageViewBase* view = nullptr;
    switch (mode) {
    case 0:
        view = panel->grayscaleView();
        break;
    case 1:
        view = panel->distanceView();
        break;
    case 2:
        view = panel->amplitudeView();
        break;
    case 6:
        view = panel->dcsView();
        break;
    default:
        view = panel->flimView();
        break;
    }
    QSignalSpy shown(panel, &WidgetView::pictureShown);
    panel->on_pbGetVideo_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 2, 20000);
    settings->requestStop();
    QTRY_VERIFY_WITH_TIMEOUT(!settings->running(), 10000);

    // Every picture and every decoded field has the sensor's size.
    for (int i = 0; i < view->pictureCount(); ++i)
        QCOMPARE(view->displayed(i).size(), sensor);
    const QString last = QString::number(sensor.width() - 1);
    const QString bottom = QString::number(sensor.height() - 1);
    const QSet<QString> columns{text(view, QStringLiteral("lX%1Left").arg(corner)),
                                text(view, QStringLiteral("lX%1Right").arg(corner))};
    const QSet<QString> rows{text(view, QStringLiteral("lY%1Top").arg(corner)),
                             text(view, QStringLiteral("lY%1Bottom").arg(corner))};
    QCOMPARE(columns, (QSet<QString>{QStringLiteral("0"), last}));
    QCOMPARE(rows, (QSet<QString>{QStringLiteral("0"), bottom}));

    // The picture shows the decoded frame over the whole ROI, not in a corner of a larger field.
    QList<QPair<const DataPixelfield*, QImage>> fields;
    if (auto* grayscale = qobject_cast<WidgetGrayscale*>(view))
        fields.append({grayscale->pixelField(), painted(settings, *grayscale->pixelField(), 2047, 0)});
    if (auto* amplitude = qobject_cast<WidgetAmplitude*>(view))
        fields.append({amplitude->pixelField(), painted(settings, *amplitude->pixelField(),
                                                        settings->distanceCalculation()->maxAmplitude(),
                                                        ZelImageCreator::ForwardRamp)});
    if (auto* distance = qobject_cast<WidgetDistance*>(view))
        fields.append({distance->informationSample()->distanceField(false), QImage()});
    if (auto* dcs = qobject_cast<WidgetDCS*>(view))
        fields.append({dcs->correlationSamples()->partField(0),
                       painted(settings, *dcs->correlationSamples()->partField(0), 4095, 0)});
    if (auto* flim = qobject_cast<WidgetFLIM*>(view))
        fields.append({flim->correlationSamples()->partField(0),
                       painted(settings, *flim->correlationSamples()->partField(0), 2047, 0)});
    QCOMPARE(fields.size(), 1);
    const DataPixelfield& field = *fields[0].first;
    QCOMPARE(QSize(field.width(), field.height()), sensor);
    const SettingsROI* roi = settings->roi();
    QVERIFY(roi->x2() < sensor.width() && roi->y2() < sensor.height());
    QRect data;
    int holes = 0;
    for (int x = 0; x < field.width(); ++x) {
        for (int y = 0; y < field.height(); ++y) {
            if (field.value(x, y) != DataPixelfield::kNoData)
                data |= QRect(x, y, 1, 1);
            else if (x >= roi->x1() && x <= roi->x2() && y >= roi->y1() && y <= roi->y2())
                ++holes;
        }
    }
    QCOMPARE(data, QRect(QPoint(roi->x1(), roi->y1()), QPoint(roi->x2(), roi->y2())));
    // A few entries may be no data after the filters or an offset (a grayscale word of 2047).
    QVERIFY2(holes * 100 < data.width() * data.height(), qPrintable(QString::number(holes)));
    if (!fields[0].second.isNull())
        QCOMPARE(view->displayed(0).convertToFormat(QImage::Format_RGB32), fields[0].second);

    window.hide();
}

KESTRANE_TEST_MAIN(TestSensorSizes)
#include "tst_sensorsizes.moc"
