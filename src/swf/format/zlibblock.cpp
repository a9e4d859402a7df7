#include "swf/format/zlibblock.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace swf {

size_t InflateZlibBlock(const uint8_t *src, size_t srcSize, uint8_t *dst, size_t dstSize)
{
    if (!src || !dst || srcSize == 0 || dstSize == 0)
        return 0;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return 0;
    constexpr size_t kChunk = std::numeric_limits<uInt>::max();
    size_t inPos = 0;
    size_t outPos = 0;
    int status = Z_OK;
    while (status == Z_OK && outPos < dstSize) {
        if (stream.avail_in == 0) {
            if (inPos == srcSize)
                break;
            stream.next_in = const_cast<Bytef *>(src + inPos);
            stream.avail_in = static_cast<uInt>(std::min(kChunk, srcSize - inPos));
            inPos += stream.avail_in;
        }
        stream.next_out = dst + outPos;
        stream.avail_out = static_cast<uInt>(std::min(kChunk, dstSize - outPos));
        const uInt before = stream.avail_out;
        status = inflate(&stream, Z_NO_FLUSH);
        outPos += before - stream.avail_out;
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && inPos < srcSize)
            status = Z_OK;  // more input to feed
    }
    inflateEnd(&stream);
    return outPos;
}

}  // namespace swf
