#pragma once

#include <QString>

// One of the four sensor models the simulator can stand for.
struct ChipModel
{
    QString name;
    int chipType = 0;
    int columns = 0;
    int rows = 0;
    bool flim = false;

    // Chip types 1 to 3 read the array as two halves mirrored about the centre row;
    // 4 and 5 read it as one block from the top.
    bool centreSplit() const { return chipType >= 1 && chipType <= 3; }
    // The lens spreads 108 degrees over the columns of the default region of interest.
    int defaultRoiWidth() const { return columns == 328 ? 320 : 160; }
    int cellCount() const { return columns * rows; }

    static bool isKnownName(const QString& name);
    static ChipModel byName(const QString& name);
};
