#pragma once

#include <memory>
#include <vector>

class MedianRankPass;

// Exact s x s median filter pass over a sensor-sized pixel field stored column by column
// (value of column c, row r at field[c * rows + r]). Gives the same values as sorting every
// window and taking its middle entry: sorting networks shared between neighbouring windows
// for 3 x 3 and 5 x 5, a median over the values' ranks for the larger sizes (MedianRankPass),
// and a sorted sliding window when the values read span more than that pass ranks.
//
// A pass reads only the field as it was before the pass. Only ROI pixels at least size / 2
// away from every sensor edge change; their windows may reach outside the ROI. Every other
// pixel keeps its value. Status codes and no-data (-1) entries take part as plain numbers.
//
// The kernel keeps its working storage between calls, so passes after the first on the same
// sensor size allocate nothing.
class MedianKernel final
{
public:
    static constexpr int kMinSize = 3;
    // The largest window the view panel offers; a configuration file holds no larger one.
    static constexpr int kMaxSize = 31;

    // A size from a configuration file made usable: 2 or less becomes 3, an even size the
    // next odd one, anything above the maximum the maximum.
    static int boundedSize(int size);

    // One pass with the bounded size over the inclusive ROI x1 ... x2, y1 ... y2 (clamped to
    // the field). Does nothing when the field or the ROI is empty or the sensor is smaller
    // than the window.
    void apply(int* field, int columns, int rows, int x1, int x2, int y1, int y2, int size);

    MedianKernel();
    ~MedianKernel();
    MedianKernel(const MedianKernel&) = delete;
    MedianKernel& operator=(const MedianKernel&) = delete;

private:
    std::vector<int> m_scratch;
    std::vector<int> m_window;
    std::unique_ptr<MedianRankPass> m_rankPass;
    std::vector<int> m_output;
};
