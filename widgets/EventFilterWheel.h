#pragma once

#include <QObject>

// Keeps wheel events away from an input control: the event is left unaccepted, so Qt hands
// it to the parent widgets and the enclosing scroll area scrolls instead of the value changing.
class EventFilterWheel final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
