#include "measurement/InfoDRNUCurve.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"
#include "measurement/PlotStyle.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include "ui_InfoDRNUCurve.h"

#include <algorithm>
#include <cstdint>

InfoDRNUCurve::InfoDRNUCurve(QWidget* parent) : QWidget(parent), ui(new Ui::InfoDRNUCurve)
{
    InfoWindowStyle::setUpWindow(this, false);
    ui->setupUi(this);
    plot = ui->plot;

    PlotStyle::setUp(plot);
    const QColor blue(0, 0, 255);
    const QColor green(0, 200, 0);
    PlotStyle::setAxisTitle(plot, QwtPlot::yLeft, QStringLiteral("distance correction [mm]"), 10, true, blue);
    PlotStyle::setAxisTitle(plot, QwtPlot::yRight, QStringLiteral("temperature [°C]"), 10, true, green);
    PlotStyle::setAxisTitle(plot, QwtPlot::xBottom, QStringLiteral("dll step #"), 10, true);
    plot->setAxisScale(QwtPlot::yLeft, -400, 400);
    plot->enableAxis(QwtPlot::yRight, true);
    plot->setAxisScale(QwtPlot::yRight, 40, 50);
    plot->setAxisAutoScale(QwtPlot::xBottom);
    PlotStyle::addGrid(plot, QColor(220, 220, 220));
    drnuCurve = PlotStyle::makeCurve(PlotStyle::pen(blue, 1.9), QwtPlotCurve::Lines, QwtPlot::yLeft);
    temperatureCurve = PlotStyle::makeCurve(PlotStyle::pen(green, 1.5), QwtPlotCurve::Lines, QwtPlot::yRight);
    drnuCurve->attach(plot);
    temperatureCurve->attach(plot);
}

InfoDRNUCurve::~InfoDRNUCurve()
{
    ZTRACE() << "-----InfoDRNUCurve destroying";
    ZTRACE() << "-----InfoDRNUCurve destroyed";
    delete ui;
}

void InfoDRNUCurve::setTable(const int16_t* cameraTable, int rangeMm)
{
    // The product needs 64 bits at low frequencies (long ranges); a correction beyond the
    // table's 16 bits is shown at the limit rather than wrapped to the other sign.
    for (int i = 0; i < stepCount; ++i)
        values[i] =
            int16_t(std::clamp<qint64>(qint64(cameraTable[i]) * rangeMm / 30000, INT16_MIN, INT16_MAX));
    for (int i = stepCount; i < valueCount; ++i)
        values[i] = cameraTable[i];
    plotValues();
}

void InfoDRNUCurve::plotValues()
{
    QVector<QPointF>& drnu = PlotStyle::points(drnuCurve);
    QVector<QPointF>& temperature = PlotStyle::points(temperatureCurve);
    drnu.resize(0);
    temperature.resize(0);
    const int t = values[stepCount] / 10;
    ZTRACE() << "temp[50]= " << t << "t0= " << t - 5 << "t1= " << t + 5;
    plot->setAxisScale(QwtPlot::yRight, t - 5, t + 5);
    for (int i = 0; i < stepCount; ++i) {
        drnu.append(QPointF(i, values[i]));
        temperature.append(QPointF(i, values[stepCount + i] / 10.0));
    }
    plot->replot();
}
