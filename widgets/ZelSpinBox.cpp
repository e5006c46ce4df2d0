#include "widgets/ZelSpinBox.h"

#include "app/Trace.h"
#include "widgets/EventFilterWheel.h"

ZelSpinBox::ZelSpinBox(QWidget* parent) : QSpinBox(parent)
{
    installEventFilter(new EventFilterWheel(this));
    setFocusPolicy(Qt::StrongFocus);
}

ZelSpinBox::~ZelSpinBox()
{
    ZTRACE() << "-----ZelSpinBox destroying";
    ZTRACE() << "-----ZelSpinBox destroyed";
}
