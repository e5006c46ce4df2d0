#include "widgets/ZelComboBox.h"

#include "app/Trace.h"
#include "widgets/EventFilterWheel.h"

ZelComboBox::ZelComboBox(QWidget* parent) : QComboBox(parent)
{
    installEventFilter(new EventFilterWheel(this));
    setFocusPolicy(Qt::TabFocus);
}

ZelComboBox::~ZelComboBox()
{
    ZTRACE() << "-----ZelComboBox destroying";
    ZTRACE() << "-----ZelComboBox destroyed";
}
