#include "sim/ReadoutPlan.h"

#include "sim/CameraState.h"

#include <algorithm>

ReadoutPlan::ReadoutPlan(const CameraState& state, FrameKind kind)
    : sensorColumns(state.chip.columns), sensorRows(state.chip.rows)
{
    const bool hb = state.horizontalBinning;
    const bool vb = state.verticalBinning;
    const bool dm = state.dualMGX;
    const int f = state.rowReductionFactor();
    const int s = dm ? 2 * f : f;

    if (dm && !hb && kind == FrameKind::Tof) {
        planFootprint = Footprint::VerticalPair;
        step = s;
    } else if (hb && (vb || dm)) {
        planFootprint = Footprint::Block2x2;
        step = s;
    } else if (hb) {
        planFootprint = Footprint::HorizontalPair;
        step = s;
    } else if (vb) {
        planFootprint = Footprint::VerticalPair;
        step = s;
    } else if (dm) {
        planFootprint = Footprint::SingleCell;
        step = 1;
    } else {
        planFootprint = Footprint::SingleCell;
        step = s;
    }

    const int fw = footprintWidth();
    const int fh = footprintHeight();
    const int x1 = std::clamp(state.roiX1, 0, sensorColumns - 1);
    const int x2 = std::clamp(state.roiX2, x1, sensorColumns - 1);
    const int width = x2 - x1 + 1;
    const int wordsPerRow = width / fw;

    if (state.chip.centreSplit()) {
        // Both halves are read from the centre outward: the upper half right to left and
        // upward from the row above the centre, the lower half left to right and downward
        // from the centre row. The payload holds the upper half in reverse, so that it
        // reads as an ordinary top-to-bottom image ending on the centre.
        const int centre = state.centreRow();
        const int halfHeight = centre - std::clamp(state.upperTopRow(), 0, centre - 1);
        const int payloadRows = halfHeight >= fh ? (halfHeight - fh) / step + 1 : 0;
        const int half = payloadRows * wordsPerRow;
        planWords.resize(2 * half);
        for (int i = 0; i < half; ++i) {
            const int r = i / wordsPerRow;
            const int k = i % wordsPerRow;
            const bool second = (payloadRows + r) % 2 != 0;
            const int upperRow = centre - 1 - step * r;
            const int upperColumn = x1 + width - 1 - fw * k;
            planWords[half - 1 - i] = {upperRow * sensorColumns + upperColumn, true, second};
            const int lowerRow = centre + step * r;
            const int lowerColumn = x1 + fw * k;
            planWords[half + i] = {lowerRow * sensorColumns + lowerColumn, false, second};
        }
    } else {
        const int y1 = std::clamp(state.roiY1, 0, sensorRows - 1);
        const int y2 = std::clamp(state.roiY2, y1, sensorRows - 1);
        const int height = y2 - y1 + 1;
        const int payloadRows = height >= fh ? (height - fh) / step + 1 : 0;
        planWords.resize(payloadRows * wordsPerRow);
        for (int r = 0; r < payloadRows; ++r) {
            for (int k = 0; k < wordsPerRow; ++k) {
                const int row = y1 + step * r;
                const int column = x1 + fw * k;
                planWords[r * wordsPerRow + k] = {row * sensorColumns + column, false, r % 2 == 0};
            }
        }
    }
    if (!state.hdr) {
        for (Word& word : planWords)
            word.secondIntegration = false;
    }
}

int ReadoutPlan::footprintWidth() const
{
    return planFootprint == Footprint::HorizontalPair || planFootprint == Footprint::Block2x2 ? 2 : 1;
}

int ReadoutPlan::footprintHeight() const
{
    return planFootprint == Footprint::VerticalPair || planFootprint == Footprint::Block2x2 ? 2 : 1;
}

int ReadoutPlan::cellsOf(int i, int* cells) const
{
    const Word& word = planWords.at(i);
    const int dx = word.upper ? -1 : 1;
    const int dy = word.upper ? -sensorColumns : sensorColumns;
    int count = 0;
    cells[count++] = word.cell;
    if (footprintWidth() == 2)
        cells[count++] = word.cell + dx;
    if (footprintHeight() == 2) {
        cells[count++] = word.cell + dy;
        if (footprintWidth() == 2)
            cells[count++] = word.cell + dx + dy;
    }
    return count;
}

void ReadoutPlan::place(const quint16* values, qint32* field) const
{
    std::fill(field, field + sensorColumns * sensorRows, -1);
    const int half = planWords.size() / 2;
    int cells[4];
    // Upper and lower halves never share a cell, so placing each half from the centre
    // outward gives the same result as the interleaved order of the readout.
    auto placeWord = [&](int i) {
        const int count = cellsOf(i, cells);
        for (int c = 0; c < count; ++c) {
            if (cells[c] >= 0 && cells[c] < sensorColumns * sensorRows)
                field[cells[c]] = values[i];
        }
    };
    if (!planWords.isEmpty() && planWords.first().upper) {
        for (int i = half - 1; i >= 0; --i)
            placeWord(i);
        for (int i = half; i < planWords.size(); ++i)
            placeWord(i);
    } else {
        for (int i = 0; i < planWords.size(); ++i)
            placeWord(i);
    }
}
