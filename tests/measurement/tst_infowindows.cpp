#include "measurement/InfoAmplitude.h"
#include "measurement/InfoDCS.h"
#include "measurement/InfoDRNUCurve.h"
#include "measurement/InfoDifDCS.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoFLIM.h"
#include "measurement/InfoGrayscale.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "measurement/InfoTemperature.h"
#include "measurement/InfoTemperature1.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QSpinBox>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
QString text(const QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

std::unique_ptr<QWidget> makeWindow(const QString& kind, Settings* settings)
{
    if (kind == QLatin1String("InfoDistance"))
        return std::make_unique<InfoDistance>();
    if (kind == QLatin1String("InfoGrayscale"))
        return std::make_unique<InfoGrayscale>();
    if (kind == QLatin1String("InfoAmplitude"))
        return std::make_unique<InfoAmplitude>();
    if (kind == QLatin1String("InfoDCS"))
        return std::make_unique<InfoDCS>();
    if (kind == QLatin1String("InfoDifDCS"))
        return std::make_unique<InfoDifDCS>();
    if (kind == QLatin1String("InfoFLIM"))
        return std::make_unique<InfoFLIM>();
    if (kind == QLatin1String("InfoPixelScope"))
        return std::make_unique<InfoPixelScope>(settings, InfoPixelScope::SignalLevel);
    if (kind == QLatin1String("InfoPixelTimeScope"))
        return std::make_unique<InfoPixelTimeScope>();
    if (kind == QLatin1String("InfoDRNUCurve"))
        return std::make_unique<InfoDRNUCurve>();
    if (kind == QLatin1String("InfoTemperature"))
        return std::make_unique<InfoTemperature>(settings);
    return std::make_unique<InfoTemperature1>(settings);
}
} // namespace

class TestInfoWindows : public QObject
{
    Q_OBJECT

private slots:
    void valueRanges_data();
    void valueRanges();
    void headerAndFrameRate();
    void statisticsFollowThePixel();
    void outOfRangeLeavesTheHistory();
    void windowForms_data();
    void windowForms();
    void pixelScopeRegion();
    void timeScopePoints();
};

void TestInfoWindows::valueRanges_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");

    QTest::addRow("distance 300009 mm") << "distance" << 300009 << "30000.9 cm";
    QTest::addRow("distance 1234 mm") << "distance" << 1234 << "123.4 cm";
    QTest::addRow("distance 300010 mm") << "distance" << 300010 << "N/A";
    QTest::addRow("distance -1") << "distance" << -1 << "N/A";
    QTest::addRow("amplitude at the maximum") << "amplitude" << 2895 << "2895 LSB";
    QTest::addRow("amplitude above") << "amplitude" << 2896 << "N/A";
    QTest::addRow("amplitude negative") << "amplitude" << -1 << "N/A";
    QTest::addRow("grayscale 2047") << "grayscale" << 2047 << "2047 LSB";
    QTest::addRow("grayscale 2048") << "grayscale" << 2048 << "N/A";
    QTest::addRow("DCS -2048") << "dcs" << -2048 << "-2048 LSB";
    QTest::addRow("DCS 2048") << "dcs" << 2048 << "N/A";
    QTest::addRow("DCS -2049") << "dcs" << -2049 << "N/A";
    QTest::addRow("difference 4095") << "difference" << 4095 << "4095 LSB";
    QTest::addRow("difference -4097") << "difference" << -4097 << "N/A";
    QTest::addRow("mga 2047") << "flim" << 2047 << "2047 LSB";
    QTest::addRow("mga 2048") << "flim" << 2048 << "N/A";
    QTest::addRow("mga -1") << "flim" << -1 << "N/A";
}

void TestInfoWindows::valueRanges()
{
    QFETCH(QString, window);
    QFETCH(int, value);
    QFETCH(QString, shown);

    if (window == QLatin1String("distance")) {
        InfoDistance info;
        info.setDistance(value);
        QCOMPARE(text(info, "lDistance"), shown);
    } else if (window == QLatin1String("amplitude")) {
        InfoAmplitude info;
        info.setAmplitude(value, 2895);
        QCOMPARE(text(info, "lAmplitude"), shown);
        InfoDistance distance;
        distance.setAmplitude(value, 2895);
        QCOMPARE(text(distance, "lAmplitude"), shown);
    } else if (window == QLatin1String("grayscale")) {
        InfoGrayscale info;
        info.setValue(value);
        QCOMPARE(text(info, "lValue"), shown);
    } else if (window == QLatin1String("dcs")) {
        InfoDCS info;
        info.setDCS0(value);
        info.setDCS3(value);
        QCOMPARE(text(info, "lDCS0"), shown);
        QCOMPARE(text(info, "lDCS3"), shown);
    } else if (window == QLatin1String("difference")) {
        InfoDifDCS info;
        info.setDifDCS1(value);
        QCOMPARE(text(info, "lDifDCS1"), shown);
    } else {
        InfoFLIM info;
        info.setMga(value);
        info.setMgb(value);
        QCOMPARE(text(info, "lMga"), shown);
        QCOMPARE(text(info, "lMgb"), shown);
    }
}

void TestInfoWindows::headerAndFrameRate()
{
    InfoDistance info;
    QCOMPARE(info.windowTitle(), QStringLiteral("Distance Information"));
    QCOMPARE(text(info, "lHeader"), QStringLiteral("Pixel data (x, y)"));
    info.show();
    info.setPixel(12, -3, false);
    QCOMPARE(text(info, "lHeader"), QStringLiteral("Pixel data (12, -3)"));
    QVERIFY(!info.findChild<QLabel*>(QStringLiteral("lSpeed"))->isVisible());
    QTest::qWait(20);
    info.setPixel(12, -3, true);
    QVERIFY(info.findChild<QLabel*>(QStringLiteral("lSpeed"))->isVisible());
    QVERIFY(text(info, "lSpeed").startsWith(QStringLiteral("Frame rate: ")));
    // Updates within one millisecond never show an infinite rate.
    for (int i = 0; i < 50; ++i) {
        info.setPixel(12, -3, true);
        QVERIFY(!text(info, "lSpeed").contains(QStringLiteral("inf")));
    }
    info.close();
}

void TestInfoWindows::statisticsFollowThePixel()
{
    InfoDistance info;
    info.setPixel(5, 6, false);
    info.setDistance(1234);
    // One sample: current shown, the statistics are zeros with their units.
    QCOMPARE(text(info, "lDistance"), QStringLiteral("123.4 cm"));
    QCOMPARE(text(info, "lDistanceAverage"), QStringLiteral("0.0 cm"));
    QCOMPARE(text(info, "lDistanceVariation"), QStringLiteral("0.0 cm"));
    QCOMPARE(text(info, "lDistanceMin"), QStringLiteral("0 cm"));
    QCOMPARE(text(info, "lDistanceMax"), QStringLiteral("0 cm"));
    info.setPixel(5, 6, false);
    info.setDistance(1240);
    QCOMPARE(text(info, "lDistanceAverage"), QStringLiteral("123.7 cm"));
    // sigma of 1234 and 1240 mm: 6 / sqrt 2 = 4.24 mm
    QCOMPARE(text(info, "lDistanceVariation"), QStringLiteral("0.4 cm"));
    QCOMPARE(text(info, "lDistanceMin"), QStringLiteral("123.4 cm"));
    QCOMPARE(text(info, "lDistanceMax"), QStringLiteral("124 cm"));
    // Another pixel clears the history; the same pixel keeps it.
    info.setPixel(5, 7, false);
    info.setDistance(2000);
    QCOMPARE(info.distanceStatistics().count(), 1);
    QCOMPARE(text(info, "lDistanceAverage"), QStringLiteral("0.0 cm"));
    // A settings change (fields locked or unlocked) clears it too; the labels stay.
    info.setPixel(5, 7, false);
    info.setDistance(2000);
    info.setAmplitude(100, 2895);
    QCOMPARE(info.distanceStatistics().count(), 2);
    Settings settings;
    connect(&settings, &Settings::fieldsLocked, &info, &InfoDistance::statisticsClear);
    settings.announceFieldsLocked(false);
    QCOMPARE(info.distanceStatistics().count(), 0);
    QCOMPARE(info.amplitudeStatistics().count(), 0);
    QCOMPARE(text(info, "lDistance"), QStringLiteral("200 cm"));

    InfoGrayscale grayscale;
    InfoAmplitude amplitude;
    for (int v : {100, 104, 100, 104}) {
        grayscale.setPixel(1, 1);
        grayscale.setValue(v);
        amplitude.setPixel(1, 1);
        amplitude.setAmplitude(v, 4095);
    }
    QCOMPARE(text(grayscale, "lValueAverage"), QStringLiteral("102.0 LSB"));
    QCOMPARE(text(grayscale, "lValueVariation"), QStringLiteral("2.3 LSB"));
    QCOMPARE(text(amplitude, "lAmplitudeMax"), QStringLiteral("104 LSB"));
    grayscale.statisticsClear(false);
    amplitude.statisticsClear(true);
    QCOMPARE(grayscale.statistics().count(), 0);
    QCOMPARE(amplitude.statistics().count(), 0);
}

void TestInfoWindows::outOfRangeLeavesTheHistory()
{
    InfoDistance info;
    info.setDistance(1000);
    info.setDistance(1002);
    info.setDistance(300010);
    for (const char* name :
         {"lDistance", "lDistanceMin", "lDistanceMax", "lDistanceAverage", "lDistanceVariation"})
        QCOMPARE(text(info, name), QStringLiteral("N/A"));
    QCOMPARE(info.distanceStatistics().count(), 2);
    info.setAmplitude(64, 63);
    QCOMPARE(text(info, "lAmplitudeAverage"), QStringLiteral("N/A"));
    QCOMPARE(info.amplitudeStatistics().count(), 0);
}

void TestInfoWindows::windowForms_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("staysOnTop");
    // Object names every form must carry, with the initial text of some of them ("name=text";
    // for a spin box "name=minimum..maximum").
    QTest::addColumn<QStringList>("names");

    const QStringList header{"lHeader=Pixel data (x, y)"};
    const QStringList statisticsTitles{"lCurrentTitle", "lMinTitle", "lMaxTitle", "lAverageTitle",
                                       "lDistanceVariationTitle"};
    auto column = [](const QString& name) {
        return QStringList{name + "=", name + "Min=", name + "Max=", name + "Average=", name + "Variation="};
    };
    QTest::addRow("distance") << "InfoDistance"
                              << "Distance Information" << QSize() << true
                              << header + statisticsTitles + column("lDistance") + column("lAmplitude") +
                                     QStringList{"lCurrentTitle=Current:",
                                                 "lDistanceVariationTitle=σ:",
                                                 "label=Distance:",
                                                 "label_2=Amplitude:",
                                                 "lStatistics=Statistics over 100 samples",
                                                 "label_3=Set position:   Press Ctrl+left mouse button",
                                                 "label_4=Delete:            Press left mouse button",
                                                 "lSpeed=Frame rate:"};
    QTest::addRow("grayscale") << "InfoGrayscale"
                               << "Grayscale Information" << QSize() << true
                               << header + column("lValue") +
                                      QStringList{"lCurrentTitle=Current",
                                                  "lAverageTitle=Average",
                                                  "lDistanceVariationTitle=σ",
                                                  "lStatistics=Statistics over 100 samples",
                                                  "label_3=Set position:  Press Ctrl + left mouse button",
                                                  "label_4=Delete:  Re-enter mouse cursor into image"};
    QTest::addRow("amplitude") << "InfoAmplitude"
                               << "Amplitude Information" << QSize() << true
                               << header + column("lAmplitude") +
                                      QStringList{"lMaxTitle=Maximum:", "lDistanceVariationTitle=σ:",
                                                  "label_3=Set position: Press Ctrl + left mouse button",
                                                  "label_4=Delete:  Re-enter mouse cursor into image"};
    QTest::addRow("DCS") << "InfoDCS"
                         << "DCS Information" << QSize() << true
                         << header + QStringList{"lDCS0=",
                                                 "lDCS1=",
                                                 "lDCS2=",
                                                 "lDCS3=",
                                                 "lDCS3Title=DCS3",
                                                 "label_3=Set position:    Press Ctrl + left mouse button",
                                                 "label_4=Delete:       Re-enter mouse cursor into image"};
    QTest::addRow("DCS difference") << "InfoDifDCS"
                                    << "DCS Difference Information" << QSize() << true
                                    << header +
                                           QStringList{"lDifDCS0=",
                                                       "lDifDCS1=",
                                                       "lDifDCS0Title=DCS2-DCS0 ",
                                                       "lDifDCS1Title=DCS3-DCS1 ",
                                                       "label_3=Set position:      Press Ctrl + left mouse "
                                                       "button",
                                                       "label_4=Delete:         Re-enter mouse cursor into "
                                                       "image"};
    QTest::addRow("FLIM") << "InfoFLIM"
                          << "Form" << QSize(240, 58) << true
                          << header + QStringList{"lMgaTitle=Mga", "lMga=", "lMgbTitle=Mgb", "lMgb="};
    QTest::addRow("pixel scope") << "InfoPixelScope"
                                 << "Pixel Scope" << QSize(794, 499) << false
                                 << QStringList{"wPixelScope",
                                                "lMin=Minimum signal level",
                                                "sbMin=-99999..65000",
                                                "lMax",
                                                "sbMax=-99999..99999",
                                                "lAverage=Average signal level",
                                                "sbAverage=-99999..99999",
                                                "lAverageMga=mga: ",
                                                "lAverageMgb=mgb:",
                                                "sbAverage1=-99999..99999",
                                                "cbTrackMinMax=Track min./max.",
                                                "pbReset=Reset",
                                                "lHLine1=Y1",
                                                "sbHLine1=-20000..20000",
                                                "lHLine2=Y2",
                                                "sbHLine2=-20000..20000",
                                                "lHLineDiff=Y2 - Y1",
                                                "sbHLineDiff=-99999..99999",
                                                "cbEnableMovingWindow=Enable moving window",
                                                "lWindowLength=Length of moving window",
                                                "sbWindowLength=2..100",
                                                "lSettingsYAxis=SETTINGS FOR Y-AXIS     ",
                                                "lYAxisMin",
                                                "sbYAxisMin=-99999..99999",
                                                "lYAxisMax",
                                                "sbYAxisMax=0..99999",
                                                "cbShowAverage",
                                                "cbShowCurve=Show mga",
                                                "cbShowCurve1=Show mgb",
                                                "cbShowDifference=Show diff.",
                                                "lMaximumDiff=Maximun difference",
                                                "sbMaximumDiff=0..9999",
                                                "lPixelSelection=ROI SELECTION",
                                                "lScopeCorner1=Lower left corner",
                                                "sbTopLeftX",
                                                "sbTopLeftY",
                                                "lScopeCorner2=Upper right corner",
                                                "sbBottomRightX",
                                                "sbBottomRightY",
                                                "cbSingleRow=single row",
                                                "cbSingleColumn=single col."};
    QTest::addRow("time scope") << "InfoPixelTimeScope"
                                << "Time Scope" << QSize(400, 300) << false << QStringList{};
    QTest::addRow("DRNU curve") << "InfoDRNUCurve"
                                << "DRNU Average" << QSize(574, 354) << false << QStringList{};
    QTest::addRow("temperature") << "InfoTemperature"
                                 << "Temperature" << QSize(216, 198) << true
                                 << QStringList{"lTempChip=CHIP",
                                                "leTl",
                                                "leTr",
                                                "leBl",
                                                "leBr",
                                                "leTempAvg",
                                                "lTempIlluminationBoard=ILLUMINATION BOARD",
                                                "leUpper",
                                                "leLower"};
    QTest::addRow("temperature, chip types 4 and 5")
        << "InfoTemperature1"
        << "Temperature" << QSize(231, 180) << true
        << QStringList{"lTempChip=CHIP", "leTl", "lTempIlluminationBoard=ILLUMINATION BOARD", "leUpper",
                       "leLower"};
}

void TestInfoWindows::windowForms()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QSize, size);
    QFETCH(bool, staysOnTop);
    QFETCH(QStringList, names);

    Settings settings;
    const std::unique_ptr<QWidget> window = makeWindow(kind, &settings);
    QCOMPARE(window->objectName(), kind);
    QCOMPARE(window->windowTitle(), title);
    if (size.isValid())
        QCOMPARE(window->size(), size);
    QVERIFY(window->isWindow());
    QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), staysOnTop);
    QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
    for (const QString& entry : names) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QWidget* child = window->findChild<QWidget*>(name);
        QVERIFY2(child, qPrintable(name));
        if (!entry.contains(QLatin1Char('=')))
            continue;
        const QString expected = entry.section(QLatin1Char('='), 1);
        QString shown;
        if (const auto* label = qobject_cast<const QLabel*>(child))
            shown = label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            shown = button->text();
        else if (const auto* box = qobject_cast<const QSpinBox*>(child))
            shown = QStringLiteral("%1..%2").arg(box->minimum()).arg(box->maximum());
        QCOMPARE(shown, expected);
    }
    // Every plot window lays its plot over the whole window (the pixel scope over its frame).
    if (auto* plot = window->findChild<QwtPlot*>())
        QVERIFY(plot->parentWidget()->layout() && plot->parentWidget()->layout()->indexOf(plot) >= 0);
}

void TestInfoWindows::pixelScopeRegion()
{
    Settings settings;
    settings.pixelScope()->setX1(10);
    settings.pixelScope()->setX2(19);
    settings.pixelScope()->setY1(125);
    settings.pixelScope()->setY2(126);
    InfoPixelScope scope(&settings, InfoPixelScope::Distance);
    scope.loadRegion();
    QCOMPARE(scope.pixelCount(), 20u);
    // A rectangle from a file that reaches past the ROI is cut to it.
    settings.pixelScope()->setX2(1000);
    settings.pixelScope()->setY1(-4);
    scope.loadRegion();
    QCOMPARE(scope.bottomRightX(), settings.roi()->x2());
    QCOMPARE(scope.topLeftY(), settings.roi()->y1());

    scope.setMinimum(5);
    scope.setMaximum(9);
    QCOMPARE(scope.getMinimum(), 5);
    QCOMPARE(scope.getMaximum(), 9);
    QVector<int> values{1, 2, 3};
    scope.setData(values);
    values[0] = 7;
    QCOMPARE(scope.lastValues().at(0), 1);
    scope.connectSignals(); // resets the figures: the distance scope's minimum is the range
    QCOMPARE(scope.getMaximum(), 0);
    scope.disconnectSignals();
}

void TestInfoWindows::timeScopePoints()
{
    InfoPixelTimeScope scope;
    QCOMPARE(scope.windowTitle(), QStringLiteral("Time Scope"));
    scope.addPoint(0, 1.5);
    scope.addPoint(1, 1.25);
    scope.redraw();
    QCOMPARE(scope.points().size(), 2);
    QCOMPARE(scope.points().last(), QPointF(1, 1.25));
    scope.clearPoints();
    QVERIFY(scope.points().isEmpty());
    // Hours of video: the history keeps the latest 10,000 frames and no more.
    // The axes follow the points held: the lowest distances leave with their frames, a spike
    // stays until its frame leaves.
    for (int frame = 0; frame < 25000; ++frame) {
        scope.addPoint(frame, frame == 16000 ? 99.0 : frame == 3000 ? 120.0 : frame / 1000.0);
        if (frame % 1000 == 0)
            scope.redraw();
    }
    QCOMPARE(scope.pointCount(), InfoPixelTimeScope::historyLimit);
    QCOMPARE(scope.point(0), QPointF(15000, 15.0));
    QCOMPARE(scope.point(scope.pointCount() - 1), QPointF(24999, 24.999));
    const QwtPlotItemList curves = scope.plotWidget()->itemList(QwtPlotItem::Rtti_PlotCurve);
    QCOMPARE(curves.size(), 1);
    QCOMPARE(static_cast<QwtPlotCurve*>(curves.first())->boundingRect(),
             QRectF(QPointF(15000, 15.0), QPointF(24999, 99.0)));
}

KESTRANE_TEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
