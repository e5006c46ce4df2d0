#include "measurement/GraphFLIM.h"

#include "app/Trace.h"
#include "measurement/PlotStyle.h"

#include <qwt_legend.h>
#include <qwt_plot_curve.h>

namespace {
// Levels of the two lines: the flash above, the gates below.
constexpr double flashOff = 5;
constexpr double flashOn = 6;
constexpr double gateOff = 3;
constexpr double gateOn = 4;

// A pulse from `start` lasting `width` on a line that is off at `off` and on at `on`; a zero
// width leaves the line flat.
void addPulse(QVector<QPointF>& points, double start, double width, double off, double on)
{
    points << QPointF(start, off);
    if (width != 0)
        points << QPointF(start, on) << QPointF(start + width, on) << QPointF(start + width, off);
}
} // namespace

GraphFLIM::GraphFLIM(QWidget* parent) : QwtPlot(parent), legend(new QwtLegend)
{
    PlotStyle::setUp(this);
    PlotStyle::setAxisTitle(this, xBottom, QStringLiteral("time [ns]"), 8, false);
    enableAxis(yLeft, false);
    setAxisAutoScale(xBottom, true);
    setAxisAutoScale(yLeft, true);

    const QPen plain;
    const struct
    {
        const char* title;
        QPen pen;
    } look[CurveCount] = {
        {"flash", PlotStyle::pen(QColor(229, 0, 77), 1)},
        {nullptr, plain},
        {"mga", PlotStyle::pen(QColor(17, 53, 183), 1)},
        {"mgb", PlotStyle::pen(QColor(113, 232, 0), 1)},
        {nullptr, plain},
    };
    for (int i = 0; i < CurveCount; ++i) {
        QwtPlotCurve* curve = PlotStyle::makeCurve(look[i].pen, QwtPlotCurve::Steps, yLeft);
        if (look[i].title)
            curve->setTitle(QString::fromLatin1(look[i].title));
        else
            curve->setItemAttribute(QwtPlotItem::Legend, false);
        curve->attach(this);
        curves[size_t(i)] = curve;
    }
    insertLegend(legend, RightLegend);
    redraw();
}

GraphFLIM::~GraphFLIM()
{
    ZTRACE() << "-----GraphFLIM destroying";
    ZTRACE() << "-----GraphFLIM destroyed";
}

void GraphFLIM::redraw()
{
    m_cycleEnd = mgaDelay + mgaWidth + mgbDelay + mgbWidth + repetitionTime;
    const double mgaEnd = mgaDelay + mgaWidth;
    const double mgbStart = mgaEnd + mgbDelay;
    const double flashEnd = flashDelay + flashWidth;

    QVector<QPointF>& flash = PlotStyle::points(curves[Flash]);
    flash.clear();
    flash << QPointF(0, flashOff);
    addPulse(flash, flashDelay, flashWidth, flashOff, flashOn);
    flash << QPointF(m_cycleEnd, flashOff);

    QVector<QPointF>& flashTail = PlotStyle::points(curves[FlashTail]);
    flashTail.clear();
    flashTail << QPointF(flashEnd, flashOff) << QPointF(m_cycleEnd, flashOff);

    QVector<QPointF>& mga = PlotStyle::points(curves[Mga]);
    mga.clear();
    mga << QPointF(0, gateOff);
    addPulse(mga, mgaDelay, mgaWidth, gateOff, gateOn);

    QVector<QPointF>& mgb = PlotStyle::points(curves[Mgb]);
    mgb.clear();
    mgb << QPointF(mgaEnd, gateOff);
    addPulse(mgb, mgbStart, mgbWidth, gateOff, gateOn);

    QVector<QPointF>& gateTail = PlotStyle::points(curves[GateTail]);
    gateTail.clear();
    gateTail << QPointF(mgbStart + mgbWidth, gateOff) << QPointF(m_cycleEnd, gateOff);

    replot();
}
