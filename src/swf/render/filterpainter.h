#pragma once
// Draws a filter on the off-screen picture of the filtered object, at render
// time.

#include <QImage>

#include "swf/timeline/filter.h"

namespace swf {

// Applies `filter` to `picture` (premultiplied ARGB); `scale` is device
// pixels per stage pixel.
void ApplyFilter(const Filter &filter, QImage &picture, double scale);

}  // namespace swf
