#pragma once

#include <QVector>

#include <functional>

class DataPixelfield;
class InfoPixelScope;

// The per-frame pixel-scope protocol of the single-picture views: the values of the scope's
// rectangle column by column, each column top to bottom; outside the moving window also the
// minimum and maximum over time and this frame's mean.
namespace ScopeFeed {
// `values` is the view's own buffer, reused from frame to frame; `convert` turns an entry of
// the field into the shown value (the entry itself without it). Positions the field does not
// reach show as no data.
void feed(InfoPixelScope& scope, const DataPixelfield& field, QVector<int>& values,
          const std::function<int(int)>& convert = {});
} // namespace ScopeFeed
