#include "catalogue/swfheader.h"

#include <array>
#include <cstring>

#include "catalogue/bodyprefix.h"
#include "catalogue/swffile.h"

namespace {

// The rectangle (at most 5 + 4 * 31 bits), rate and count always end
// within the first 21 body bytes.
constexpr size_t kBodySize = 25;
constexpr uint64_t kBodyOffset = 8;
// Anything shorter cannot hold a header worth reading.
constexpr uint64_t kShortestMovie = 23;

using TBody = std::array<uint8_t, kBodySize>;

bool SignatureIs(const TSwfHeader &h, const char *signature) { return std::memcmp(h.Signature, signature, 3) == 0; }

uint32_t LittleEndian32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

void CopyOpening(const uint8_t *opening, TSwfHeader &header)
{
    std::memcpy(header.Signature, opening, 3);
    header.Version = opening[3];
    header.FileLength = LittleEndian32(opening + 4);
}

void DecodeBody(const TBody &body, TSwfHeader &header)
{
    const uint8_t bits = static_cast<uint8_t>(ReadBits(body.data(), body.size(), 0, 5));
    header.XMin = ReadBits(body.data(), body.size(), 5, bits);
    header.XMax = ReadBits(body.data(), body.size(), 5 + bits, bits);
    header.YMin = ReadBits(body.data(), body.size(), 5 + 2 * bits, bits);
    header.YMax = ReadBits(body.data(), body.size(), 5 + 3 * bits, bits);
    const size_t p = (5 + 4 * bits) / 8 + 1;
    header.FrameRateFrac = body[p];
    header.FrameRate = body[p + 1];
    header.FrameCount = body[p + 2] + 256u * body[p + 3];
}

// Fills the body buffer as the signature asks; true when it is one the
// reader understands.
bool ReadBody(const TSwfFile &file, const TSwfHeader &header, TBody &body)
{
    if (SignatureIs(header, "CWS") && header.Version >= 6) {
        InflateZlibPrefix(file, kBodyOffset, body.data(), body.size());
        return true;
    }
    if (SignatureIs(header, "ZWS") && header.Version >= 13) {
        DecodeLzmaPrefix(file, body.data(), body.size());
        return true;
    }
    file.readAt(kBodyOffset, body.data(), body.size());
    return SignatureIs(header, "FWS");
}

}  // namespace

bool ReadSwfHeader(const QString &path, TSwfHeader &header)
{
    if (!TSwfFile::isRegularFile(path))
        return false;
    const TSwfFile file(path);
    if (file.size() < kShortestMovie)
        return false;
    uint8_t opening[kBodyOffset] = {};
    file.readAt(0, opening, sizeof opening);
    CopyOpening(opening, header);
    TBody body{};
    const bool recognised = ReadBody(file, header, body);
    if (recognised)
        DecodeBody(body, header);
    return recognised;
}

uint32_t ReadBits(const uint8_t *buffer, size_t size, int32_t start, uint8_t count)
{
    const int bits = count & 0x7F;
    uint32_t result = 0;
    for (int k = 0; k < bits; ++k) {
        const int64_t position = int64_t(start) + k;
        uint32_t bit = 0;
        if (position >= 0 && uint64_t(position / 8) < size)
            bit = (buffer[position / 8] >> (7 - position % 8)) & 1u;
        result = result << 1 | bit;
    }
    return result;
}
