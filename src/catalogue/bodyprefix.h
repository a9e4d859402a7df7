#pragma once
// The first bytes of a compressed movie body, decoded without reading the
// whole file: the compressed stream is fed in small chunks only until the
// wanted number of bytes has come out (a 200 MB movie costs a few kilobytes).
// A stream that ends early leaves the rest of `out` as it was (zeros for the
// header reader). A stream that is not valid raises ESwfHeaderError.
// Reentrant; no shared state.

#include <cstddef>
#include <cstdint>

class TSwfFile;

// "CWS": a zlib stream (with its header) from `offset` to the end of file.
void InflateZlibPrefix(const TSwfFile &file, uint64_t offset, uint8_t *out, size_t outSize);

// "ZWS": bytes 12-16 hold the LZMA properties, the raw LZMA stream follows
// at 17 (bytes 8-11, the compressed length, are not needed).
void DecodeLzmaPrefix(const TSwfFile &file, uint8_t *out, size_t outSize);
