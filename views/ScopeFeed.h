#pragma once

#include <QVector>

class DataPixelfield;
class InfoPixelScope;

// The per-frame pixel-scope protocol of the grayscale and amplitude views: the values of the
// scope's rectangle column by column, each column top to bottom; outside the moving window
// also the minimum and maximum over time and this frame's mean.
namespace ScopeFeed {
// `values` is the view's own buffer, reused from frame to frame.
void feed(InfoPixelScope& scope, const DataPixelfield& field, QVector<int>& values);
} // namespace ScopeFeed
