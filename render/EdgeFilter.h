#pragma once

#include "frames/DataPixelfield.h"

class Settings;

// The second image post-processor, shared by the distance view and the point cloud: the edge
// step, which blanks the pixels inside runs of steep distance steps (the mixed pixels along
// object borders) by setting them to the distanceMin number.
//
// Three sensor-sized fields, made with the settings at construction, are its working storage:
// the step sizes of the vertical pass go into the second, those of the horizontal pass into
// the first; the third is spare.
class EdgeFilter final
{
public:
    explicit EdgeFilter(Settings* settings);
    ~EdgeFilter();

    EdgeFilter(const EdgeFilter&) = delete;
    EdgeFilter& operator=(const EdgeFilter&) = delete;

    // When edgeDetection is set: a vertical pass down each ROI column, then a horizontal
    // pass along each ROI row, over the steps between neighbours. A run counter, reset only
    // by a step at or below the threshold, runs on across the ends of columns and rows; from
    // the second consecutive large step on, the pixel before the step takes the marker
    // value. The last ROI column and row are only read. The amplitudes are not used.
    void detectEdges(DataPixelfield& distance, const DataPixelfield& amplitude);

    // The step threshold in LSB: the second edgeDetectionThreshold value scaled from the
    // first modulation frequency to the current one. Unscaled when either frequency is not a
    // positive number.
    int threshold() const;

    const DataPixelfield& horizontalSteps() const { return m_first; }
    const DataPixelfield& verticalSteps() const { return m_second; }

private:
    Settings* m_settings;
    DataPixelfield m_first;
    DataPixelfield m_second;
    DataPixelfield m_third;
};
