#pragma once

#include <QObject>

// Swallows mouse presses and moves, so that a view cannot be selected or dragged with the
// mouse; releases, double clicks, wheel and key events pass.
class EventFilterMouse final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
