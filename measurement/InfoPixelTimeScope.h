#pragma once

#include <QPointF>
#include <QVector>
#include <QWidget>

class QLabel;

// The distance of one marked pixel over the frames, fed by the distance view.
//
// This window shows the point count and the last point; the plot comes with the full window.
class InfoPixelTimeScope final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoPixelTimeScope(QWidget* parent = nullptr);
    ~InfoPixelTimeScope() override;

    void addPoint(int x, double y);
    void redraw();
    void clearPoints();

    const QVector<QPointF>& points() const { return pointList; }

private:
    QVector<QPointF> pointList;
    QLabel* figures;
};
