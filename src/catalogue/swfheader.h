#pragma once
// The fixed opening of an SWF file: signature, version, recorded length,
// frame rectangle, frame rate and frame count. Every fact the program shows
// about a movie comes from here; no tags are read.
//
// ReadSwfHeader fills a caller-owned record in place and never clears it
// first, so callers start from an all-zero record (the default) and show
// whatever it holds afterwards. It is reentrant: the thumbnail worker calls
// it on its own thread while the interface thread reads other headers.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

// Raised when a file exists but cannot be opened or read, or when its
// compressed body is not a valid stream. The text names the file.
class ESwfHeaderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first 8 members mirror the file's first 8 bytes. Rectangle fields are
// twips read as unsigned numbers; the frame count is zero-extended.
struct TSwfHeader {
    char Signature[3] = {0, 0, 0};
    uint8_t Version = 0;
    uint32_t FileLength = 0;
    uint32_t XMin = 0;
    uint32_t XMax = 0;
    uint32_t YMin = 0;
    uint32_t YMax = 0;
    uint8_t FrameRate = 0;      // integer part
    uint8_t FrameRateFrac = 0;  // fractional part in 1/256
    uint32_t FrameCount = 0;
};

// Width and height in pixels as every window shows them (XMin and YMin are
// deliberately ignored).
inline uint32_t HeaderWidth(const TSwfHeader &h) { return h.XMax / 20; }
inline uint32_t HeaderHeight(const TSwfHeader &h) { return h.YMax / 20; }

// True when the signature is "FWS", "CWS" (version 6 or later) or "ZWS"
// (version 13 or later) and the rectangle, rate and count were decoded.
// A missing file, anything but a regular file (a folder, a pipe, a device)
// or a file of 22 bytes or less gives false and
// leaves the record untouched; any other unrecognised file still has its
// first 8 bytes copied. Body bytes beyond the end of the data read as zero.
// Throws ESwfHeaderError as described above.
bool ReadSwfHeader(const QString &path, TSwfHeader &header);

// Reads `count & 0x7F` bits starting at bit `start` (bit 0 is the most
// significant bit of buffer[0]) as an unsigned number, first bit highest.
// Bits outside the `size` bytes of the buffer read as zero.
uint32_t ReadBits(const uint8_t *buffer, size_t size, int32_t start, uint8_t count);
