#pragma once

#include <QVector>

// What the last served frame must look like in sensor coordinates: per image a row-major
// field of columns x rows raw words, -1 where the frame delivered nothing. Placement follows
// the readout order, the later word winning where footprints overlap.
struct SimFrameReport
{
    int images = 0;
    int columns = 0;
    int rows = 0;
    QVector<qint32> values; // index (image * rows + row) * columns + column

    qint32 value(int image, int column, int row) const
    {
        return values.at((image * rows + row) * columns + column);
    }
};
