#pragma once

#include <qwt_plot_curve.h>

#include <QLineF>
#include <QVector>

// A lines curve (no brush, no curve fitting) for series that hold many more points than the canvas has pixel
// columns, such as the time scope's 10,000 frames on a few hundred columns. Consecutive points that land on
// the same column are drawn as one vertical stroke from the column's lowest to its highest point, joined to
// the neighbouring columns from its first and to its last point: the pixels a polyline through every point
// covers, while the pen strokes a few segments per column instead of thousands. The segments are drawn as
// separate lines, which the raster engine fills directly for a wide pen, where a polyline goes through the
// general path stroker (several times slower); their square ends fill the corners a polyline's joins fill,
// give or take a pixel at the tips. On a raster canvas the vertical strokes of a pen between 1 and 3 pixels
// wide are filled as the 2-pixel-wide rectangles the rasterizer would cover, which costs a fraction of
// rasterizing them as lines.
class DenseLineCurve final : public QwtPlotCurve
{
public:
    DenseLineCurve();

    // Whether vertical strokes may be filled as rectangles (on by default); off draws every
    // segment as a line, which the tests compare against.
    void setFillsColumns(bool on) { fillsColumns = on; }

protected:
    void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                   const QRectF& canvasRect, int from, int to) const override;

private:
    // Fills `segments` for the points from .. to, mapped to the canvas and rounded to whole
    // pixels when `roundToPixels`; a single point when the series covers only one.
    void columnSegments(const QwtScaleMap& xMap, const QwtScaleMap& yMap, int from, int to,
                        bool roundToPixels) const;
    static bool columnsFillable(QPainter* painter);

    // Reused from frame to frame, so that a replot does not allocate.
    mutable QVector<QLineF> segments;
    bool fillsColumns = true;
};
