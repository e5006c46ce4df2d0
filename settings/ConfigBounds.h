#pragma once

// Ranges a configuration file's values are brought into before they reach the settings hub.
// Only values other code relies on are bound: indices into fixed lists, the sizes and counts
// the filters loop over, the integration and FLIM timings the exchange time-outs are computed
// from, the averaging divisor and the window geometry; everything else keeps its value.
namespace ConfigBounds {

struct Range
{
    int min;
    int max;
};

// Every number: far beyond any setting, yet value + 1 and the time-out arithmetic stay
// inside a signed 32-bit integer.
constexpr Range number{-1000000000, 1000000000};

constexpr Range viewMode{0, 8}; // 9 (TOF HDR) only while HDR is on
constexpr Range viewModeWithHdr{0, 9};
constexpr Range rowReduction{0, 3}; // Full, Half, Quarter, One eighth
constexpr Range lfsr{0, 6};         // 14 down to 8 LFSR stages
constexpr Range polynomial{0, 4};
constexpr Range integrationTime2D{0, 5000000}; // microseconds
constexpr Range integrationTime3D{0, 4000};    // microseconds, also the HDR time
constexpr Range flimSteps{0, 1000000};
constexpr Range flimRepetitions{0, 65535};
constexpr Range movingAverage{1, 256};    // the camera divides by the weighting factor
constexpr Range filterIterations{0, 100}; // passes over the whole field, per frame
constexpr Range medianSize{3, 31};        // odd; the window is size x size pixels
constexpr Range fov{0, 180};              // degrees, a lens field of view
constexpr Range windowPosition{-16384, 16384};
constexpr Range windowSize{0, 8192};

} // namespace ConfigBounds
