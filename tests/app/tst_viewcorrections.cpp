#include "app/ApplicationContext.h"
#include "app/StartupManager.h"
#include "app/WidgetView.h"
#include "app/WindowMain.h"
#include "frames/DataPixelfield.h"
#include "render/MedianKernel.h"
#include "settings/SettingsManager.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"
#include "support/WheelTurn.h"
#include "views/WindowDemo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// The answer of a camera that has every calibration.
const QByteArray available("\x01\x00", 2);

// The main window with its view panel, on a scripted camera that answers every command
// with `reply` and records what it was sent.
struct Panel
{
    explicit Panel(const QByteArray& reply = QByteArray()) : camera({ScriptedServer::Step::answer(reply)})
    {
        settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        settings()->socket()->setPort(camera.port());
        settings()->setChipType(2);
        window = std::make_unique<WindowMain>(&context, &manager);
        view = window->findChild<WidgetView*>(QStringLiteral("view"));
    }
    ~Panel() { view->windowDemo()->hide(); }
    Settings* settings() { return context.settings(); }
    template <typename T = QWidget>
    T* child(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    QComboBox* mode() const { return child<QComboBox>("cbViewMode"); }
    QCheckBox* box(const char* name) const { return child<QCheckBox>(name); }
    // Commands received since the last call, without the offset read that ends every
    // transaction.
    QStringList takeCommands()
    {
        const QStringList all = camera.commands();
        QStringList fresh = all.mid(seen);
        seen = all.size();
        fresh.removeAll(QStringLiteral("getOffset"));
        return fresh;
    }
    // A frequency list of one entry with the given calibration type.
    void useFrequency(int hz, int calibrationType)
    {
        settings()->modulation()->addFrequency(QStringLiteral("f"), hz);
        settings()->modulation()->addCalibrationType(calibrationType);
        settings()->modulation()->setFrequencyIndex(0);
    }

    ScriptedServer camera;
    ApplicationContext context;
    StartupManager manager{&context};
    std::unique_ptr<WindowMain> window;
    WidgetView* view = nullptr;
    int seen = 0;
};
} // namespace

// The view panel's corrections, filters and view-mode layout, with the status strip of the
// main window that shows their result.
class TestViewCorrections : public QObject
{
    Q_OBJECT

private slots:
    void settingsGroupBoxes();
    void hdrItem();
    void grayscaleStatusOnTheStrip();
    void absGate_data();
    void absGate();
    void showDrnuChoiceSurvivesALock();
    void viewModeLayout_data();
    void viewModeLayout();
    void kalmanVariantsAreExclusive();
    void kalmanKAboveOne();
    void medianSizeIsOdd_data();
    void medianSizeIsOdd();
    void edgeThresholdInLsb();
    void loadedEdgeThresholdActsAsTyped_data();
    void loadedEdgeThresholdActsAsTyped();
    void kalmanFieldsLeaveTheWheel();
    void drnuCurveInMillimetres();
};

void TestViewCorrections::settingsGroupBoxes()
{
    Panel p;
    const QStringList expected{"gbOptionsIntegrationTime",
                               "gbOptionsFLIM",
                               "gbOptionsModulation",
                               "gbOptions3D",
                               "gbOptionsCalculation",
                               "gbOptionsABS",
                               "gbOptionsBinningAndReduction",
                               "gbOptionsDataValidation",
                               "gbOptionsROI",
                               "gbOptionsTransformation",
                               "gbOptionsImage",
                               "gbOptionsDLL"};
    QStringList found;
    for (QGroupBox* group :
         p.child<QWidget>("wOptions")->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly))
        found << group->objectName();
    QCOMPARE(found, expected);
    for (int i = 0; i < expected.size(); ++i) {
        const QString background =
            i % 2 == 0 ? QStringLiteral("rgb(250, 250, 250)") : QStringLiteral("rgb(217, 219, 218)");
        QVERIFY2(p.child(qPrintable(expected[i]))->styleSheet().contains(background),
                 qPrintable(expected[i]));
    }
}

void TestViewCorrections::hdrItem()
{
    Panel p;
    QCOMPARE(p.mode()->count(), 9);
    p.settings()->distanceCalculation()->setHdr(true);
    QCOMPARE(p.mode()->count(), 10);
    QCOMPARE(p.mode()->itemText(9), QStringLiteral("TOF HDR (1st & 2nd)"));
    // Announced again: still one item.
    p.settings()->distanceCalculation()->setHdr(true);
    QCOMPARE(p.mode()->count(), 10);
    p.mode()->setCurrentIndex(9);
    QCOMPARE(p.settings()->modeIndex(), 9);
    p.settings()->distanceCalculation()->setHdr(false);
    QCOMPARE(p.mode()->count(), 9);
    QCOMPARE(p.mode()->currentIndex(), 1);
    QCOMPARE(p.settings()->modeIndex(), 1);
}

void TestViewCorrections::grayscaleStatusOnTheStrip()
{
    Panel p;
    p.settings()->calibration()->setGrayscaleCorrectionAvailable(true);
    p.mode()->setCurrentIndex(0);
    p.box("cbGain")->setChecked(true);
    p.box("cbGain")->setChecked(false);
    p.box("cbOffset")->setChecked(true);
    QCOMPARE(p.child<QLabel>("lStatus")->text(), QStringLiteral("PRNU not corrected"));
    QCOMPARE(p.child("wStatus")->styleSheet(), QStringLiteral("background-color: rgb(255, 100, 0);"));
    const QStringList sent = p.takeCommands();
    QVERIFY2(sent.contains(QStringLiteral("correctGrayscaleOffset 1")), qPrintable(sent.join(',')));
    QVERIFY(p.settings()->calibration()->grayscaleOffset());
    QVERIFY(!p.settings()->calibration()->grayscaleGain());
    // Back to a distance mode: the strip shows the distance corrections.
    p.mode()->setCurrentIndex(1);
    QCOMPARE(p.child<QLabel>("lStatus")->text(),
             QStringLiteral("DRNU & Temperature correction not available"));
}

void TestViewCorrections::absGate_data()
{
    QTest::addColumn<int>("calibrationType");
    QTest::addColumn<bool>("abs");
    QTest::addColumn<bool>("unlocked");
    QTest::addRow("type 21, ABS off") << 21 << false << true;
    QTest::addRow("type 21, ABS on") << 21 << true << false;
    QTest::addRow("type 3, ABS on") << 3 << true << true;
    QTest::addRow("type 3, ABS off") << 3 << false << false;
}

void TestViewCorrections::absGate()
{
    QFETCH(int, calibrationType);
    QFETCH(bool, abs);
    QFETCH(bool, unlocked);
    // The camera reports a DRNU calibration.
    Panel p(available);
    p.useFrequency(20000000, calibrationType);
    p.view->refreshCorrectionControls();
    QVERIFY(p.settings()->drnuAvailable());
    QSignalSpy lock(p.settings(), &Settings::lockDRNUCorrection);
    // Through the other state, so that the box is toggled in either case.
    p.box("cbABS")->setChecked(!abs);
    p.box("cbABS")->setChecked(abs);
    QCOMPARE(lock.last().first().toBool(), !unlocked);
    QCOMPARE(p.box("cbDRNU")->isEnabled(), unlocked);
    QCOMPARE(p.box("cbTemperatureCorrection")->isEnabled(), unlocked);
    QVERIFY(p.takeCommands().contains(QStringLiteral("setABS %1").arg(abs ? 1 : 0)));
    // The transaction unlocked the panel again.
    QVERIFY(p.child("wCorrections")->isEnabled());
}

void TestViewCorrections::showDrnuChoiceSurvivesALock()
{
    Panel p(available);
    p.view->refreshCorrectionControls();
    p.box("cbShowDRNU")->setChecked(true);
    QVERIFY(p.settings()->savedShowDrnu());
    p.settings()->lockCorrections(true);
    QVERIFY(!p.box("cbShowDRNU")->isChecked());
    QVERIFY(!p.box("cbShowDRNU")->isEnabled());
    QVERIFY(p.settings()->savedShowDrnu());
    p.settings()->lockCorrections(false);
    QVERIFY(p.box("cbShowDRNU")->isChecked());
    QVERIFY(p.box("cbShowDRNU")->isEnabled());
}

void TestViewCorrections::viewModeLayout_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("loadConfig");
    QTest::addColumn<bool>("distancePanels");
    QTest::addColumn<bool>("grayscaleGroup");
    QTest::addColumn<bool>("tofGroup");
    QTest::addColumn<bool>("logIcon");
    QTest::addColumn<bool>("onlyLsb");
    QTest::addColumn<bool>("fov");
    QTest::addRow("grayscale") << 0 << "loadConfig 0" << false << true << true << true << true << false;
    QTest::addRow("amplitude") << 2 << "loadConfig 1" << true << true << true << true << true << false;
    QTest::addRow("point cloud") << 5 << "loadConfig 1" << true << true << true << true << false << true;
    QTest::addRow("DCS") << 6 << "loadConfig 1" << true << false << false << true << true << false;
    QTest::addRow("DCS + grayscale") << 8 << "loadConfig 1" << true << true << false << false << true
                                     << false;
}

void TestViewCorrections::viewModeLayout()
{
    QFETCH(int, index);
    QFETCH(QString, loadConfig);
    QFETCH(bool, distancePanels);
    QFETCH(bool, grayscaleGroup);
    QFETCH(bool, tofGroup);
    QFETCH(bool, logIcon);
    QFETCH(bool, onlyLsb);
    QFETCH(bool, fov);
    Panel p;
    p.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    p.settings()->distanceCalculation()->setHdr(true);
    p.settings()->setLogLsb(!onlyLsb);
    p.takeCommands();
    p.mode()->setCurrentIndex(index);
    QVERIFY(p.takeCommands().contains(loadConfig));
    QCOMPARE(p.settings()->modeIndex(), index);
    QCOMPARE(p.child("gbOptionsCalculation")->isVisible(), distancePanels);
    QCOMPARE(p.child("gbOptionsModulation")->isVisible(), distancePanels);
    QCOMPARE(p.box("cbABS")->isVisible(), distancePanels);
    // Grayscale switches HDR off; the distance modes keep it.
    QCOMPARE(p.settings()->distanceCalculation()->hdr(), index != 0);
    QCOMPARE(p.box("cbOffset")->isVisible(), grayscaleGroup);
    QCOMPARE(p.box("cbDRNU")->isVisible(), tofGroup);
    QCOMPARE(p.child<QAction>("actionLog")->isEnabled(), logIcon);
    QCOMPARE(p.settings()->logLsb(), onlyLsb);
    QCOMPARE(p.view->findChild<QWidget*>(QStringLiteral("sbFOV"))->isVisible(), fov);
    p.window->hide();
}

void TestViewCorrections::kalmanVariantsAreExclusive()
{
    Panel p;
    p.takeCommands();
    p.box("cbKalman1")->setChecked(true);
    p.box("cbKalman2")->setChecked(true);
    QVERIFY(!p.box("cbKalman1")->isChecked());
    QCOMPARE(p.settings()->kalman(), 2);
    p.box("cbDistortionSupression")->setChecked(true);
    QVERIFY(!p.box("cbKalman2")->isChecked());
    p.box("cbDistortionSupression")->setChecked(false);
    QCOMPARE(p.takeCommands(),
             (QStringList{"Kalman 1", "setKalmanNumCheck 0", "Kalman 2", "setKalmanNumCheck 0", "Kalman 3",
                          "setKalmanNumCheck 2", "Kalman 0"}));
    QCOMPARE(p.settings()->kalman(), 0);
}

void TestViewCorrections::kalmanKAboveOne()
{
    Panel p;
    p.takeCommands();
    p.child<QDoubleSpinBox>("sbKalmanK3")->setValue(2.5);
    QCOMPARE(p.child<QDoubleSpinBox>("sbKalmanK3")->value(), 1.0);
    QCOMPARE(p.settings()->kalmanK(), 1.0);
    // Never the value typed; the K box of the other variant may echo the 1.
    const QStringList sent = p.takeCommands();
    QVERIFY(!sent.isEmpty());
    for (const QString& command : sent)
        QCOMPARE(command, QStringLiteral("setKalmanK 1.0000"));
    // The hub's announcement brings the other K box along.
    QCOMPARE(p.child<QDoubleSpinBox>("sbKalmanK")->value(), 1.0);
}

void TestViewCorrections::medianSizeIsOdd_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("size");
    QTest::addRow("1") << 1 << 3;
    QTest::addRow("2") << 2 << 3;
    QTest::addRow("4") << 4 << 5;
    QTest::addRow("7") << 7 << 7;
    QTest::addRow("17") << 17 << 17;
    QTest::addRow("31, the largest") << 31 << 31;
}

void TestViewCorrections::medianSizeIsOdd()
{
    QFETCH(int, typed);
    QFETCH(int, size);
    Panel p;
    p.child<QSpinBox>("sbMedianFilterSize")->setValue(11);
    p.child<QSpinBox>("sbMedianFilterSize")->setValue(typed);
    QCOMPARE(p.child<QSpinBox>("sbMedianFilterSize")->value(), size);
    QCOMPARE(p.settings()->medianFilterSize(), size);
    // The box, the configuration loader and the filter share one largest size.
    QCOMPARE(p.child<QSpinBox>("sbMedianFilterSize")->maximum(), MedianKernel::kMaxSize);
}

void TestViewCorrections::edgeThresholdInLsb()
{
    Panel p;
    // 20 MHz: an unambiguous range of 7500 mm, so 100 mm are 400 LSB.
    p.useFrequency(20000000, 0);
    p.child<QSpinBox>("sbEdgeDetectionThreshold")->setValue(100);
    QCOMPARE(p.settings()->edgeDetectionThreshold(false), 400);
    QCOMPARE(p.settings()->edgeDetectionThreshold(true), 400);
    p.child<QSpinBox>("sbEdgeDetectionThreshold")->setValue(14);
    QCOMPARE(p.settings()->edgeDetectionThreshold(false), 56);
    QCOMPARE(p.settings()->edgeDetectionThreshold(true), 56);
}

void TestViewCorrections::loadedEdgeThresholdActsAsTyped_data()
{
    QTest::addColumn<int>("mm");
    QTest::addRow("5 mm") << 5;
    QTest::addRow("14 mm") << 14;
    QTest::addRow("100 mm") << 100;
}

void TestViewCorrections::loadedEdgeThresholdActsAsTyped()
{
    QFETCH(int, mm);
    Panel p;
    p.useFrequency(20000000, 0); // 7500 mm of unambiguous range
    p.child<QSpinBox>("sbEdgeDetectionThreshold")->setValue(mm);
    const int first = p.settings()->edgeDetectionThreshold(false);
    const int typed = p.settings()->edgeDetectionThreshold(true);
    QVERIFY(typed > 0);

    // The same threshold from a configuration file, over a hub whose second value is stale.
    p.settings()->setEdgeDetectionThreshold(0, true);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edge.xml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
               "<edge_detection><state>on</state></edge_detection>\n"
               "<edge_detection_thresholds><value>" +
               QByteArray::number(first) + "</value></edge_detection_thresholds>\n</config>\n");
    file.close();
    SettingsManager manager(p.settings());
    QVERIFY(manager.loadConfig(path));
    QCOMPARE(p.settings()->edgeDetectionThreshold(false), first);
    QCOMPARE(p.settings()->edgeDetectionThreshold(true), typed);

    // Neighbours 0.8 times the typed threshold apart are no edge: every pixel stays.
    DataPixelfield distance(p.settings());
    DataPixelfield amplitude(p.settings());
    const int slope = first * 4 / 5;
    for (int c = 0; c < distance.width(); ++c)
        for (int r = 0; r < distance.height(); ++r)
            distance.data()[c][r] = 5000 + slope * ((c + r) % 2);
    const std::vector<int> before(distance.cells(), distance.cells() + distance.cellCount());
    p.context.secondPostProcessor()->detectEdges(distance, amplitude);
    QVERIFY(std::equal(before.begin(), before.end(), distance.cells()));
}

void TestViewCorrections::kalmanFieldsLeaveTheWheel()
{
    Panel p;
    p.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    for (const char* name : {"sbKalmanK", "sbKalmanK3", "sbKalmanQ", "sbKalmanDiff"}) {
        auto* box = p.child<QDoubleSpinBox>(name);
        const double before = box->value();
        p.takeCommands();
        turnWheel(box, 3);
        QCOMPARE(box->value(), before);
        QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
        QVERIFY2(p.takeCommands().isEmpty(), name);
    }
}

void TestViewCorrections::drnuCurveInMillimetres()
{
    Panel p;
    // 625 kHz: a range of 240000 mm, where the largest table value must not overflow.
    p.useFrequency(625000, 0);
    int16_t table[100] = {};
    table[0] = 300;
    table[1] = -300;
    table[49] = 32767;
    table[50] = 1234;
    table[99] = -7;
    p.view->onShowDRNU(table);
    const QVector<int>& curve = p.view->drnuCurve();
    QCOMPARE(curve.size(), 100);
    QCOMPARE(curve[0], 2400);
    QCOMPARE(curve[1], -2400);
    QCOMPARE(curve[49], 262136);
    QCOMPARE(curve[50], 1234);
    QCOMPARE(curve[99], -7);
}

KESTRANE_TEST_MAIN(TestViewCorrections)
#include "tst_viewcorrections.moc"
