#include "catalogue/bodyprefix.h"

#include <algorithm>
#include <cstdlib>
#include <lzma.h>
#include <zlib.h>

#include "catalogue/swffile.h"
#include "catalogue/swfheader.h"

namespace {

// Small reads keep the cost independent of the movie's size; a header of
// 25 bytes rarely needs more than the first chunk.
constexpr size_t kChunkSize = 512;
constexpr uint64_t kLzmaPropertiesOffset = 12;
constexpr size_t kLzmaPropertiesSize = 5;
constexpr uint64_t kLzmaDataOffset = kLzmaPropertiesOffset + kLzmaPropertiesSize;
// Only the first few output bytes are ever wanted, so matches reach back a
// few bytes at most; a small window spares allocating the dictionary size a
// (possibly hostile) header asks for.
constexpr uint32_t kLzmaWindow = 64 * 1024;

[[noreturn]] void RaiseBrokenBody(const TSwfFile &file, const char *reason)
{
    throw ESwfHeaderError(QStringLiteral("Broken compressed body in \"%1\": %2")
                              .arg(file.path(), QString::fromLatin1(reason))
                              .toStdString());
}

// Reads the next chunk of compressed input; false at the end of the file.
bool NextChunk(const TSwfFile &file, uint64_t &offset, uint8_t *chunk, size_t &got)
{
    got = file.readAt(offset, chunk, kChunkSize);
    offset += got;
    return got > 0;
}

class TZlibStream {
public:
    explicit TZlibStream(const TSwfFile &file) : file_(file)
    {
        if (inflateInit(&stream_) != Z_OK)
            RaiseBrokenBody(file_, "out of memory");
    }
    ~TZlibStream() { inflateEnd(&stream_); }
    TZlibStream(const TZlibStream &) = delete;
    TZlibStream &operator=(const TZlibStream &) = delete;

    void decode(uint64_t offset, uint8_t *out, size_t outSize)
    {
        uint8_t chunk[kChunkSize];
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(outSize);
        while (stream_.avail_out > 0) {
            size_t got = 0;
            if (!NextChunk(file_, offset, chunk, got))
                return;
            stream_.next_in = chunk;
            stream_.avail_in = static_cast<uInt>(got);
            while (stream_.avail_in > 0 && stream_.avail_out > 0) {
                const int status = inflate(&stream_, Z_NO_FLUSH);
                if (status == Z_STREAM_END)
                    return;
                if (status != Z_OK)
                    RaiseBrokenBody(file_, stream_.msg ? stream_.msg : "invalid zlib stream");
            }
        }
    }

private:
    const TSwfFile &file_;
    z_stream stream_{};
};

class TLzmaStream {
public:
    TLzmaStream(const TSwfFile &file, const uint8_t *properties) : file_(file)
    {
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_properties_decode(&filters[0], nullptr, properties, kLzmaPropertiesSize) != LZMA_OK)
            RaiseBrokenBody(file_, "invalid LZMA properties");
        auto *options = static_cast<lzma_options_lzma *>(filters[0].options);
        options->dict_size = std::clamp<uint32_t>(options->dict_size, LZMA_DICT_SIZE_MIN, kLzmaWindow);
        const lzma_ret status = lzma_raw_decoder(&stream_, filters);
        std::free(options);
        if (status != LZMA_OK)
            RaiseBrokenBody(file_, "cannot start the LZMA decoder");
    }
    ~TLzmaStream() { lzma_end(&stream_); }
    TLzmaStream(const TLzmaStream &) = delete;
    TLzmaStream &operator=(const TLzmaStream &) = delete;

    void decode(uint64_t offset, uint8_t *out, size_t outSize)
    {
        uint8_t chunk[kChunkSize];
        stream_.next_out = out;
        stream_.avail_out = outSize;
        while (stream_.avail_out > 0) {
            size_t got = 0;
            if (!NextChunk(file_, offset, chunk, got))
                return;
            stream_.next_in = chunk;
            stream_.avail_in = got;
            while (stream_.avail_in > 0 && stream_.avail_out > 0) {
                const lzma_ret status = lzma_code(&stream_, LZMA_RUN);
                if (status == LZMA_STREAM_END)
                    return;
                if (status != LZMA_OK)
                    RaiseBrokenBody(file_, "invalid LZMA stream");
            }
        }
    }

private:
    const TSwfFile &file_;
    lzma_stream stream_ = LZMA_STREAM_INIT;
};

}  // namespace

void InflateZlibPrefix(const TSwfFile &file, uint64_t offset, uint8_t *out, size_t outSize)
{
    TZlibStream(file).decode(offset, out, outSize);
}

void DecodeLzmaPrefix(const TSwfFile &file, uint8_t *out, size_t outSize)
{
    uint8_t properties[kLzmaPropertiesSize] = {};
    file.readAt(kLzmaPropertiesOffset, properties, kLzmaPropertiesSize);
    TLzmaStream(file, properties).decode(kLzmaDataOffset, out, outSize);
}
