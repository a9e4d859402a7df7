#include "convert/lib/movielocator.h"

#include <zlib.h>

#include <cstring>

namespace {

constexpr size_t kMovieHeaderBytes = 8;
// "ZWS", version, length, compressed length, then 5 bytes of LZMA settings.
constexpr size_t kLzmaHeaderBytes = 17;
// The largest LZMA settings byte: (4 * 5 + 4) * 9 + 8.
constexpr uint8_t kHighestLzmaProperties = 224;
constexpr uint8_t kEightFF[4] = {0xFF, 0xFF, 0xFF, 0xFF};

uint32_t Read32(const uint8_t *at) { return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24; }

uint64_t Read64(const uint8_t *at) { return uint64_t(Read32(at)) | uint64_t(Read32(at + 4)) << 32; }

uint16_t Read16(const uint8_t *at) { return uint16_t(at[0] | at[1] << 8); }

bool HasSignatureAt(const uint8_t *bytes, size_t size, size_t at)
{
    if (size < at + 3 || bytes[at + 1] != 'W' || bytes[at + 2] != 'S')
        return false;
    return bytes[at] == 'F' || bytes[at] == 'C' || bytes[at] == 'Z';
}

// Walks the tags of an uncompressed movie of `length` bytes; true when the
// end tag is reached inside it.
bool TagsEndInside(const uint8_t *movie, size_t length)
{
    const size_t rectBits = 5 + 4 * size_t(movie[kMovieHeaderBytes] >> 3);
    size_t at = kMovieHeaderBytes + (rectBits + 7) / 8 + 4;  // rectangle, rate, count
    while (at + 2 <= length) {
        const uint16_t codeAndLength = Read16(movie + at);
        at += 2;
        size_t tagLength = codeAndLength & 0x3F;
        if (tagLength == 0x3F) {
            if (at + 4 > length)
                return false;
            tagLength = Read32(movie + at);
            at += 4;
        }
        if (tagLength > length - at)
            return false;
        at += tagLength;
        if ((codeAndLength >> 6) == 0)
            return true;
    }
    return false;
}

std::optional<size_t> PlainMovieLength(const uint8_t *bytes, size_t size)
{
    const size_t recorded = Read32(bytes + 4);
    if (recorded <= kMovieHeaderBytes + 1 || recorded > size || !TagsEndInside(bytes, recorded))
        return std::nullopt;
    return recorded;
}

// The zlib body must inflate to exactly the recorded length and end there;
// the movie is the header and the compressed bytes the stream used.
std::optional<size_t> ZlibMovieLength(const uint8_t *bytes, size_t size)
{
    const uint64_t expectedBody = Read32(bytes + 4) > kMovieHeaderBytes ? Read32(bytes + 4) - kMovieHeaderBytes : 0;
    z_stream stream{};
    if (expectedBody == 0 || inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef *>(bytes + kMovieHeaderBytes);
    const size_t available = size - kMovieHeaderBytes;
    stream.avail_in = uInt(available > UINT32_MAX ? UINT32_MAX : available);
    Bytef scratch[1 << 14];
    int status = Z_OK;
    while (status == Z_OK && stream.total_out <= expectedBody) {
        stream.next_out = scratch;
        stream.avail_out = sizeof scratch;
        status = inflate(&stream, Z_NO_FLUSH);
    }
    const bool complete = status == Z_STREAM_END && stream.total_out == expectedBody;
    const size_t used = stream.total_in;
    inflateEnd(&stream);
    if (!complete)
        return std::nullopt;
    return kMovieHeaderBytes + used;
}

std::optional<size_t> LzmaMovieLength(const uint8_t *bytes, size_t size)
{
    if (size < kLzmaHeaderBytes || bytes[12] > kHighestLzmaProperties)
        return std::nullopt;
    const size_t compressed = Read32(bytes + 8);
    if (compressed == 0 || compressed > size - kLzmaHeaderBytes)
        return std::nullopt;
    return kLzmaHeaderBytes + compressed;
}

}  // namespace

bool StartsLikeMovie(const uint8_t *bytes, size_t size)
{
    return size >= kMovieHeaderBytes && HasSignatureAt(bytes, size, 0) && bytes[3] >= 1 &&
           bytes[3] <= kHighestSaneVersion;
}

std::optional<size_t> CompleteMovieLength(const uint8_t *bytes, size_t size)
{
    // The smallest movie: header, a one-byte rectangle, rate, count, end tag.
    if (size < kMovieHeaderBytes + 7 || !StartsLikeMovie(bytes, size))
        return std::nullopt;
    switch (bytes[0]) {
    case 'F': return PlainMovieLength(bytes, size);
    case 'C': return ZlibMovieLength(bytes, size);
    default: return LzmaMovieLength(bytes, size);
    }
}

std::optional<MovieSpan> FindMovieBeforeTrailer(const uint8_t *bytes, size_t size)
{
    if (size < kProjectorTrailerBytes)
        return std::nullopt;
    const uint8_t *trailer = bytes + size - kProjectorTrailerBytes;
    if (std::memcmp(trailer, kProjectorMagic, 4) != 0)
        return std::nullopt;
    const size_t length = Read32(trailer + 4);
    if (length > size - kProjectorTrailerBytes)
        return std::nullopt;
    const size_t offset = size - kProjectorTrailerBytes - length;
    if (!StartsLikeMovie(bytes + offset, length))
        return std::nullopt;
    return MovieSpan{offset, length};
}

std::optional<MovieSpan> FindMovieAfterLinuxMagic(const uint8_t *bytes, size_t size)
{
    for (size_t at = 4; at + 4 <= size; ++at) {
        if (std::memcmp(bytes + at, kProjectorMagic, 4) != 0)
            continue;
        const bool wide = at >= 8 && at + 8 <= size && std::memcmp(bytes + at + 4, kEightFF, 4) == 0;
        if (wide && Read64(bytes + at - 8) == size - at - 8 && StartsLikeMovie(bytes + at + 8, size - at - 8))
            return MovieSpan{at + 8, size - at - 8};
        if (Read32(bytes + at - 4) == size - at - 4 && StartsLikeMovie(bytes + at + 4, size - at - 4))
            return MovieSpan{at + 4, size - at - 4};
    }
    return std::nullopt;
}

std::optional<MovieSpan> ScanForMovie(const uint8_t *bytes, size_t size)
{
    std::optional<MovieSpan> largest;
    size_t at = 0;
    while (at + kMovieHeaderBytes <= size) {
        const std::optional<size_t> length =
            HasSignatureAt(bytes, size, at) ? CompleteMovieLength(bytes + at, size - at) : std::nullopt;
        if (!length) {
            ++at;
            continue;
        }
        if (!largest || *length > largest->length)
            largest = MovieSpan{at, *length};
        at += *length;
    }
    return largest;
}

std::optional<MovieSpan> FindProjectorMovie(const uint8_t *bytes, size_t size)
{
    if (std::optional<MovieSpan> movie = FindMovieBeforeTrailer(bytes, size))
        return movie;
    if (std::optional<MovieSpan> movie = FindMovieAfterLinuxMagic(bytes, size))
        return movie;
    return ScanForMovie(bytes, size);
}

std::optional<MovieSpan> FindScreenSaverMovie(const uint8_t *bytes, size_t size)
{
    if (size < 4)
        return std::nullopt;
    const size_t length = Read32(bytes + size - 4);
    if (length > size - 4)
        return std::nullopt;
    return MovieSpan{size - 4 - length, length};
}
