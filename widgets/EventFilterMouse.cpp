#include "widgets/EventFilterMouse.h"

#include <QEvent>

bool EventFilterMouse::eventFilter(QObject* watched, QEvent* event)
{
    Q_UNUSED(watched)
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove;
}
