#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "frames/DataCorrelationSamples.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoGrayscale.h"
#include "render/ZelImageCreator.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDifDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetGrayscale.h"
#include "views/WindowDemo.h"
#include "views/ZelLabel.h"

#include "ViewTestSupport.h"

#include <QStackedWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int kRoiPixels = 320 * 240;

// A context whose channel talks to a scripted camera on loopback that answers every
// exchange with `reply`.
struct Fixture
{
    explicit Fixture(const QByteArray& reply) : server({ScriptedServer::Step::answer(reply)})
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(server.port());
        // 10 MHz: one unambiguous range is 15 m.
        settings()->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
        settings()->modulation()->setFrequencyIndex(0);
    }
    Settings* settings() { return context.settings(); }

    ApplicationContext context;
    ScriptedServer server;
};

QString text(const QWidget* parent, const char* name)
{
    const auto* label = parent->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

} // namespace

class TestImageViews : public QObject
{
    Q_OBJECT

private slots:
    void distanceLegendAndRange_data();
    void distanceLegendAndRange();
    void hoverMapping_data();
    void hoverMapping();
    void regionSelection_data();
    void regionSelection();
    void markerWhileStopped();
    void markerWhilePausedWaits();
    void viewIsArmedForOneFrame();
    void dcsSamplesPainted_data();
    void dcsSamplesPainted();
    void differencesCentredOnMidGray();
    void differencesLegendIsItsOwn();
    void grayscaleOffsetAndPixelInfo();
    void amplitudeColourTypes();
    void corners_data();
    void corners();
    void windowDemoPages_data();
    void windowDemoPages();
    void windowDemoFitAndResize_data();
    void windowDemoFitAndResize();
};

void TestImageViews::distanceLegendAndRange_data()
{
    QTest::addColumn<int>("minimumCm");
    QTest::addColumn<int>("maximumCm");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<bool>("black");

    QTest::addRow("0 to 15 m, far end inside") << 0 << 1500 << 30000 << "15 m"
                                               << "0 m" << false;
    QTest::addRow("0 to 15 m, one LSB beyond") << 0 << 1500 << 30001 << "15 m"
                                               << "0 m" << true;
    QTest::addRow("2.5 to 15 m") << 250 << 1500 << 20000 << "15 m"
                                 << "2.5 m" << false;
    QTest::addRow("0 to 4 m, 5 m is beyond") << 0 << 400 << 10000 << "4 m"
                                             << "0 m" << true;
    // A range that was never configured shows the whole unambiguous range.
    QTest::addRow("unconfigured range") << 0 << 0 << 29000 << "15 m"
                                        << "0 m" << false;
}

void TestImageViews::distanceLegendAndRange()
{
    QFETCH(int, minimumCm);
    QFETCH(int, maximumCm);
    QFETCH(int, word);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(bool, black);

    Fixture f(ViewTest::words(2 * kRoiPixels, word));
    f.settings()->settings3D()->setDistanceMin(minimumCm);
    f.settings()->settings3D()->setDistanceMax(maximumCm);
    WidgetDistance view(&f.context);
    QSignalSpy updated(&view, &WidgetDistance::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);

    QCOMPARE(text(&view, "lLegendDistanceEnd"), top);
    QCOMPARE(text(&view, "lLegendDistanceBegin"), bottom);
    QVERIFY(
        !view.findChild<QLabel*>(QStringLiteral("lImageLegendDistance"))->pixmap(Qt::ReturnByValue).isNull());
    // Inside the ROI: values beyond the range are drawn like low amplitude, black.
    const QImage picture = ViewTest::shown(view.imageLabel());
    QCOMPARE(picture.size(), QSize(328, 252));
    QCOMPARE(picture.pixel(164, 126) == qRgb(0, 0, 0), black);
}

void TestImageViews::hoverMapping_data()
{
    QTest::addColumn<bool>("horizontalFlip");
    QTest::addColumn<bool>("verticalFlip");
    QTest::addColumn<QPoint>("labelPosition");
    QTest::addColumn<QPoint>("hover");
    QTest::addColumn<QString>("header");

    const QPoint last(2 * 328 - 1, 2 * 252 - 1);
    QTest::addRow("top left") << false << false << QPoint(0, 0) << QPoint(0, 0) << "Pixel data (0, 0)";
    QTest::addRow("bottom right") << false << false << last << QPoint(327, 251) << "Pixel data (327, 251)";
    QTest::addRow("odd label pixel truncates")
        << false << false << QPoint(201, 99) << QPoint(100, 49) << "Pixel data (100, 49)";
    QTest::addRow("left edge, flipped horizontally")
        << true << false << QPoint(0, 10) << QPoint(0, 5) << "Pixel data (327, 5)";
    QTest::addRow("top edge, flipped vertically")
        << false << true << QPoint(20, 0) << QPoint(10, 0) << "Pixel data (10, 251)";
    QTest::addRow("both flips") << true << true << last << QPoint(327, 251) << "Pixel data (0, 0)";
}

void TestImageViews::hoverMapping()
{
    QFETCH(bool, horizontalFlip);
    QFETCH(bool, verticalFlip);
    QFETCH(QPoint, labelPosition);
    QFETCH(QPoint, hover);
    QFETCH(QString, header);

    Fixture f{QByteArray()};
    f.settings()->transformation()->setHorizontalFlip(horizontalFlip);
    f.settings()->transformation()->setVerticalFlip(verticalFlip);
    WidgetDistance view(&f.context);
    // A label twice the sensor size.
    view.imageLabel()->resize(2 * 328, 2 * 252);
    // The distance view follows the hover from its construction on.
    emit view.imageLabel()->mouseHover(labelPosition.x(), labelPosition.y());
    QCOMPARE(QPoint(view.hoverPositionX(), view.hoverPositionY()), hover);
    QCOMPARE(text(view.pixelInfo(), "lHeader"), header);
}

void TestImageViews::regionSelection_data()
{
    QTest::addColumn<QRect>("drag"); // x1, y1, x2, y2 as left, top, right, bottom
    QTest::addColumn<bool>("horizontalFlip");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QRect>("roi");

    QTest::addRow("the worked example") << QRect(QPoint(10, 40), QPoint(110, 212)) << false << false
                                        << QRect(QPoint(8, 38), QPoint(109, 213));
    QTest::addRow("10 columns are too few")
        << QRect(QPoint(20, 40), QPoint(28, 212)) << false << true << QRect();
    QTest::addRow("12 columns are enough")
        << QRect(QPoint(20, 40), QPoint(30, 212)) << false << false << QRect(QPoint(18, 38), QPoint(29, 213));
    QTest::addRow("top on row 120 is too low")
        << QRect(QPoint(10, 121), QPoint(110, 131)) << false << true << QRect();
    QTest::addRow("mirrored columns") << QRect(QPoint(10, 40), QPoint(110, 212)) << true << false
                                      << QRect(QPoint(218, 38), QPoint(319, 213));
}

void TestImageViews::regionSelection()
{
    QFETCH(QRect, drag);
    QFETCH(bool, horizontalFlip);
    QFETCH(bool, refused);
    QFETCH(QRect, roi);

    Fixture f{QByteArray()};
    f.settings()->transformation()->setHorizontalFlip(horizontalFlip);
    WidgetDistance view(&f.context);
    view.imageLabel()->resize(328, 252);
    SettingsROI* settingsRoi = f.settings()->roi();
    const QRect before(QPoint(settingsRoi->x1(), settingsRoi->y1()),
                       QPoint(settingsRoi->x2(), settingsRoi->y2()));

    ViewTest::ModalAnswer answer;
    if (refused)
        answer.arm();
    // As the label reports a finished drag.
    emit view.imageLabel()->regionSelected(drag.left(), drag.right(), drag.top(), drag.bottom());

    const QRect after(QPoint(settingsRoi->x1(), settingsRoi->y1()),
                      QPoint(settingsRoi->x2(), settingsRoi->y2()));
    if (refused) {
        QVERIFY(answer.seen);
        QCOMPARE(answer.text, QStringLiteral("Selected ROI is too small."));
        QCOMPARE(after, before);
    } else {
        QCOMPARE(after, roi);
    }
}

void TestImageViews::markerWhileStopped()
{
    Fixture f(ViewTest::words(2 * kRoiPixels, 20000));
    f.settings()->settings3D()->setDistanceMax(1500);
    WidgetDistance view(&f.context);
    view.imageLabel()->resize(328, 252);
    QSignalSpy updated(&view, &WidgetDistance::pictureUpdated);
    QSignalSpy marked(&view, &WidgetDistance::markerSelected);
    emit view.imageLabel()->mouseHover(100, 100);
    QVERIFY(!f.settings()->running());

    // Ctrl + click, as the label reports it.
    emit view.imageLabel()->selectMarker(true);
    QCOMPARE(marked.count(), 1);
    QVERIFY(f.settings()->pixelInfoEnabled());
    QVERIFY(view.pixelInfo()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    QCOMPARE(f.server.connectionCount(), 1);

    const QImage picture = ViewTest::shown(view.imageLabel());
    const QRgb cross = ImageViewBase::distanceMarkerColor().rgb();
    // Four arms from 2 to 8 pixels off the centre, the centre itself left free.
    QCOMPARE(picture.pixel(100, 96), cross);
    QCOMPARE(picture.pixel(100, 92), cross);
    QCOMPARE(picture.pixel(96, 100), cross);
    QCOMPARE(picture.pixel(100, 104), cross);
    QCOMPARE(picture.pixel(108, 100), cross);
    QVERIFY(picture.pixel(100, 100) != cross);
    QVERIFY(picture.pixel(100, 109) != cross);
    QVERIFY(picture.pixel(101, 96) != cross);
    view.pixelInfo()->close();
}

void TestImageViews::markerWhilePausedWaits()
{
    Fixture f(ViewTest::words(2 * kRoiPixels, 20000));
    WidgetDistance view(&f.context);
    f.settings()->startAcquisition();
    f.settings()->pauseAcquisition();
    emit view.imageLabel()->selectMarker(true);
    QVERIFY(view.isMarkerSet());
    // Paused: the resumed video brings the next frame, no extra request now.
    QTest::qWait(200);
    QCOMPARE(f.server.connectionCount(), 0);
    emit view.imageLabel()->selectMarker(false);
    QVERIFY(!view.isMarkerSet());
    view.pixelInfo()->close();
}

void TestImageViews::viewIsArmedForOneFrame()
{
    Fixture f(ViewTest::words(2 * kRoiPixels, 20000));
    WidgetDistance view(&f.context);
    QSignalSpy updated(&view, &WidgetDistance::pictureUpdated);
    QSignalSpy released(f.context.tcp(), &ZelTcp::ready);
    view.startView();
    view.startView(); // a repeated arming adds no second connection
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    QCOMPARE(released.count(), 1);

    // Disarmed after the frame: a reply handed over now reaches nobody.
    QByteArray late = ViewTest::words(2 * kRoiPixels, 100);
    emit view.controllerPicture()->pictureReady(late);
    QCOMPARE(updated.count(), 1);

    // The temperature poll releases the loop instead of the view.
    f.settings()->setTemperaturePolling(true);
    view.startView();
    emit view.controllerPicture()->pictureReady(late);
    QCOMPARE(updated.count(), 2);
    QCOMPARE(released.count(), 1);

    // A pause disarms the view too.
    view.startView();
    f.settings()->startAcquisition();
    f.settings()->pauseAcquisition();
    emit view.controllerPicture()->pictureReady(late);
    QCOMPARE(updated.count(), 2);
}

void TestImageViews::dcsSamplesPainted_data()
{
    QTest::addColumn<bool>("dualMGX");
    QTest::addColumn<bool>("piDelay");
    QTest::addColumn<int>("samples");
    QTest::addColumn<QVector<bool>>("painted");

    QTest::addRow("dual MGX without pi delay")
        << true << false << 1 << QVector<bool>{true, false, false, false};
    QTest::addRow("dual MGX with pi delay") << true << true << 2 << QVector<bool>{true, true, false, false};
    QTest::addRow("neither") << false << false << 2 << QVector<bool>{true, true, false, false};
    QTest::addRow("pi delay only: four samples")
        << false << true << 4 << QVector<bool>{true, true, true, true};
}

void TestImageViews::dcsSamplesPainted()
{
    QFETCH(bool, dualMGX);
    QFETCH(bool, piDelay);
    QFETCH(int, samples);
    QFETCH(QVector<bool>, painted);

    Fixture f(ViewTest::words(samples * kRoiPixels, 2048));
    f.settings()->setModeIndex(6);
    f.settings()->distanceCalculation()->setDualMGX(dualMGX);
    f.settings()->distanceCalculation()->setPiDelay(piDelay);
    WidgetDCS view(&f.context);
    QSignalSpy updated(&view, &WidgetDCS::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    for (int i = 0; i < WidgetDCS::kPictureCount; ++i) {
        QCOMPARE(view.isPainted(i), painted[i]);
        const QImage picture = ViewTest::shown(view.imageLabel(i));
        QCOMPARE(picture.size(), QSize(328, 252));
        QCOMPARE(ViewTest::allWhite(picture), !painted[i]);
    }
    QCOMPARE(text(&view, "lDCS0"), QStringLiteral("DCS 0"));
    QCOMPARE(text(&view, "lDCS3"), QStringLiteral("DCS 3"));
    QCOMPARE(text(&view, "lLegendDCSEnd"), QStringLiteral("2047"));
    QCOMPARE(text(&view, "lLegendDCSBegin"), QStringLiteral("-2048"));
}

void TestImageViews::differencesCentredOnMidGray()
{
    // Four equal samples: no difference, which the view shows as mid-gray.
    Fixture f(ViewTest::words(4 * kRoiPixels, 2000));
    f.settings()->setModeIndex(7);
    f.settings()->distanceCalculation()->setPiDelay(true);
    WidgetDifDCS view(&f.context);
    view.resize(700, 300);
    QSignalSpy updated(&view, &WidgetDifDCS::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    QCOMPARE(view.correlationSamples()->differenceValue(false, 164, 126),
             DataCorrelationSamples::kDifferenceZero);
    for (int i = 0; i < WidgetDifDCS::kPictureCount; ++i) {
        const QImage& picture = view.displayed(i);
        const QRgb centre = picture.pixel(164, 126);
        QCOMPARE(qRed(centre), qGreen(centre));
        QCOMPARE(qRed(centre), qBlue(centre));
        QVERIFY2(qAbs(qRed(centre) - 127) <= 2, qPrintable(QString::number(qRed(centre))));
        // Fitted to the label width, aspect kept.
        const QPixmap pixmap = view.imageLabel(i)->pixmap(Qt::ReturnByValue);
        QCOMPARE(pixmap.width(), view.imageLabel(i)->width());
        QVERIFY(qAbs(pixmap.height() - pixmap.width() * 252 / 328) <= 1);
    }
    QCOMPARE(text(&view, "lDifDCS0"), QStringLiteral("DCS2 - DCS0"));
    QCOMPARE(text(&view, "lLegendDifDCSEnd"), QStringLiteral("4095"));

    // Without the four-sample case both pictures are white.
    f.settings()->distanceCalculation()->setPiDelay(false);
    f.server.setScript({ScriptedServer::Step::answer(ViewTest::words(2 * kRoiPixels, 2000))});
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 2, 5000);
    QVERIFY(ViewTest::allWhite(view.displayed(0)));
    QVERIFY(ViewTest::allWhite(view.displayed(1)));
}

void TestImageViews::differencesLegendIsItsOwn()
{
    // The distance view leaves its reversed ramp in the shared creator; a differences frame
    // without four samples paints nothing, and still shows the gray bar of its own mapping.
    Fixture f(ViewTest::words(2 * kRoiPixels, 2000));
    f.settings()->distanceCalculation()->setPiDelay(false);
    WidgetDistance distance(&f.context);
    WidgetDifDCS differences(&f.context);
    QSignalSpy distanceShown(&distance, &WidgetDistance::pictureUpdated);
    QSignalSpy differencesShown(&differences, &WidgetDifDCS::pictureUpdated);
    const QImage gray =
        f.context.imageCreator()->legend(ZelImageCreator::Grayscale).convertToFormat(QImage::Format_RGB32);
    auto legend = [&differences] {
        return ViewTest::shown(differences.findChild<QLabel*>(QStringLiteral("lImageLegendDifDCS")));
    };
    for (int round = 1; round <= 2; ++round) {
        distance.startView();
        QTRY_COMPARE_WITH_TIMEOUT(distanceShown.count(), round, 5000);
        differences.startView();
        QTRY_COMPARE_WITH_TIMEOUT(differencesShown.count(), round, 5000);
        QVERIFY(ViewTest::allWhite(differences.displayed(0)));
        QCOMPARE(legend(), gray);
    }
}

void TestImageViews::grayscaleOffsetAndPixelInfo()
{
    Fixture f(ViewTest::words(kRoiPixels, 2048 + 1000));
    f.settings()->setModeIndex(0);
    WidgetGrayscale view(&f.context);
    view.imageLabel()->resize(328, 252);
    // Hover is followed only while the statistics window is open.
    emit view.imageLabel()->mouseHover(50, 60);
    QCOMPARE(view.hoverPositionX(), 0);
    view.setPixelInfoVisible(true);
    emit view.imageLabel()->mouseHover(50, 60);
    QCOMPARE(view.hoverPositionX(), 50);

    QSignalSpy updated(&view, &WidgetGrayscale::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    QCOMPARE(view.pixelField()->value(50, 60), 1000);
    QCOMPARE(text(view.pixelInfo(), "lValue"), QStringLiteral("1000 LSB"));
    QCOMPARE(text(view.pixelInfo(), "lHeader"), QStringLiteral("Pixel data (50, 60)"));
    QCOMPARE(text(&view, "lLegendGrayscaleEnd"), QStringLiteral("2047"));
    const QRgb centre = ViewTest::shown(view.imageLabel()).pixel(50, 60);
    QCOMPARE(qRed(centre), qBlue(centre));

    view.setPixelInfoVisible(false);
    QVERIFY(!view.pixelInfo()->isVisible());
    emit view.imageLabel()->mouseHover(10, 10);
    QCOMPARE(view.hoverPositionX(), 50);
}

void TestImageViews::amplitudeColourTypes()
{
    Fixture f(ViewTest::words(kRoiPixels, 1000));
    f.settings()->setModeIndex(2);
    WidgetAmplitude view(&f.context);
    QSignalSpy updated(&view, &WidgetAmplitude::pictureUpdated);

    view.setColorType(WidgetAmplitude::Ramp);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    const QRgb ramp = ViewTest::shown(view.imageLabel()).pixel(164, 126);
    QVERIFY(!(qRed(ramp) == qGreen(ramp) && qGreen(ramp) == qBlue(ramp)));
    QCOMPARE(text(&view, "lLegendAmplitudeEnd"),
             QString::number(f.settings()->distanceCalculation()->maxAmplitude()));

    view.setColorType(WidgetAmplitude::Gray);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 2, 5000);
    const QRgb gray = ViewTest::shown(view.imageLabel()).pixel(164, 126);
    QCOMPARE(qRed(gray), qGreen(gray));
    QCOMPARE(qGreen(gray), qBlue(gray));
}

void TestImageViews::corners_data()
{
    QTest::addColumn<bool>("horizontalFlip");
    QTest::addColumn<bool>("verticalFlip");
    QTest::addColumn<QStringList>("texts"); // top, bottom, left, right

    QTest::addRow("no flips") << false << false << QStringList{"0", "251", "0", "327"};
    QTest::addRow("both flips") << true << true << QStringList{"251", "0", "327", "0"};
}

void TestImageViews::corners()
{
    QFETCH(bool, horizontalFlip);
    QFETCH(bool, verticalFlip);
    QFETCH(QStringList, texts);

    Fixture f(ViewTest::words(2 * kRoiPixels, 5000));
    f.settings()->transformation()->setHorizontalFlip(horizontalFlip);
    f.settings()->transformation()->setVerticalFlip(verticalFlip);
    WidgetDistance view(&f.context);
    QSignalSpy updated(&view, &WidgetDistance::pictureUpdated);
    view.startView();
    QTRY_COMPARE_WITH_TIMEOUT(updated.count(), 1, 5000);
    QCOMPARE(QStringList({text(&view, "lYDistanceTop"), text(&view, "lYDistanceBottom"),
                          text(&view, "lXDistanceLeft"), text(&view, "lXDistanceRight")}),
             texts);
}

void TestImageViews::windowDemoPages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");

    QTest::addRow("grayscale") << 0 << "Grayscale Image";
    QTest::addRow("distance") << 1 << "Distance Image";
    QTest::addRow("amplitude") << 2 << "Amplitude Image";
    QTest::addRow("point cloud") << 3 << "Point Cloud";
    QTest::addRow("DCS") << 4 << "Differential Correlation Samples";
    QTest::addRow("DCS differences") << 5 << "DCS Difference";
    QTest::addRow("DCS + grayscale") << 6 << "DCS + Grayscale";
    QTest::addRow("FLIM keeps the title") << 7 << "DCS Difference";
    QTest::addRow("HDR") << 8 << "HDR Distance Images";
}

void TestImageViews::windowDemoPages()
{
    QFETCH(int, page);
    QFETCH(QString, title);

    Settings settings;
    WindowDemo demo(&settings);
    QCOMPARE(demo.objectName(), QStringLiteral("WindowDemo"));
    QCOMPARE(demo.windowTitle(), QStringLiteral("Image"));
    QVERIFY(demo.findChild<QStackedWidget*>(QStringLiteral("stackedWidget")));
    for (int i = 0; i < 9; ++i)
        demo.addPage(new QWidget);
    demo.setPage(5);
    demo.setPage(page);
    QCOMPARE(demo.currentPage(), page);
    QCOMPARE(demo.windowTitle(), title);
}

void TestImageViews::windowDemoFitAndResize_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("minimum");

    QTest::addRow("zc320") << 2 << 1 << QSize(529, 380);
    QTest::addRow("zc320, DCS + grayscale") << 2 << 8 << QSize(529, 544);
    QTest::addRow("zc310") << 4 << 1 << QSize(305, 138);
    QTest::addRow("zc310, DCS + grayscale") << 4 << 8 << QSize(305, 230);
}

void TestImageViews::windowDemoFitAndResize()
{
    QFETCH(int, chipType);
    QFETCH(int, mode);
    QFETCH(QSize, minimum);

    Settings settings;
    settings.setChipType(chipType);
    settings.roi()->setChipType(chipType);
    settings.setModeIndex(mode);
    WindowDemo demo(&settings);
    demo.addPage(new QWidget);
    demo.fitToSensor();
    QCOMPARE(demo.stack()->minimumSize(), minimum);
    QCOMPARE(demo.aspectRatio(), double(minimum.width()) / minimum.height());

    // A wider window: the pictures keep their aspect ratio, bounded by the height.
    demo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&demo));
    demo.resize(minimum.width() * 3, minimum.height() + 40);
    QTRY_COMPARE(settings.windDemoWidth(), minimum.width() * 3);
    const QSize bound = demo.stack()->maximumSize();
    QVERIFY(qAbs(double(bound.width()) / bound.height() - demo.aspectRatio()) < 0.02);
    QCOMPARE(settings.windDemoHeight(), demo.height());

    // The stored geometry is applied back only when both sizes are set.
    settings.setWindDemoWidth(0);
    const QSize before = demo.size();
    demo.setWindowSize();
    QCOMPARE(demo.size(), before);
    demo.hide();
}

KESTRANE_TEST_MAIN(TestImageViews)
#include "tst_imageviews.moc"
