#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "render/DistanceLabeler.h"
#include "render/ZelImageCreator.h"
#include "settings/SettingsManager.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDifDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetFLIM.h"
#include "views/WidgetGrayscale.h"
#include "views/ZelLabel.h"

#include "ViewTestSupport.h"

#include <QSet>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum class View
{
    Grayscale,
    Distance,
    Amplitude,
    DCS,
    DifDCS,
    FLIM
};

// What the view must show: the frame decoded and painted again here, outside the view, with
// a creator of its own, then mirrored as the settings say.
QList<QImage> expectedPictures(View view, Settings* settings, const QByteArray& payload)
{
    QByteArray bytes = payload;
    ZelImageCreator creator(settings);
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    auto painted = [&](const DataPixelfield& field, int min, int max, int type) {
        return creator.createImage(field, min, max, type).mirrored(horizontal, vertical);
    };
    QList<QImage> pictures;
    switch (view) {
    case View::Grayscale: {
        DataPixelfield field(settings);
        field.setOffset(2048);
        field.updateData(bytes);
        pictures << painted(field, 0, 2047, ZelImageCreator::Grayscale);
        break;
    }
    case View::Distance: {
        DataInformationSample sample(settings);
        sample.updateData(bytes);
        DistanceLabeler labeler(settings);
        const int max = labeler.cmToLsb(settings->settings3D()->distanceMax());
        const int min = labeler.cmToLsb(settings->settings3D()->distanceMin());
        pictures << painted(*sample.distanceField(false), min, max, ZelImageCreator::ReversedRamp);
        break;
    }
    case View::Amplitude: {
        DataPixelfield field(settings);
        field.updateData(bytes);
        pictures << painted(field, 0, settings->distanceCalculation()->maxAmplitude(),
                            ZelImageCreator::ForwardRamp);
        break;
    }
    case View::DCS: {
        DataCorrelationSamples samples(settings);
        samples.updateData(bytes);
        for (int i = 0; i < 4; ++i)
            pictures << painted(*samples.partField(i), 0, 4095, ZelImageCreator::Grayscale);
        break;
    }
    case View::DifDCS: {
        DataCorrelationSamples samples(settings);
        samples.updateData(bytes);
        samples.calculateDifference();
        for (int i = 0; i < 2; ++i)
            pictures << creator
                            .createImage(samples.differenceData(i == 1), 0, 8191, ZelImageCreator::Grayscale)
                            .mirrored(horizontal, vertical);
        break;
    }
    case View::FLIM: {
        DataCorrelationSamples samples(settings);
        samples.updateData(bytes);
        for (int i = 0; i < 2; ++i)
            pictures << painted(*samples.partField(i), 0, 2047, ZelImageCreator::Grayscale);
        break;
    }
    }
    return pictures;
}

// With KESTRANE_VIEW_SHOTS set to a folder, each view is also saved there as a PNG, to look
// at the pictures by eye.
void saveShot(QWidget* view, const QString& name)
{
    const QString folder = qEnvironmentVariable("KESTRANE_VIEW_SHOTS");
    if (folder.isEmpty())
        return;
    view->resize(529, 380);
    view->show();
    QTest::qWait(50);
    view->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    view->hide();
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class TestViewFrames : public QObject
{
    Q_OBJECT

private slots:
    void frameIsShown_data();
    void frameIsShown();
    void distanceColoursNearRedFarBlue();
};

void TestViewFrames::frameIsShown_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("piDelay");
    QTest::addColumn<bool>("horizontalFlip");
    QTest::addColumn<bool>("verticalFlip");
    QTest::addColumn<QString>("command");

    QTest::addRow("grayscale") << int(View::Grayscale) << "zc320" << 0 << false << false << false
                               << "getBWSorted";
    QTest::addRow("distance") << int(View::Distance) << "zc320" << 1 << false << true << false
                              << "getDistanceAndAmplitudeSorted";
    QTest::addRow("distance, both flips")
        << int(View::Distance) << "zc320" << 1 << false << true << true << "getDistanceAndAmplitudeSorted";
    QTest::addRow("amplitude") << int(View::Amplitude) << "zc320" << 2 << false << false << true
                               << "getAmplitudeSorted";
    QTest::addRow("distance, small sensor")
        << int(View::Distance) << "zc310" << 1 << false << false << false << "getDistanceAndAmplitudeSorted";
    QTest::addRow("DCS, four samples")
        << int(View::DCS) << "zc320" << 6 << true << false << false << "getDCSSorted";
    QTest::addRow("DCS differences") << int(View::DifDCS) << "zc320" << 7 << true << true << false
                                     << "getDCSSorted";
    QTest::addRow("FLIM") << int(View::FLIM) << "zc210" << 10 << false << false << false << "getDCSSorted";
}

void TestViewFrames::frameIsShown()
{
    QFETCH(int, view);
    QFETCH(QString, chip);
    QFETCH(int, mode);
    QFETCH(bool, piDelay);
    QFETCH(bool, horizontalFlip);
    QFETCH(bool, verticalFlip);
    QFETCH(QString, command);

    SimulatorProcess sim({QStringLiteral("--chip"), chip});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    const int chipType = chip == QLatin1String("zc310") ? 4 : chip == QLatin1String("zc210") ? 3 : 2;
    settings->setChipType(chipType);
    settings->roi()->setChipType(chipType);
    if (chipType == 4) {
        // The small sensor's whole array, as the simulator serves it by default.
        settings->roi()->setRoi(4, 163, 6, 65);
        context.imageCreator()->rebuild();
    }
    settings->flim()->setFlimChip(chipType == 3);
    settings->setModeIndex(mode);
    settings->settings3D()->setDistanceMin(0);
    settings->settings3D()->setDistanceMax(750);
    settings->transformation()->setHorizontalFlip(horizontalFlip);
    settings->transformation()->setVerticalFlip(verticalFlip);
    // Filters off: the shown picture must be the decoded field as it arrived.
    settings->setEdgeDetection(false);
    settings->distanceCalculation()->setAmplitudeHdr(false);
    settings->calibration()->setPixelInterpolation(false);
    settings->distanceCalculation()->setPiDelay(piDelay);
    // The camera must deliver what the settings describe.
    if (piDelay)
        sim.exchange(Commands::enablePiDelay(true).toLatin1());

    std::unique_ptr<ImageViewBase> widget;
    std::function<void()> start;
    QList<QLabel*> labels;
    switch (View(view)) {
    case View::Grayscale: {
        auto* v = new WidgetGrayscale(&context);
        start = [v] { v->startView(); };
        labels << v->imageLabel();
        widget.reset(v);
        break;
    }
    case View::Distance: {
        auto* v = new WidgetDistance(&context);
        start = [v] { v->startView(); };
        labels << v->imageLabel();
        widget.reset(v);
        break;
    }
    case View::Amplitude: {
        auto* v = new WidgetAmplitude(&context);
        v->setColorType(WidgetAmplitude::Ramp);
        start = [v] { v->startView(); };
        labels << v->imageLabel();
        widget.reset(v);
        break;
    }
    case View::DCS: {
        auto* v = new WidgetDCS(&context);
        start = [v] { v->startView(); };
        for (int i = 0; i < 4; ++i)
            labels << v->imageLabel(i);
        widget.reset(v);
        break;
    }
    case View::DifDCS: {
        auto* v = new WidgetDifDCS(&context);
        start = [v] { v->startView(); };
        widget.reset(v);
        break;
    }
    case View::FLIM: {
        auto* v = new WidgetFLIM(&context);
        start = [v] { v->startView(); };
        for (int i = 0; i < 2; ++i)
            labels << v->imageLabel(i);
        widget.reset(v);
        break;
    }
    }
    QCOMPARE(widget->frameCommand(), command);

    // The reply as the channel hands it over (connected before the view's decoder).
    QByteArray payload;
    connect(widget->controllerPicture(), &ControllerPicture::pictureReady, this,
            [&payload](QByteArray& data) { payload = data; });
    QSignalSpy updated(widget.get(), &ImageViewBase::pictureUpdated);
    QSignalSpy released(context.tcp(), &ZelTcp::ready);
    start();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 10000);
    QCOMPARE(released.count(), 1);
    QVERIFY(!payload.isEmpty());

    const QList<QImage> expected = expectedPictures(View(view), settings, payload);
    if (View(view) == View::DifDCS) {
        auto* v = static_cast<WidgetDifDCS*>(widget.get());
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(ViewTest::differingPixels(v->displayed(i), expected[i]), 0);
            QVERIFY(distinctColours(expected[i]) > 4);
        }
    } else {
        QCOMPARE(labels.size(), expected.size());
        for (int i = 0; i < labels.size(); ++i) {
            const QImage picture = ViewTest::shown(labels[i]);
            QCOMPARE(picture.size(), expected[i].size());
            QCOMPARE(ViewTest::differingPixels(picture, expected[i]), 0);
            // A scene, not a flat field (the gate images of an untimed FLIM cycle are flat).
            if (View(view) != View::FLIM)
                QVERIFY2(distinctColours(picture) > 4, qPrintable(QString::number(distinctColours(picture))));
        }
    }

    saveShot(widget.get(), QString::fromLatin1(QTest::currentDataTag()));

    // The view released the loop and is disarmed: the next reply reaches nobody.
    QByteArray late = payload;
    emit widget->controllerPicture()->pictureReady(late);
    QCOMPARE(updated.count(), 1);
}

void TestViewFrames::distanceColoursNearRedFarBlue()
{
    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    settings->setChipType(2);
    // The zc320's own configuration: its range and filters (median, edge step, Gauss).
    SettingsManager manager(settings);
    QVERIFY(manager.loadConfig(QStringLiteral(":/config/zc320_settings_default.xml")));
    // The simulator's frequency (10 MHz, index 1 of its list) and a range over its room.
    settings->modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->setFrequencyIndex(1);
    settings->settings3D()->setDistanceMin(50);
    settings->settings3D()->setDistanceMax(600);
    // The edge step's threshold comes from the view panel's threshold box, which is not
    // part of this test: without it the step would blank every noisy pixel.
    settings->setEdgeDetection(false);
    settings->setModeIndex(1);
    WidgetDistance view(&context);
    QSignalSpy updated(&view, &WidgetDistance::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 10000);

    // Order the ROI pixels inside the range by distance: the nearest tenth is redder than
    // blue, the farthest tenth bluer than red. The edge step marks its pixels with the
    // distanceMin number; those carry no distance.
    DistanceLabeler labeler(settings);
    const int min = labeler.cmToLsb(settings->settings3D()->distanceMin());
    const int max = labeler.cmToLsb(settings->settings3D()->distanceMax());
    const int edgeMark = settings->settings3D()->distanceMin();
    const DataPixelfield& distance = *view.informationSample()->distanceField(false);
    // The configuration may mirror the picture.
    const QImage& picture = view.displayed();
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    QVector<QPair<int, QRgb>> pixels;
    for (int x = 4; x <= 323; x += 2)
        for (int y = 6; y <= 245; y += 2)
            if (distance.value(x, y) > min && distance.value(x, y) <= max && distance.value(x, y) != edgeMark)
                pixels.append(
                    {distance.value(x, y), picture.pixel(horizontal ? 327 - x : x, vertical ? 251 - y : y)});
    QVERIFY2(pixels.size() > 1000,
             qPrintable(QStringLiteral("%1 pixels in %2 ... %3").arg(pixels.size()).arg(min).arg(max)));
    std::sort(pixels.begin(), pixels.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const int tenth = pixels.size() / 10;
    long nearRed = 0, nearBlue = 0, farRed = 0, farBlue = 0;
    for (int i = 0; i < tenth; ++i) {
        nearRed += qRed(pixels[i].second);
        nearBlue += qBlue(pixels[i].second);
        farRed += qRed(pixels[pixels.size() - 1 - i].second);
        farBlue += qBlue(pixels[pixels.size() - 1 - i].second);
    }
    QVERIFY2(nearRed > nearBlue, qPrintable(QStringLiteral("%1 %2").arg(nearRed).arg(nearBlue)));
    QVERIFY2(farBlue > farRed, qPrintable(QStringLiteral("%1 %2").arg(farRed).arg(farBlue)));
    saveShot(&view, QStringLiteral("distance, zc320 configuration"));
}

KESTRANE_TEST_MAIN(TestViewFrames)
#include "tst_viewframes.moc"
