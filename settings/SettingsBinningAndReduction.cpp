#include "settings/SettingsBinningAndReduction.h"

#include "app/Trace.h"

SettingsBinningAndReduction::SettingsBinningAndReduction(QObject* parent) : QObject(parent)
{
}

SettingsBinningAndReduction::~SettingsBinningAndReduction()
{
    ZTRACE() << "***SettingsBinningAndReduction destroyed";
}

void SettingsBinningAndReduction::setHorizontalBinning(bool state)
{
    m_horizontalBinning = state;
    m_horizontalFactor = state ? 2 : 1;
    emit horizontalBinningChanged(state);
}

void SettingsBinningAndReduction::setVerticalBinning(bool state)
{
    m_verticalBinning = state;
    emit verticalBinningChanged(state);
}

void SettingsBinningAndReduction::setRowReductionIndex(int index)
{
    m_rowReductionIndex = index;
    emit rowReductionChanged(index);
}

void SettingsBinningAndReduction::announceLockVerticalBinning(bool state)
{
    emit lockVerticalBinning(state);
}
