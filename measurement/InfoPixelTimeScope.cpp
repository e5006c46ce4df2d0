#include "measurement/InfoPixelTimeScope.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"
#include "measurement/PlotStyle.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include "ui_InfoPixelTimeScope.h"

// The time scope's points in a ring of fixed capacity, read by the curve in place: appending
// a frame neither copies the history nor allocates once the ring is full.
class TimeScopePoints final : public QwtSeriesData<QPointF>
{
public:
    explicit TimeScopePoints(int capacity) : ring(capacity) {}

    size_t size() const override { return size_t(held); }
    QPointF sample(size_t i) const override { return ring.at((first + int(i)) % ring.size()); }
    QRectF boundingRect() const override { return qwtBoundingRect(*this); }

    void append(const QPointF& p)
    {
        if (held < ring.size()) {
            ring[(first + held) % ring.size()] = p;
            ++held;
            return;
        }
        ring[first] = p;
        first = (first + 1) % ring.size();
    }
    void clear()
    {
        first = 0;
        held = 0;
    }

private:
    QVector<QPointF> ring;
    int first = 0;
    int held = 0;
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
    curve = new QwtPlotCurve;
    curve->setStyle(QwtPlotCurve::Lines);
    curve->setPen(PlotStyle::pen(QColor(0, 0, 255), 1.9));
    // Thousands of frames fall on a few hundred pixel columns: draw each column once.
    curve->setPaintAttribute(QwtPlotCurve::FilterPoints, true);
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
