#include "app/ApplicationContext.h"
#include "config/WidgetSettings3D.h"
#include "config/WidgetSettingsBinningAndReduction.h"
#include "config/WidgetSettingsIntegrationTime.h"
#include "config/WidgetSettingsModulation.h"
#include "config/WidgetSettingsROI.h"
#include "settings/Settings.h"
#include "support/PanelRig.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QtTest>

namespace {
using Rig = PanelRig;

QString roiOf(QWidget* panel)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(child<QSpinBox>(panel, "sbTopLeftX")->value())
        .arg(child<QSpinBox>(panel, "sbBottomRightX")->value())
        .arg(child<QSpinBox>(panel, "sbTopLeftY")->value())
        .arg(child<QSpinBox>(panel, "sbBottomRightY")->value());
}
} // namespace

class TestSettingsPanels : public QObject
{
    Q_OBJECT

private slots:
    void roiFields_data();
    void roiFields();
    void roiEmulation();
    void verticalBinning();
    void verticalBinningLockedByDualMgx();
    void hysteresisNotAboveAmplitudeMinimum();
    void modulationCalibrationType_data();
    void modulationCalibrationType();
    void pnSequenceLength_data();
    void pnSequenceLength();
};

void TestSettingsPanels::roiFields_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QStringList>("commands");

    QTest::addRow("odd left column becomes even")
        << 4 << "sbTopLeftX" << 7 << "8 323 6 247" << QStringList{"setROI 8 323 6 247"};
    QTest::addRow("even right column becomes odd")
        << 4 << "sbBottomRightX" << 200 << "4 199 6 247" << QStringList{"setROI 4 199 6 247"};
    QTest::addRow("top row mirrored on a two-half sensor")
        << 2 << "sbTopLeftY" << 10 << "4 323 10 241" << QStringList{"setROI 4 323 10 125"};
    QTest::addRow("bottom row of a two-half sensor sends nothing")
        << 2 << "sbBottomRightY" << 201 << "4 323 6 201" << QStringList{};
    QTest::addRow("bottom row of a single-half sensor")
        << 4 << "sbBottomRightY" << 61 << "4 323 6 61" << QStringList{"setROI 4 323 6 61"};
}

void TestSettingsPanels::roiFields()
{
    QFETCH(int, chipType);
    QFETCH(QString, field);
    QFETCH(int, typed);
    Rig rig;
    rig.settings()->setChipType(chipType);
    WidgetSettingsROI panel(&rig.context);
    panel.setBottomRightYEnabled(true);

    child<QSpinBox>(&panel, qPrintable(field))->setValue(typed);

    QTEST(roiOf(&panel), "fields");
    QTEST(rig.sent(), "commands");
}

void TestSettingsPanels::roiEmulation()
{
    Rig rig;
    rig.settings()->setChipType(2);
    WidgetSettingsROI panel(&rig.context);
    QCheckBox* emulation = child<QCheckBox>(&panel, "cbEmulation");

    emulation->setChecked(true);
    QCOMPARE(roiOf(&panel), QStringLiteral("84 243 96 155"));
    QVERIFY(!child<QSpinBox>(&panel, "sbTopLeftX")->isEnabled());
    QVERIFY(!child<QWidget>(&panel, "tbDefaultROI")->isEnabled());
    QCOMPARE(rig.sent().last(), QStringLiteral("setROI 84 243 96 125"));

    emulation->setChecked(false);
    QCOMPARE(roiOf(&panel), QStringLiteral("4 323 6 245"));
    QVERIFY(child<QSpinBox>(&panel, "sbTopLeftX")->isEnabled());
    const SettingsROI* roi = rig.settings()->roi();
    QCOMPARE(QList<int>({roi->x1(), roi->x2(), roi->y1(), roi->y2()}), QList<int>({4, 323, 6, 245}));

    // The output mode "Bottom" sets its rows and sends once.
    const int before = rig.sent().size();
    child<QComboBox>(&panel, "cbShow")->setCurrentIndex(2);
    QCOMPARE(roiOf(&panel), QStringLiteral("4 323 126 245"));
    QCOMPARE(rig.sent().size(), before + 1);
}

void TestSettingsPanels::verticalBinning()
{
    Rig rig;
    WidgetSettingsBinningAndReduction panel(&rig.context);
    QSignalSpy gate(&panel, &WidgetSettingsBinningAndReduction::updateCorrFields);
    QComboBox* rows = child<QComboBox>(&panel, "cbRowReduction");
    auto* model = qobject_cast<QStandardItemModel*>(rows->model());

    child<QCheckBox>(&panel, "cbBinningVertical")->setChecked(true);
    QCOMPARE(rows->currentIndex(), 1);
    QVERIFY(!(model->item(0)->flags() & Qt::ItemIsSelectable));
    QCOMPARE(rig.sent(), (QStringList{"enableVerticalBinning 1", "setRowReduction 1"}));
    QCOMPARE(rig.settings()->binningAndReduction()->rowFactor(), 2);
    QCOMPARE(gate.last().at(0).toInt(), -4);

    child<QCheckBox>(&panel, "cbBinningVertical")->setChecked(false);
    QCOMPARE(rows->currentIndex(), 0);
    QVERIFY(model->item(0)->flags() & Qt::ItemIsSelectable);
    QCOMPARE(rig.sent().mid(2), (QStringList{"enableVerticalBinning 0", "setRowReduction 0"}));
    QCOMPARE(gate.last().at(0).toInt(), 4);
}

void TestSettingsPanels::verticalBinningLockedByDualMgx()
{
    Rig rig;
    WidgetSettingsBinningAndReduction panel(&rig.context);
    rig.settings()->distanceCalculation()->setDualMGX(true);
    QCheckBox* vertical = child<QCheckBox>(&panel, "cbBinningVertical");
    QVERIFY(!vertical->isEnabled());
    QCOMPARE(panel.toolTip(), QStringLiteral("Vertical binning is not available in dual MGX mode."));
    rig.settings()->announceFieldsLocked(false);
    QVERIFY(!vertical->isEnabled());
}

void TestSettingsPanels::hysteresisNotAboveAmplitudeMinimum()
{
    Rig rig;
    WidgetSettings3D panel(&rig.context);
    rig.settings()->settings3D()->setMinAmplitude(100);
    child<QCheckBox>(&panel, "cbHysteresis")->setChecked(true);
    // The spin box's maximum follows the amplitude minimum; the hub may still carry more.
    child<QSpinBox>(&panel, "sbHysteresis")->setMaximum(500);
    child<QSpinBox>(&panel, "sbHysteresis")->setValue(300);
    QCOMPARE(rig.sent().last(), QStringLiteral("setHysteresis 100"));
}

void TestSettingsPanels::modulationCalibrationType_data()
{
    QTest::addColumn<int>("calibrationType");
    QTest::addColumn<bool>("absBefore");
    QTest::addColumn<bool>("absAfter");
    QTest::addColumn<int>("gate");

    QTest::addRow("calibrated without ABS") << 21 << true << false << 2;
    QTest::addRow("calibrated with ABS") << 3 << false << true << 2;
    QTest::addRow("not calibrated leaves ABS") << 0 << true << true << -2;
}

void TestSettingsPanels::modulationCalibrationType()
{
    QFETCH(int, calibrationType);
    QFETCH(bool, absBefore);
    Rig rig;
    SettingsModulation* modulation = rig.settings()->modulation();
    modulation->addFrequency(QStringLiteral("20 MHz"), 20000000);
    modulation->addFrequency(QStringLiteral("10 MHz"), 10000000);
    modulation->addCalibrationType(0);
    modulation->addCalibrationType(calibrationType);
    modulation->setFrequencyIndex(0);
    rig.settings()->abs()->setAbs(absBefore);
    WidgetSettingsModulation panel(&rig.context);
    QSignalSpy gate(&panel, &WidgetSettingsModulation::updateCorrFields);
    QSignalSpy thresholds(rig.settings(), &Settings::sendKalmanThreshold1);

    child<QComboBox>(&panel, "cbModeFrequency")->setCurrentIndex(1);

    QCOMPARE(rig.sent().first(), QStringLiteral("setModulationFrequency 1"));
    QTEST(rig.settings()->abs()->abs(), "absAfter");
    QCOMPARE(gate.count(), 1);
    QTEST(gate.first().at(0).toInt(), "gate");
    QCOMPARE(thresholds.count(), 1);
}

void TestSettingsPanels::pnSequenceLength_data()
{
    QTest::addColumn<int>("modulationIndex");
    QTest::addColumn<int>("lfsrIndex");
    QTest::addColumn<int>("frequencyHz");
    QTest::addColumn<QString>("text");

    QTest::addRow("sinusoidal") << 0 << 3 << 10000000 << "off";
    QTest::addRow("11 stages at 10 MHz") << 1 << 3 << 10000000 << QStringLiteral("204.70 µs");
    QTest::addRow("14 stages at 20 MHz") << 2 << 0 << 20000000 << QStringLiteral("819.15 µs");
    QTest::addRow("no frequency known") << 1 << 3 << 0 << "n/a";
}

void TestSettingsPanels::pnSequenceLength()
{
    QFETCH(int, modulationIndex);
    QFETCH(int, lfsrIndex);
    QFETCH(int, frequencyHz);
    QTEST(WidgetSettingsIntegrationTime::pnSequenceText(modulationIndex, lfsrIndex, frequencyHz), "text");
}

KESTRANE_TEST_MAIN(TestSettingsPanels)
#include "tst_settingspanels.moc"
