#include "widgets/EventFilterWheel.h"

#include <QEvent>

bool EventFilterWheel::eventFilter(QObject* watched, QEvent* event)
{
    Q_UNUSED(watched)
    if (event->type() == QEvent::Wheel) {
        event->ignore();
        return true;
    }
    return false;
}
