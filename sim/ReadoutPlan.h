#pragma once

#include <QVector>

struct CameraState;

// The readout order of one image for the settings the camera holds: for every payload word
// the sensor cells it stands for. Built once per change of settings and reused for every
// frame, so that the per-frame work is a single pass over the words.
class ReadoutPlan final
{
public:
    enum class Footprint
    {
        SingleCell,
        VerticalPair,
        HorizontalPair,
        Block2x2
    };

    // Correlation-sample and grayscale frames place dual-MGX words on single cells with a
    // row step of 1; distance and amplitude frames read dual-MGX rows as pairs.
    enum class FrameKind
    {
        Tof,
        Other
    };

    struct Word
    {
        int cell;               // anchor cell, row * columns + column
        bool upper;             // centre-split upper half: the footprint extends left and upward
        bool secondIntegration; // HDR: read with the second integration time
    };

    ReadoutPlan(const CameraState& state, FrameKind kind);

    const QVector<Word>& words() const { return planWords; }
    int wordCount() const { return planWords.size(); }
    Footprint footprint() const { return planFootprint; }
    int footprintWidth() const;
    int footprintHeight() const;
    int rowStep() const { return step; }
    int columns() const { return sensorColumns; }
    int rows() const { return sensorRows; }
    // Sensor cells of word i, at most four; returns how many.
    int cellsOf(int i, int* cells) const;
    // Places `values` (one per word) on a sensor-sized field in row-major order, the later
    // word winning where footprints overlap; cells no word covers stay -1.
    void place(const quint16* values, qint32* field) const;

private:
    QVector<Word> planWords;
    Footprint planFootprint = Footprint::SingleCell;
    int step = 1;
    int sensorColumns = 0;
    int sensorRows = 0;
};
