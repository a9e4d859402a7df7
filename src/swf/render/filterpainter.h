#pragma once
// Draws a filter on the off-screen picture of the filtered object, at render
// time.

#include <QImage>
#include <cstdint>

#include "swf/timeline/filter.h"

namespace swf {

// Applies `filter` to `picture` (premultiplied ARGB); `scale` is device
// pixels per stage pixel.
void ApplyFilter(const Filter &filter, QImage &picture, double scale);

// What ApplyFilter costs on a picture of `size`, in passes of a running sum
// over one byte per pixel (the blur's inner step), so that a frame can
// bound what its filters spend.
int64_t FilterWork(const Filter &filter, const QSize &size);

}  // namespace swf
