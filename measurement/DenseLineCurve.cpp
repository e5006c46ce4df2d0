#include "measurement/DenseLineCurve.h"

#include <qwt_painter.h>
#include <qwt_scale_map.h>

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

DenseLineCurve::DenseLineCurve()
{
    setStyle(QwtPlotCurve::Lines);
}

void DenseLineCurve::columnSegments(const QwtScaleMap& xMap, const QwtScaleMap& yMap, int from, int to,
                                    bool roundToPixels) const
{
    segments.resize(0);
    const QwtSeriesData<QPointF>* series = data();
    // The open column: where the line enters it, its vertical extent, where it leaves it.
    double column = 0.0;
    QPointF first, last;
    double low = 0.0, high = 0.0;
    bool open = false;
    bool joined = false;
    QPointF previousLast;
    auto closeColumn = [&] {
        if (joined && previousLast != first)
            segments.append(QLineF(previousLast, first));
        if (low != high)
            segments.append(QLineF(first.x(), low, first.x(), high));
        previousLast = last;
        joined = true;
    };
    for (int i = from; i <= to; ++i) {
        const QPointF sample = series->sample(size_t(i));
        double x = xMap.transform(sample.x());
        double y = yMap.transform(sample.y());
        if (roundToPixels) {
            x = qRound(x);
            y = qRound(y);
        }
        const double pointColumn = roundToPixels ? x : std::floor(x + 0.5);
        if (open && pointColumn == column) {
            low = std::min(low, y);
            high = std::max(high, y);
            last = QPointF(first.x(), y);
            continue;
        }
        if (open)
            closeColumn();
        column = pointColumn;
        first = last = QPointF(x, y);
        low = high = y;
        open = true;
    }
    if (open)
        closeColumn();
    // Every point on one pixel: the polyline is that point alone.
    if (segments.isEmpty() && open)
        segments.append(QLineF(first, first));
}

bool DenseLineCurve::columnsFillable(QPainter* painter)
{
    // Whole-pixel points on a raster device shifted by whole pixels, an opaque solid pen
    // with square ends between 1 and 3 pixels wide, no antialiasing: the cases whose
    // coverage the rectangle reproduces.
    const QPen& pen = painter->pen();
    const QTransform& transform = painter->transform();
    const qreal width = pen.widthF();
    return QwtPainter::roundingAlignment(painter) && painter->paintEngine()->type() == QPaintEngine::Raster &&
           !painter->testRenderHint(QPainter::Antialiasing) && transform.type() <= QTransform::TxTranslate &&
           transform.dx() == std::round(transform.dx()) && transform.dy() == std::round(transform.dy()) &&
           pen.style() == Qt::SolidLine && pen.capStyle() == Qt::SquareCap && pen.color().alpha() == 255 &&
           pen.brush().style() == Qt::SolidPattern && width > 1.0 && width < 3.0;
}

void DenseLineCurve::drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                               const QRectF& canvasRect, int from, int to) const
{
    if (from > to)
        return;
    columnSegments(xMap, yMap, from, to, QwtPainter::roundingAlignment(painter));
    if (segments.size() == 1 && segments.first().p1() == segments.first().p2()) {
        const QPointF point = segments.first().p1();
        QwtPainter::drawPolyline(painter, &point, 1);
        return;
    }
    if (testPaintAttribute(ClipPolygons)) {
        // As the plain curve clips: segments more than a pen width outside the canvas are
        // left out, vertical ones cut at that margin; the painter clips the rest.
        const qreal margin = qMax(qreal(1.0), painter->pen().widthF());
        const QRectF clipRect = canvasRect.adjusted(-margin, -margin, margin, margin);
        auto outside = [&clipRect](const QLineF& s) {
            return std::max(s.x1(), s.x2()) < clipRect.left() ||
                   std::min(s.x1(), s.x2()) > clipRect.right() || std::max(s.y1(), s.y2()) < clipRect.top() ||
                   std::min(s.y1(), s.y2()) > clipRect.bottom();
        };
        segments.erase(std::remove_if(segments.begin(), segments.end(), outside), segments.end());
        for (QLineF& segment : segments) {
            if (segment.x1() == segment.x2()) {
                segment.setP1(QPointF(segment.x1(), qBound(clipRect.top(), segment.y1(), clipRect.bottom())));
                segment.setP2(QPointF(segment.x2(), qBound(clipRect.top(), segment.y2(), clipRect.bottom())));
            }
        }
    }
    if (fillsColumns && columnsFillable(painter)) {
        const QColor colour = painter->pen().color();
        int kept = 0;
        for (const QLineF& segment : qAsConst(segments)) {
            if (segment.x1() != segment.x2()) {
                segments[kept++] = segment;
                continue;
            }
            // A square-capped vertical stroke from y1 to y2 at column x covers the pixel
            // columns x - 1 and x, rows y1 - 1 to y2.
            const int x = int(segment.x1());
            const int y1 = int(std::min(segment.y1(), segment.y2()));
            const int y2 = int(std::max(segment.y1(), segment.y2()));
            painter->fillRect(QRect(x - 1, y1 - 1, 2, y2 - y1 + 2), colour);
        }
        segments.resize(kept);
    }
    painter->drawLines(segments);
}
