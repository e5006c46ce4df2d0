#include "measurement/InfoPixelTimeScope.h"

#include "app/Trace.h"

#include <QLabel>
#include <QVBoxLayout>

InfoPixelTimeScope::InfoPixelTimeScope(QWidget* parent) : QWidget(parent), figures(new QLabel(this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Time Scope"));
    figures->setObjectName(QStringLiteral("lFigures"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(figures);
    resize(400, 300);
}

InfoPixelTimeScope::~InfoPixelTimeScope()
{
    ZTRACE() << "-----InfoPixelTimeScope destroying";
    ZTRACE() << "-----InfoPixelTimeScope destroyed";
}

void InfoPixelTimeScope::addPoint(int x, double y)
{
    pointList.append(QPointF(x, y));
}

void InfoPixelTimeScope::redraw()
{
    if (pointList.isEmpty()) {
        figures->clear();
        return;
    }
    const QPointF& last = pointList.constLast();
    figures->setText(QStringLiteral("frame %1: %2 m").arg(last.x()).arg(last.y(), 0, 'f', 3));
}

void InfoPixelTimeScope::clearPoints()
{
    pointList.clear();
}
