#pragma once
// Decoding the pixel data of DefineBitsLossless and DefineBitsLossless2
// into premultiplied ARGB pictures. Pure functions; any thread.

#include <QImage>
#include <cstddef>
#include <cstdint>

#include "swf/format/memorybudget.h"

namespace swf {

struct LosslessHeader {
    uint8_t format = 0;      // 3: colour-mapped, 4: 15-bit RGB, 5: 32-bit
    uint16_t width = 0;
    uint16_t height = 0;
    int colorCount = 0;      // format 3 only: entries in the colour table
    bool withAlpha = false;  // DefineBitsLossless2: RGBA table, premultiplied ARGB pixels
};

// Inflates and decodes `zlibData`. The picture's bytes are booked in
// `budget` first: a picture that does not fit gives a null image without
// anything being allocated (the booking stays with the returned image).
// A stream that ends early leaves the missing pixels transparent; one that
// gives nothing at all, or an unknown format, gives a null image.
QImage DecodeLosslessBitmap(const LosslessHeader &header, const uint8_t *zlibData, size_t size,
                            MemoryBudget &budget);

// The number of bytes the inflated data of such a bitmap holds (0 for an
// unknown format).
size_t LosslessDataSize(const LosslessHeader &header);

}  // namespace swf
