#pragma once

#include <qwt_series_data.h>

#include <QColor>
#include <QPen>
#include <QString>
#include <QVector>

class QwtPlot;
class QwtPlotCurve;
class QwtPlotGrid;

// The look every plot of the measurement windows shares, so that the pixel scope, the time
// scope, the DRNU curve and later plots read alike: white canvas with a cross cursor, a thin
// solid grid, Arial axis titles and scale labels of 10 pixels, curves without titles drawn
// from a point buffer the window refills in place.
namespace PlotStyle {
// Canvas, cursor and the scale-label font of the bottom, left and right axes.
void setUp(QwtPlot* plot);
// Sets the title of `axis` in Arial `pointSize`, bold or normal, in `colour`.
void setAxisTitle(QwtPlot* plot, int axis, const QString& title, int pointSize, bool bold,
                  const QColor& colour = Qt::black);
// A solid grid of width 1 in `colour`, attached to `plot`.
QwtPlotGrid* addGrid(QwtPlot* plot, const QColor& colour);
QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine);
// A curve of `style` (QwtPlotCurve::CurveStyle) drawn with `curvePen` against `yAxis`, reading
// its points from a PlotPoints buffer it owns; not attached.
QwtPlotCurve* makeCurve(const QPen& curvePen, int style, int yAxis);
// The point buffer of a curve made by makeCurve: refill it, then replot.
QVector<QPointF>& points(QwtPlotCurve* curve);
} // namespace PlotStyle

// A curve's points, kept in one buffer that is refilled frame after frame without
// allocating; the bounding rectangle is computed when the plot asks for it.
class PlotPoints final : public QwtSeriesData<QPointF>
{
public:
    size_t size() const override { return size_t(buffer.size()); }
    QPointF sample(size_t i) const override { return buffer.at(int(i)); }
    QRectF boundingRect() const override;

    QVector<QPointF> buffer;
};
