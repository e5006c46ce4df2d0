#include "widgets/ZelCheckBox.h"

#include "app/Trace.h"

ZelCheckBox::ZelCheckBox(QWidget* parent) : QCheckBox(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

ZelCheckBox::~ZelCheckBox()
{
    ZTRACE() << "-----ZelCheckBox destroying";
    ZTRACE() << "-----ZelCheckBox destroyed";
}
