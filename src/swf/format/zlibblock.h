#pragma once
// Inflating the zlib blocks inside definition tags (lossless bitmaps, alpha
// planes). The caller knows how many bytes the block should give and has
// booked them; inflating never writes more than that, so a lying or
// malicious stream cannot make the engine hold more than was booked.

#include <cstddef>
#include <cstdint>

namespace swf {

// Inflates the zlib stream `src` into `dst` (at most `dstSize` bytes) and
// returns how many bytes were produced. A corrupt or truncated stream
// stops early: the bytes before the fault are kept.
size_t InflateZlibBlock(const uint8_t *src, size_t srcSize, uint8_t *dst, size_t dstSize);

}  // namespace swf
