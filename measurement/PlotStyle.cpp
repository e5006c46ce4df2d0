#include "measurement/PlotStyle.h"

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_text.h>

#include <QFont>

QRectF PlotPoints::boundingRect() const
{
    return qwtBoundingRect(*this);
}

namespace PlotStyle {

void setUp(QwtPlot* plot)
{
    plot->setCanvasBackground(Qt::white);
    plot->canvas()->setCursor(Qt::CrossCursor);
    QFont scaleFont(QStringLiteral("Arial"));
    scaleFont.setPixelSize(10);
    for (int axis : {QwtPlot::xBottom, QwtPlot::yLeft, QwtPlot::yRight})
        plot->setAxisFont(axis, scaleFont);
    // Replots come from the data feed, never from every attach or detach.
    plot->setAutoReplot(false);
}

void setAxisTitle(QwtPlot* plot, int axis, const QString& title, int pointSize, bool bold,
                  const QColor& colour)
{
    QwtText text(title);
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    text.setFont(font);
    text.setColor(colour);
    plot->setAxisTitle(axis, text);
}

QwtPlotGrid* addGrid(QwtPlot* plot, const QColor& colour)
{
    auto* grid = new QwtPlotGrid;
    grid->setPen(pen(colour, 1));
    grid->attach(plot);
    return grid;
}

QPen pen(const QColor& colour, double width, Qt::PenStyle style)
{
    QPen p(colour, width, style);
    p.setCosmetic(true);
    return p;
}

QwtPlotCurve* makeCurve(const QPen& curvePen, int style, int yAxis)
{
    auto* curve = new QwtPlotCurve;
    curve->setPen(curvePen);
    curve->setStyle(QwtPlotCurve::CurveStyle(style));
    curve->setYAxis(yAxis);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, false);
    curve->setData(new PlotPoints);
    return curve;
}

QVector<QPointF>& points(QwtPlotCurve* curve)
{
    return static_cast<PlotPoints*>(curve->data())->buffer;
}

} // namespace PlotStyle
