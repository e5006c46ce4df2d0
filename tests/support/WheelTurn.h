#pragma once

#include <QApplication>
#include <QPoint>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <QWidget>

// A wheel turn as the window system delivers it: spontaneous, so that an event the control
// leaves unaccepted travels on to its parents.
inline void turnWheel(QWidget* widget, int steps)
{
    // The wheel reaches the innermost child under the pointer first (a spin box's line edit).
    const QPoint centre = widget->rect().center();
    QWidget* target = widget->childAt(centre) ? widget->childAt(centre) : widget;
    const QPointF position = QPointF(target->mapFrom(widget, centre));
    QWheelEvent event(position, QPointF(widget->mapToGlobal(centre)), QPoint(), QPoint(0, -120 * steps),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    // Delivered through notify(): sendEvent() would mark it synthesized again.
    qApp->notify(target, &event);
}
