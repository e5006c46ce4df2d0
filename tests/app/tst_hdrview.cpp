#include "app/ApplicationContext.h"
#include "app/StartupManager.h"
#include "app/WidgetView.h"
#include "app/WindowMain.h"
#include "config/WidgetSettingsDataValidation.h"
#include "config/WidgetSettingsDistanceCalculation.h"
#include "config/WidgetSettingsFLIM.h"
#include "config/WidgetSettingsIntegrationTime.h"
#include "frames/DataHDR.h"
#include "frames/DataPixelfield.h"
#include "measurement/GraphFLIM.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "views/WidgetHDR.h"
#include "views/WindowDemo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <qwt_plot_curve.h>

#include <memory>

namespace {
// The last-configuration file goes to a temporary directory of the test's own.
struct TempDirectory
{
    TempDirectory() : saved(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir.path().toLocal8Bit()); }
    ~TempDirectory() { qputenv("TMPDIR", saved); }
    QTemporaryDir dir;
    QByteArray saved;
};

QByteArray simState(const SimulatorProcess& sim, const QByteArray& key)
{
    for (const QByteArray& line : sim.exchange("sim.state").split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QByteArray("missing");
}

// The program against a simulated camera of `chip`, with the chip's default configuration.
struct Program
{
    explicit Program(const QString& chip) : sim({QStringLiteral("--chip"), chip})
    {
        Settings* s = context.settings();
        s->socket()->setIp(QStringLiteral("127.0.0.1"));
        s->socket()->setPort(sim.port());
    }
    bool start()
    {
        if (!sim.isRunning() || startup.connectToCamera() != StartupManager::Success)
            return false;
        window = std::make_unique<WindowMain>(&context, &startup);
        window->setOfferPreConfiguration(false);
        window->initialize(true);
        view = window->findChild<WidgetView*>(QStringLiteral("view"));
        QObject::connect(view, &WidgetView::pictureShown, [this] { ++pictures; });
        return view != nullptr;
    }
    // Waits for `count` more pictures.
    bool seePictures(int count)
    {
        const int target = pictures + count;
        return QTest::qWaitFor([&] { return pictures >= target; }, 15000);
    }
    Settings* settings() { return context.settings(); }

    TempDirectory temp;
    SimulatorProcess sim;
    ApplicationContext context;
    StartupManager startup{&context};
    std::unique_ptr<WindowMain> window;
    WidgetView* view = nullptr;
    int pictures = 0;
};

template <typename T>
T* child(QWidget* panel, const char* name)
{
    T* widget = panel->findChild<T*>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

// Rows y and y + 1 of the ROI hold the same distances at every column.
bool rowPairsEqual(const DataPixelfield& field, const SettingsROI* roi)
{
    for (int x = roi->x1(); x <= roi->x2(); x += 7) {
        for (int y = 0; y + 1 < field.height(); y += 2) {
            if (field.value(x, y) != field.value(x, y + 1))
                return false;
        }
    }
    return true;
}
} // namespace

// The distance-calculation switches as a user meets them, against the simulator: HDR into the
// HDR view and out again, the other switches reaching the camera, and the FLIM timing panel.
class TestHdrView : public QObject
{
    Q_OBJECT

private slots:
    void hdrViewAndSwitches();
    void flimTimingPanel();
};

void TestHdrView::hdrViewAndSwitches()
{
    Program program(QStringLiteral("zc320"));
    QVERIFY2(program.start(), qPrintable(program.sim.errorString()));
    WidgetView* view = program.view;
    QComboBox* modes = child<QComboBox>(view, "cbViewMode");
    QCOMPARE(modes->count(), 9);
    view->selectViewMode(1);
    view->on_pbGetVideo_clicked();
    QVERIFY(program.seePictures(2));

    WidgetSettingsDistanceCalculation* calculation = view->distanceCalculationPanel();
    QVERIFY(calculation->isVisibleTo(program.window.get()));
    child<QCheckBox>(calculation, "cbHDR")->setChecked(true);
    QVERIFY(program.seePictures(2));
    QCOMPARE(simState(program.sim, "hdr"), QByteArray("1"));
    QCOMPARE(simState(program.sim, "dualMGX"), QByteArray("0"));
    QCOMPARE(modes->count(), 10);
    QCOMPARE(modes->itemText(9), QStringLiteral("TOF HDR (1st & 2nd)"));

    view->selectViewMode(9);
    QVERIFY(program.seePictures(3));
    QCOMPARE(view->windowDemo()->windowTitle(), QStringLiteral("HDR Distance Images"));
    WidgetHDR* hdr = view->hdrView();
    for (int i = 0; i < 4; ++i)
        QVERIFY(!hdr->displayed(i).isNull());
    // The captions follow the times as they are now.
    view->integrationTimePanel()
        ->findChild<QSpinBox*>(QStringLiteral("sbIntegrationTime3DHDR"))
        ->setValue(300);
    QVERIFY(program.seePictures(2));
    QCOMPARE(simState(program.sim, "integrationTime3DHDR"), QByteArray("300"));
    const QPair<int, int> times{program.settings()->integrationTime()->integrationTime3D(), 300};
    QCOMPARE(child<QLabel>(hdr, "lHDR0")->text(),
             QStringLiteral("Integration time = %1 µs").arg(times.first));
    QCOMPARE(child<QLabel>(hdr, "lHDR1")->text(),
             QStringLiteral("Integration time = %1 µs").arg(times.second));
    // Half-images of doubled rows, and a combined image of merged row pairs.
    const SettingsROI* roi = program.settings()->roi();
    QVERIFY(rowPairsEqual(*hdr->data()->partField(0), roi));
    QVERIFY(rowPairsEqual(*hdr->data()->partField(1), roi));
    QVERIFY(rowPairsEqual(*hdr->data()->partField(3), roi));
    QVERIFY(!rowPairsEqual(*hdr->data()->partField(2), roi));

    // Off again: the camera leaves HDR and the selector the HDR view.
    child<QCheckBox>(calculation, "cbHDR")->setChecked(false);
    QVERIFY(program.seePictures(2));
    QCOMPARE(simState(program.sim, "hdr"), QByteArray("0"));
    QCOMPARE(modes->currentIndex(), 1);
    QCOMPARE(modes->count(), 9);

    child<QCheckBox>(calculation, "cbPiDelay")->setChecked(false);
    child<QCheckBox>(calculation, "cbDualMGX")->setChecked(true);
    WidgetSettingsDataValidation* validation = view->dataValidationPanel();
    child<QCheckBox>(validation, "cbSaturation")->setChecked(true);
    QVERIFY(program.seePictures(2));
    QCOMPARE(simState(program.sim, "piDelay"), QByteArray("0"));
    QCOMPARE(simState(program.sim, "dualMGX"), QByteArray("1"));
    QCOMPARE(simState(program.sim, "saturation"), QByteArray("1"));
    QVERIFY(program.settings()->videoActive());

    view->on_pbGetVideo_clicked();
    QTRY_VERIFY(!program.settings()->running());
}

void TestHdrView::flimTimingPanel()
{
    Program program(QStringLiteral("zc210"));
    QVERIFY2(program.start(), qPrintable(program.sim.errorString()));
    WidgetView* view = program.view;
    WidgetSettingsFLIM* flim = view->flimPanel();
    QVERIFY(flim->isVisibleTo(program.window.get()));
    QVERIFY(!view->distanceCalculationPanel()->isVisibleTo(program.window.get()));
    const double step = program.settings()->flim()->step();
    QVERIFY(step > 0);
    QCOMPARE(child<QDoubleSpinBox>(flim, "sbT1")->singleStep(), step);

    view->on_pbGetVideo_clicked();
    QVERIFY(program.seePictures(2));
    child<QDoubleSpinBox>(flim, "sbT1")->setValue(50.0);
    QVERIFY(program.seePictures(2));
    QCOMPARE(simState(program.sim, "flimT1").toInt(), WidgetSettingsFLIM::toSteps(50.0, 0.2, step));
    QwtPlotCurve* mga = flim->graph()->curve(GraphFLIM::Mga);
    QCOMPARE(mga->sample(1), QPointF(50, 3));
    view->on_pbGetVideo_clicked();
    QTRY_VERIFY(!program.settings()->running());
}

KESTRANE_TEST_MAIN(TestHdrView)
#include "tst_hdrview.moc"
