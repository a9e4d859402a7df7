#pragma once
// Bitmaps with a colour transform applied, for bitmap fills drawn through a
// colour transform. Recolouring a picture costs a pass over its pixels, so
// the last few results are kept, keyed by the picture and the transform.
// The cache is process-wide and bounded (entry count and bytes); any thread
// may call it (a mutex guards it), as characters are shared across players.

#include <QImage>

#include "swf/format/types.h"

namespace swf {

// `image` (premultiplied ARGB) with `cx` applied to every pixel, from the
// cache when recently made.
QImage CachedColorTransformedImage(const QImage &image, const ColorTransform &cx);

}  // namespace swf
