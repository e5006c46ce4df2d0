#include "app/ApplicationContext.h"
#include "config/WidgetSettingsDataValidation.h"
#include "config/WidgetSettingsDistanceCalculation.h"
#include "config/WidgetSettingsFLIM.h"
#include "config/WidgetSettingsImage.h"
#include "measurement/GraphFLIM.h"
#include "settings/Settings.h"
#include "support/PanelRig.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QtTest>

#include <qwt_plot_curve.h>

#include <functional>

namespace {
using Rig = PanelRig;

using Action = std::function<void(QWidget*)>;

Action check(const char* name, bool on)
{
    return [name, on](QWidget* panel) { child<QCheckBox>(panel, name)->setChecked(on); };
}

Action sequence(std::initializer_list<Action> actions)
{
    const QVector<Action> list(actions);
    return [list](QWidget* panel) {
        for (const Action& action : list)
            action(panel);
    };
}

QString points(QwtPlotCurve* curve)
{
    QStringList shown;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        shown << QStringLiteral("%1,%2").arg(curve->sample(i).x()).arg(curve->sample(i).y());
    return shown.join(QLatin1Char(' '));
}
} // namespace

Q_DECLARE_METATYPE(Action)

// The distance-calculation, FLIM, image and data-validation panels: what the camera receives,
// in which order, and what the panels and the hub show afterwards.
class TestCalculationPanels : public QObject
{
    Q_OBJECT

private slots:
    void distanceCalculation_data();
    void distanceCalculation();
    void verticalBinningExcludesDualModes();
    void modulationModeFromFile_data();
    void modulationModeFromFile();
    void smallSensorsHaveNoModulationMode();
    void flimSteps_data();
    void flimSteps();
    void flimConfigurationSendsStoredSteps();
    void flimGraph_data();
    void flimGraph();
    void imageAveragingWritesHubFirst();
    void saturationOnEarlySensors_data();
    void saturationOnEarlySensors();
};

void TestCalculationPanels::distanceCalculation_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("gate");
    QTest::addColumn<bool>("combineOffered");
    QTest::addColumn<bool>("dualMgxEnabled");
    QTest::addColumn<QList<int>>("viewModes");

    QTest::addRow("HDR on: dual MGX off first")
        << check("cbHDR", true) << QStringList{"enableDualMGX 0", "enableHDR 1"} << -3 << true << false
        << QList<int>{};
    QTest::addRow("HDR off again: distance view")
        << sequence({check("cbHDR", true), check("cbHDR", false)})
        << QStringList{"enableDualMGX 0", "enableHDR 1", "enableHDR 0"} << 3 << false << true
        << QList<int>{1};
    QTest::addRow("PI delay off") << check("cbPiDelay", false) << QStringList{"enablePiDelay 0"} << -3
                                  << false << true << QList<int>{};
    QTest::addRow("dual MGX on: HDR off first")
        << check("cbDualMGX", true) << QStringList{"enableHDR 0", "enableDualMGX 1"} << -3 << false << true
        << QList<int>{};
    QTest::addRow("10 LFSR stages, polynomial 2")
        << sequence({[](QWidget* p) { child<QComboBox>(p, "cbPolynomial")->setCurrentIndex(2); },
                     [](QWidget* p) { child<QComboBox>(p, "cbLFSR")->setCurrentIndex(4); }})
        << QStringList{"selectPolynomial 4 2", "selectPolynomial 5 2"} << 0 << false << true << QList<int>{};
}

void TestCalculationPanels::distanceCalculation()
{
    QFETCH(Action, action);
    QFETCH(int, gate);
    Rig rig;
    rig.settings()->setChipType(2);
    WidgetSettingsDistanceCalculation panel(&rig.context);
    panel.show();
    QSignalSpy corrections(&panel, &WidgetSettingsDistanceCalculation::updateCorrFields);
    QSignalSpy views(&panel, &WidgetSettingsDistanceCalculation::hdrToggled);

    action(&panel);

    QTEST(rig.sent(), "commands");
    if (gate != 0)
        QCOMPARE(corrections.last().at(0).toInt(), gate);
    QCheckBox* combine = child<QCheckBox>(&panel, "cbAmplitudeHDR");
    QTEST(combine->isVisible() && combine->isEnabled() && combine->isChecked(), "combineOffered");
    QCOMPARE(rig.settings()->distanceCalculation()->amplitudeHdr(), combine->isChecked());
    QTEST(child<QCheckBox>(&panel, "cbDualMGX")->isEnabled(), "dualMgxEnabled");
    QList<int> modes;
    for (const QList<QVariant>& emitted : views)
        modes << emitted.at(0).toInt();
    QTEST(modes, "viewModes");
}

void TestCalculationPanels::verticalBinningExcludesDualModes()
{
    Rig rig;
    WidgetSettingsDistanceCalculation panel(&rig.context);
    rig.settings()->binningAndReduction()->setVerticalBinning(true);
    QVERIFY(!child<QCheckBox>(&panel, "cbDualMGX")->isEnabled());
    QVERIFY(!child<QCheckBox>(&panel, "cbHDR")->isEnabled());
    rig.settings()->binningAndReduction()->setVerticalBinning(false);
    QVERIFY(child<QCheckBox>(&panel, "cbDualMGX")->isEnabled());
    QVERIFY(child<QCheckBox>(&panel, "cbHDR")->isEnabled());
}

void TestCalculationPanels::modulationModeFromFile_data()
{
    QTest::addColumn<int>("fileIndex");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("shown");

    QTest::addRow("pseudo-noise mode is offered and sent") << 1 << QStringList{"selectMode 1"} << 1;
    QTest::addRow("unknown mode sends nothing") << 5 << QStringList{} << 0;
    QTest::addRow("negative mode sends nothing") << -1 << QStringList{} << 0;
}

void TestCalculationPanels::modulationModeFromFile()
{
    QFETCH(int, fileIndex);
    Rig rig;
    rig.settings()->setChipType(2);
    WidgetSettingsDistanceCalculation panel(&rig.context);
    QSignalSpy corrections(&panel, &WidgetSettingsDistanceCalculation::updateCorrFields);
    rig.settings()->distanceCalculation()->setModulationIndex(fileIndex);
    QTEST(rig.sent(), "commands");
    QTEST(child<QComboBox>(&panel, "cbSelectMode")->currentIndex(), "shown");
    if (fileIndex == 1) {
        QVERIFY(child<QComboBox>(&panel, "cbLFSR")->isEnabled());
        QCOMPARE(corrections.last().at(0).toInt(), -3);
    }
}

void TestCalculationPanels::smallSensorsHaveNoModulationMode()
{
    Rig rig;
    rig.settings()->setChipType(4);
    WidgetSettingsDistanceCalculation panel(&rig.context);
    panel.show();
    rig.settings()->distanceCalculation()->setModulationIndex(1);
    for (const char* name : {"lModulation", "cbSelectMode", "lLFSR", "cbLFSR", "lPolynomial", "cbPolynomial"})
        QVERIFY2(!child<QWidget>(&panel, name)->isVisible(), name);
}

void TestCalculationPanels::flimSteps_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("ns");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("graphNs");

    QTest::addRow("flash delay: margin 0.2")
        << "sbFlashDelay" << 0.5 << 12.2 << QStringList{"FLIMSetFlashDelay 24"} << 12;
    QTest::addRow("flash width: margin 0.4")
        << "sbFlashWidth" << 0.5 << 12.2 << QStringList{"FLIMSetFlashWidth 25"} << 12;
    QTest::addRow("mgb delay above the other fields' maximum")
        << "sbT3" << 0.25 << 50000.0 << QStringList{"FLIMSetT3 200000"} << 50000;
    QTest::addRow("margin above the step: the echo adds no step")
        << "sbFlashWidth" << 0.25 << 50.0 << QStringList{"FLIMSetFlashWidth 201"} << 50;
    QTest::addRow("step unknown sends nothing") << "sbT1" << 0.0 << 30.0 << QStringList{} << 30;
}

void TestCalculationPanels::flimSteps()
{
    QFETCH(QString, field);
    QFETCH(double, step);
    QFETCH(double, ns);
    QFETCH(int, graphNs);
    Rig rig;
    rig.settings()->flim()->setStep(step);
    WidgetSettingsFLIM panel(&rig.context);
    QDoubleSpinBox* box = child<QDoubleSpinBox>(&panel, qPrintable(field));
    if (step > 0)
        QCOMPARE(box->singleStep(), step);
    box->setValue(ns);
    // The hub echoes the sent steps in ns (12.0 for 12.2), which sends the same steps again.
    QStringList sent = rig.sent();
    sent.removeDuplicates();
    QTEST(sent, "commands");
    GraphFLIM* graph = panel.graph();
    const QString curveText = points(graph->curve(field == QLatin1String("sbT1")   ? GraphFLIM::Mga
                                                  : field == QLatin1String("sbT3") ? GraphFLIM::Mgb
                                                                                   : GraphFLIM::Flash));
    QVERIFY2(curveText.contains(QStringLiteral(",%1").arg(graphNs)) ||
                 curveText.contains(QStringLiteral("%1,").arg(graphNs)),
             qPrintable(curveText));
}

void TestCalculationPanels::flimConfigurationSendsStoredSteps()
{
    Rig rig;
    rig.settings()->flim()->setStep(0.25);
    WidgetSettingsFLIM panel(&rig.context);
    // A loaded configuration writes steps into the hub; the panel sends exactly those.
    rig.settings()->flim()->setFlashWidth(203);
    rig.settings()->flim()->setMgbDelay(7);
    QCOMPARE(rig.sent(), (QStringList{"FLIMSetFlashWidth 203", "FLIMSetT3 7"}));
    QCOMPARE(child<QDoubleSpinBox>(&panel, "sbFlashWidth")->value(), 50.75);
}

void TestCalculationPanels::flimGraph_data()
{
    QTest::addColumn<QList<int>>("timings"); // flash delay, width, mga delay, width, mgb delay, width, cycle
    QTest::addColumn<int>("cycleEnd");
    QTest::addColumn<QStringList>("curves"); // flash, flash tail, mga, mgb, gate tail

    QTest::addRow("all pulses") << QList<int>{10, 5, 20, 10, 5, 10, 100} << 145
                                << QStringList{"0,5 10,5 10,6 15,6 15,5 145,5", "15,5 145,5",
                                               "0,3 20,3 20,4 30,4 30,3", "30,3 35,3 35,4 45,4 45,3",
                                               "45,3 145,3"};
    QTest::addRow("mga width 0: flat mga, mgb starts at its delay")
        << QList<int>{0, 0, 20, 0, 5, 10, 100} << 135
        << QStringList{"0,5 0,5 135,5", "0,5 135,5", "0,3 20,3", "20,3 25,3 25,4 35,4 35,3", "35,3 135,3"};
    QTest::addRow("flash past the cycle end")
        << QList<int>{50, 30, 0, 10, 0, 10, 0} << 20
        << QStringList{"0,5 50,5 50,6 80,6 80,5 20,5", "80,5 20,5", "0,3 0,3 0,4 10,4 10,3",
                       "10,3 10,3 10,4 20,4 20,3", "20,3 20,3"};
}

void TestCalculationPanels::flimGraph()
{
    QFETCH(QList<int>, timings);
    QFETCH(QStringList, curves);
    GraphFLIM graph;
    graph.setFlashDelay(timings[0]);
    graph.setFlashWidth(timings[1]);
    graph.setMgaDelay(timings[2]);
    graph.setMgaWidth(timings[3]);
    graph.setMgbDelay(timings[4]);
    graph.setMgbWidth(timings[5]);
    graph.setRepetitionTime(timings[6]);
    graph.redraw();
    QTEST(graph.cycleEnd(), "cycleEnd");
    QStringList shown;
    for (int c = 0; c < GraphFLIM::CurveCount; ++c)
        shown << points(graph.curve(GraphFLIM::Curve(c)));
    QCOMPARE(shown, curves);
    // Only the three titled curves are in the legend.
    int inLegend = 0;
    for (int c = 0; c < GraphFLIM::CurveCount; ++c)
        inLegend += graph.curve(GraphFLIM::Curve(c))->testItemAttribute(QwtPlotItem::Legend) ? 1 : 0;
    QCOMPARE(inLegend, 3);
}

void TestCalculationPanels::imageAveragingWritesHubFirst()
{
    Rig rig;
    WidgetSettingsImage panel(&rig.context);
    QSignalSpy locks(rig.settings(), &Settings::fieldsLocked);
    int sentWhenHubWritten = -1;
    connect(rig.settings(), &Settings::movingAverageImageNumberChanged, this,
            [&] { sentWhenHubWritten = rig.sent().size(); });
    child<QSpinBox>(&panel, "lMovingAverageImageNumber")->setValue(16);
    QCOMPARE(rig.sent(), QStringList{"setImageAveraging 16"});
    QCOMPARE(rig.settings()->movingAverageImageNumber(), 16);
    QCOMPARE(sentWhenHubWritten, 0);
    QVERIFY(locks.isEmpty() || !locks.last().at(0).toBool());
}

void TestCalculationPanels::saturationOnEarlySensors_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<int>("icVersion");
    QTest::addColumn<bool>("saturationUsable");

    QTest::addRow("chip 3, IC 2: saturation disabled for good") << 3 << 2 << false;
    QTest::addRow("chip 2, IC 3") << 2 << 3 << true;
    QTest::addRow("chip 4, IC 0") << 4 << 0 << true;
}

void TestCalculationPanels::saturationOnEarlySensors()
{
    QFETCH(int, chipType);
    QFETCH(int, icVersion);
    QFETCH(bool, saturationUsable);
    Rig rig;
    rig.settings()->setChipType(chipType);
    rig.settings()->setIcVersion(quint8(icVersion));
    WidgetSettingsDataValidation panel(&rig.context);
    QCheckBox* saturation = child<QCheckBox>(&panel, "cbSaturation");
    QCheckBox* overflow = child<QCheckBox>(&panel, "cbAdcOverflow");

    rig.settings()->announceFieldsLocked(true);
    QCOMPARE(overflow->isEnabled(), !saturationUsable);
    rig.settings()->announceFieldsLocked(false);
    QCOMPARE(saturation->isEnabled(), saturationUsable);
    QVERIFY(overflow->isEnabled());

    overflow->setChecked(true);
    QCOMPARE(rig.sent(), QStringList{"enableAdcOverflow 1"});
    QVERIFY(rig.settings()->dataValidation()->adcOverflow());
}

KESTRANE_TEST_MAIN(TestCalculationPanels)
#include "tst_calculationpanels.moc"
