#include "sim/CameraState.h"

CameraState::CameraState(const ChipModel& model) : chip(model)
{
    // Six ordinary frequencies and two face-recognition ones, of which only the second
    // carries a calibration.
    frequenciesKHz = {20000, 10000, 5000, 2500, 1250, 625, 30000, 15000};
    calibrationTypes = {1, 1, 1, 1, 0, 0, 0, 2};
    if (!chip.centreSplit()) {
        roiX1 = 4;
        roiX2 = 163;
        roiY1 = 6;
        roiY2 = 65;
    }
    registers[0x12] = static_cast<quint8>(chip.chipType);
}

int CameraState::currentFrequencyKHz() const
{
    if (frequencyIndex < 0 || frequencyIndex >= frequenciesKHz.size())
        return 10000;
    return frequenciesKHz.at(frequencyIndex);
}

double CameraState::unambiguousRangeM() const
{
    return speedOfLight / (currentFrequencyKHz() * 1000.0);
}
