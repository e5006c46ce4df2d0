#include "settings/SettingsTransformation.h"

#include "app/Trace.h"

SettingsTransformation::SettingsTransformation(QObject* parent) : QObject(parent)
{
}

SettingsTransformation::~SettingsTransformation()
{
    ZTRACE() << "***SettingsTransformation destroyed";
}

void SettingsTransformation::setHorizontalFlip(bool state)
{
    m_horizontalFlip = state;
    emit horizontalFlipped(state);
}

void SettingsTransformation::setVerticalFlip(bool state)
{
    m_verticalFlip = state;
    emit verticalFlipped(state);
}
