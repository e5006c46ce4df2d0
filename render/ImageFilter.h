#pragma once

#include "render/MedianKernel.h"

#include <vector>

class DataPixelfield;
class QColor;
class QImage;
class Settings;

// The first image post-processor, shared by every image view: bad-pixel replacement and
// marking, the median and 3 x 3 Gauss filters on distances, and the HDR row merge. All
// filters work in place on sensor-sized pixel fields ([column][row]) inside the current ROI,
// reading the settings at every call. The ROI is cut to the field, so a ROI from a file that
// reaches past the sensor cannot make a filter leave the field.
//
// The median and the Gauss filter each keep one working buffer that is allocated on the first
// call and reused, so filtering a frame allocates nothing.
class ImageFilter final
{
public:
    // Iteration counts come from configuration files; more passes than this add nothing
    // visible and would stall live video.
    static constexpr int kMaxIterations = 50;
    // Status codes start here; the Gauss filter leaves every window holding one unchanged.
    static constexpr int kFirstStatusCode = 65300;
    // Amplitude at which the HDR merge prefers the row below the limit.
    static constexpr int kHdrAmplitudeLimit = 2000;

    explicit ImageFilter(Settings* settings = nullptr);
    ~ImageFilter();

    ImageFilter(const ImageFilter&) = delete;
    ImageFilter& operator=(const ImageFilter&) = delete;

    void setSettings(Settings* settings) { m_settings = settings; }
    Settings* settings() const { return m_settings; }

    // Every listed bad pixel inside the ROI takes a neighbour's value: the left one, in the
    // ROI's first column the upper one, at the ROI's top left corner the right one. The list
    // is walked in order, so a bad pixel next to another copies what that one holds by then.
    void replaceBadPixels(DataPixelfield& field);
    // The same on a bare column-pointer array of `columns` x `rows` entries.
    void replaceBadPixels(int** field, int columns, int rows);
    // Sets every listed bad pixel that lies on the picture (sensor coordinates, not
    // mirrored) to `color`, inside or outside the ROI.
    void paintBadPixels(QImage& image, const QColor& color) const;
    // medianFilterIterations passes of the s x s median (s = medianFilterSize, made odd and
    // bounded), when medianFilter is set. Each pass reads the field as it was before the
    // pass; ROI pixels nearer than s / 2 to a sensor edge keep their value.
    void median(DataPixelfield& field);
    // `iterations` passes of the 3 x 3 Gauss filter over the ROI interior (the outermost ROI
    // rows and columns keep their values). A window holding a status code, or whose top left
    // value is not above the settings' distanceMin number, leaves its centre unchanged.
    void gauss3x3(DataPixelfield& field, bool enabled, int iterations);
    // When amplitudeHdr is set, each row pair (y, y + 1) of the ROI takes one of its rows, the
    // one whose `deciding` value wins (the larger below 2000, else the one at or below 2000,
    // else the larger), in `deciding` and, when given, in `following`.
    void mergeHdrRows(DataPixelfield& deciding, DataPixelfield* following = nullptr);
    void mergeHdrRows(int** deciding, int** following, int columns, int rows);
    // The same merge whatever amplitudeHdr says (the HDR view's combined image).
    void combineHdrRows(DataPixelfield& deciding, DataPixelfield* following = nullptr);

    // A count from the settings made usable: none when negative, at most kMaxIterations.
    static int boundedIterations(int iterations);

private:
    // The row-pair merge itself, on the ROI of a columns x rows field.
    void combineRows(int** deciding, int** following, int columns, int rows);
    Settings* m_settings;
    MedianKernel m_medianKernel;
    std::vector<int> m_gaussWork;
};
