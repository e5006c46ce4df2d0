#pragma once

#include "sim/ChipModel.h"

#include <QPoint>
#include <QVector>

// The settings the simulated camera keeps between connections, as the module's command
// server does. Fields hold what the last command set; `revision` counts changes so that
// cached readout plans and precomputed frames know when to rebuild.
struct CameraState
{
    ChipModel chip;

    int integrationTime2D = 1000;
    int integrationTime3D = 700;
    int integrationTime3DHDR = 200;
    QVector<int> frequenciesKHz;
    QVector<int> calibrationTypes;
    int frequencyIndex = 1;
    int minAmplitude = 20;
    int hysteresis = 0;
    bool defaultOffsetEnabled = true;
    int automaticOffset = 0;
    int manualOffset = 0;
    bool offsetTemperatureCorrection = false;

    // Region of interest as the last "setROI" gave it. For the centre-split sensors the
    // bottom value is the last row of the upper half (the client sends 125); the lower half
    // mirrors the upper one about the centre row.
    int roiX1 = 4;
    int roiX2 = 323;
    int roiY1 = 6;
    int roiY2 = 125;

    bool horizontalBinning = false;
    bool verticalBinning = false;
    int rowReductionIndex = 0;
    bool piDelay = false;
    bool dualMGX = false;
    bool hdr = false;
    int modulationMode = 0;
    int lfsrStage = 1;
    int polynomial = 0;
    bool abs = false;
    bool saturationMarking = false;
    bool adcOverflowMarking = false;
    int imageAveraging = 0;
    int loadedConfig = 1;

    int flimFlashDelay = 0;
    int flimFlashWidth = 0;
    int flimT1 = 0;
    int flimT2 = 0;
    int flimT3 = 0;
    int flimT4 = 0;
    int flimTrep = 0;
    int flimRepetitions = 1;
    int flimStepPs = 250;

    bool grayscaleOffsetCorrection = true;
    bool grayscaleGainCorrection = true;
    bool drnuCorrection = true;
    bool temperatureCorrection = true;
    bool flimOffsetCorrection = true;
    bool flimGainCorrection = true;
    bool drnuShown = false;
    int kalmanVariant = 0;
    double kalmanK = 0.1;
    double kalmanQ = 2.0;
    int kalmanThreshold = 0;
    int kalmanThreshold2 = 0;
    double kalmanKdiff = 0.1;
    int kalmanNumCheck = 2;
    bool argCheck = false;
    int filterMode = 0;
    int filterIterations = 5;
    double speedOfLight = 150000000.0;
    bool videoRunning = false;

    QVector<QPoint> badPixels;
    QVector<qint16> drnuTable;
    quint8 registers[256] = {};

    quint64 revision = 0;

    explicit CameraState(const ChipModel& model = ChipModel::byName(QStringLiteral("zc320")));

    int rowReductionFactor() const { return 1 << rowReductionIndex; }
    int currentFrequencyKHz() const;
    // Unambiguous range in metres: the speed-of-light setting (half the speed of light)
    // over the modulation frequency.
    double unambiguousRangeM() const;
    int effectiveOffset() const { return defaultOffsetEnabled ? automaticOffset : manualOffset; }
    int maxAmplitude() const { return modulationMode == 0 ? 2895 : 4095; }
    int centreRow() const { return chip.rows / 2; }
    // Centre-split sensors: the top row of the upper half. Both halves are read together, so a
    // top row given in the lower half stands for its mirror image in the upper half.
    int upperTopRow() const { return roiY1 < centreRow() ? roiY1 : chip.rows - 1 - roiY1; }
};
