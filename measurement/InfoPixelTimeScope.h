#pragma once

#include <QPointF>
#include <QVector>
#include <QWidget>

class QwtPlot;
class QwtPlotCurve;
namespace Ui {
class InfoPixelTimeScope;
}
class TimeScopePoints;

// The distance of one marked pixel over the frames, fed by the distance view, which appends
// one point per frame and redraws. The history keeps the latest `historyLimit` frames (the
// oldest are dropped), so hours of live video do not grow the memory.
class InfoPixelTimeScope final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int historyLimit = 10000;

    explicit InfoPixelTimeScope(QWidget* parent = nullptr);
    ~InfoPixelTimeScope() override;

    void addPoint(int x, double y);
    // Hands the points to the curve and replots.
    void redraw();
    void clearPoints();

    int pointCount() const;
    QPointF point(int i) const;
    // A copy of the points held, oldest first.
    QVector<QPointF> points() const;
    QwtPlot* plotWidget() const { return plot; }

private:
    Ui::InfoPixelTimeScope* ui;
    QwtPlot* plot;
    QwtPlotCurve* curve;
    // Owned by the curve.
    TimeScopePoints* history;
};
