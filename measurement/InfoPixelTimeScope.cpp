#include "measurement/InfoPixelTimeScope.h"

#include "app/Trace.h"
#include "measurement/DenseLineCurve.h"
#include "measurement/InfoWindowStyle.h"
#include "measurement/PlotStyle.h"

#include <qwt_plot.h>

#include <algorithm>

#include "ui_InfoPixelTimeScope.h"

// The time scope's points in a ring of fixed capacity, read by the curve in place: appending
// a frame neither copies the history nor allocates once the ring is full. The bounding
// rectangle the axes' autoscaling asks for on every replot is kept up to date as points come
// and go; the ring is only scanned again when the point dropped held the lowest or highest
// distance (or, for frame numbers that do not rise, an end of the frame range).
class TimeScopePoints final : public QwtSeriesData<QPointF>
{
public:
    explicit TimeScopePoints(int capacity) : ring(capacity) {}

    size_t size() const override { return size_t(held); }
    QPointF sample(size_t i) const override
    {
        int at = first + int(i);
        if (at >= ring.size())
            at -= ring.size();
        return ring.at(at);
    }
    QRectF boundingRect() const override
    {
        if (!boundsValid) {
            bounds = qwtBoundingRect(*this);
            boundsValid = true;
        }
        return bounds;
    }

    void append(const QPointF& p)
    {
        if (held > 0 && p.x() <= sample(size_t(held - 1)).x())
            xRising = false;
        if (held < ring.size()) {
            ring[(first + held) % ring.size()] = p;
            ++held;
        } else {
            const QPointF& dropped = ring.at(first);
            if (dropped.y() == bounds.top() || dropped.y() == bounds.bottom() ||
                (!xRising && (dropped.x() == bounds.left() || dropped.x() == bounds.right())))
                boundsValid = false;
            ring[first] = p;
            first = (first + 1) % ring.size();
        }
        if (!boundsValid)
            return;
        if (held == 1) {
            bounds = QRectF(p, QSizeF(0.0, 0.0));
            return;
        }
        // Rising frame numbers: the oldest and the newest point are the ends of the range.
        const double left = xRising ? sample(0).x() : std::min(bounds.left(), p.x());
        const double right = xRising ? p.x() : std::max(bounds.right(), p.x());
        const double top = std::min(bounds.top(), p.y());
        const double bottom = std::max(bounds.bottom(), p.y());
        bounds = QRectF(left, top, right - left, bottom - top);
    }
    void clear()
    {
        boundsValid = false;
        xRising = true;
        first = 0;
        held = 0;
    }

private:
    QVector<QPointF> ring;
    int first = 0;
    int held = 0;
    bool xRising = true;
    mutable QRectF bounds;
    mutable bool boundsValid = false;
};

InfoPixelTimeScope::InfoPixelTimeScope(QWidget* parent)
    : QWidget(parent), ui(new Ui::InfoPixelTimeScope), history(new TimeScopePoints(historyLimit))
{
    InfoWindowStyle::setUpWindow(this, false);
    ui->setupUi(this);
    plot = ui->plot;

    PlotStyle::setUp(plot);
    PlotStyle::setAxisTitle(plot, QwtPlot::yLeft, QStringLiteral("distance [m]"), 10, true);
    PlotStyle::setAxisTitle(plot, QwtPlot::xBottom, QStringLiteral("frame"), 10, true);
    plot->setAxisAutoScale(QwtPlot::yLeft);
    plot->setAxisAutoScale(QwtPlot::xBottom);
    PlotStyle::addGrid(plot, QColor(220, 220, 220));
    // Thousands of frames fall on a few hundred pixel columns: the curve strokes each column's
    // extremes instead of every frame.
    curve = new DenseLineCurve;
    curve->setPen(PlotStyle::pen(QColor(0, 0, 255), 1.9));
    curve->setData(history);
    curve->attach(plot);
}

InfoPixelTimeScope::~InfoPixelTimeScope()
{
    ZTRACE() << "-----InfoPixelTimeScope destroying";
    ZTRACE() << "-----InfoPixelTimeScope destroyed";
    delete ui;
}

void InfoPixelTimeScope::addPoint(int x, double y)
{
    history->append(QPointF(x, y));
}

void InfoPixelTimeScope::redraw()
{
    plot->replot();
}

void InfoPixelTimeScope::clearPoints()
{
    history->clear();
}

int InfoPixelTimeScope::pointCount() const
{
    return int(history->size());
}

QPointF InfoPixelTimeScope::point(int i) const
{
    return history->sample(size_t(i));
}

QVector<QPointF> InfoPixelTimeScope::points() const
{
    QVector<QPointF> copy;
    copy.reserve(pointCount());
    for (int i = 0; i < pointCount(); ++i)
        copy.append(point(i));
    return copy;
}
