#include "measurement/InfoDRNUCurve.h"
#include "measurement/InfoTemperature.h"
#include "measurement/InfoTemperature1.h"
#include "measurement/PlotStyle.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QLineEdit>
#include <QtTest>

namespace {
QString field(const QWidget& window, const char* name)
{
    const auto* edit = window.findChild<QLineEdit*>(QLatin1String(name));
    return edit ? edit->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}
} // namespace

class TestPlotWindows : public QObject
{
    Q_OBJECT

private slots:
    void drnuTable_data();
    void drnuTable();
    void temperatures_data();
    void temperatures();
    void secondTemperatureWindowByChip();
};

void TestPlotWindows::drnuTable_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("rangeMm");
    QTest::addColumn<int>("correctionMm");
    QTest::addColumn<int>("firstTemperature");
    QTest::addColumn<double>("axisFrom");

    QTest::addRow("300 at 10 MHz") << 300 << 15000 << 150 << 437 << 38.0;
    QTest::addRow("-1 truncates to 0") << -1 << 15000 << 0 << -437 << -48.0;
    // 32767 x 60000 overflows 32 bits: the 64-bit product keeps the sign, the table's 16 bits
    // hold the limit.
    QTest::addRow("long range at a low frequency") << 32767 << 60000 << 32767 << 250 << 20.0;
    QTest::addRow("negative at a long range") << -20000 << 120000 << -32768 << 0 << -5.0;
    QTest::addRow("below the limit at a long range") << 5000 << 150000 << 25000 << 0 << -5.0;
}

void TestPlotWindows::drnuTable()
{
    QFETCH(int, raw);
    QFETCH(int, rangeMm);
    QFETCH(int, firstTemperature);
    int16_t table[InfoDRNUCurve::valueCount] = {};
    table[0] = int16_t(raw);
    table[50] = int16_t(firstTemperature);
    table[99] = 455;
    InfoDRNUCurve window;
    QCOMPARE(window.windowTitle(), QStringLiteral("DRNU Average"));
    window.setTable(table, rangeMm);
    QTEST(int(window.values[0]), "correctionMm");
    QCOMPARE(window.values[99], int16_t(455));
    QwtPlot* plot = window.plotWidget();
    QTEST(plot->axisInterval(QwtPlot::yRight).minValue(), "axisFrom");
    QCOMPARE(plot->axisInterval(QwtPlot::yRight).width(), 10.0);
    QCOMPARE(plot->axisInterval(QwtPlot::yLeft).minValue(), -400.0);
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 2);
    const QVector<QPointF>& temperature = PlotStyle::points(static_cast<QwtPlotCurve*>(curves.at(1)));
    QCOMPARE(temperature.size(), 50);
    QCOMPARE(temperature.last(), QPointF(49, 45.5));
}

void TestPlotWindows::temperatures_data()
{
    QTest::addColumn<QVector<int>>("list");
    QTest::addColumn<QString>("topLeft");
    QTest::addColumn<QString>("average");
    QTest::addColumn<QString>("lower");

    QTest::addRow("average truncates") << QVector<int>{250, 251, 252, 254, 300, 2047} << "25.0°C "
                                       << "25.1°C "
                                       << "204.7°C ";
    QTest::addRow("below zero") << QVector<int>{-5, -5, -5, -6, 0, 253} << "-0.5°C "
                                << "-0.5°C "
                                << "25.3°C ";
}

void TestPlotWindows::temperatures()
{
    QFETCH(QVector<int>, list);
    Settings settings;
    InfoTemperature window(&settings);
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    // Only between setActive(true) and setActive(false).
    settings.setTemperatures(list);
    QCOMPARE(field(window, "leTl"), QString());
    window.setActive(true);
    settings.setTemperatures(list);
    QTEST(field(window, "leTl"), "topLeft");
    QTEST(field(window, "leTempAvg"), "average");
    QTEST(field(window, "leLower"), "lower");
    window.setActive(false);
    QVERIFY(!window.isVisible());
    settings.setTemperatures({0, 0, 0, 0, 0, 0});
    QTEST(field(window, "leTl"), "topLeft");
}

void TestPlotWindows::secondTemperatureWindowByChip()
{
    Settings settings;
    InfoTemperature1 window(&settings);
    window.setActive(true);
    settings.setChipType(2);
    settings.setTemperatures({253, 300, 310});
    QCOMPARE(field(window, "leTl"), QString());
    settings.setChipType(4);
    settings.setTemperatures({253, 300, 310});
    QCOMPARE(field(window, "leTl"), QStringLiteral("25.3°C "));
    QCOMPARE(field(window, "leUpper"), QStringLiteral("30.0°C "));
    QCOMPARE(field(window, "leLower"), QStringLiteral("31.0°C "));
    window.setActive(false);
}

KESTRANE_TEST_MAIN(TestPlotWindows)
#include "tst_plotwindows.moc"
