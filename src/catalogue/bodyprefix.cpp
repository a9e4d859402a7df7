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

// Feeds the file from `offset` to `codec` in small chunks until `outSize`
// bytes have come out, the stream has ended, or the file has.
template <class Codec>
void DecodeChunks(const TSwfFile &file, uint64_t offset, Codec &codec, uint8_t *out, size_t outSize)
{
    uint8_t chunk[kChunkSize];
    codec.setOutput(out, outSize);
    while (codec.outputLeft() > 0) {
        const size_t got = file.readAt(offset, chunk, kChunkSize);
        if (got == 0)
            return;
        offset += got;
        codec.setInput(chunk, got);
        while (codec.inputLeft() > 0 && codec.outputLeft() > 0) {
            if (codec.step())
                return;
        }
    }
}

// The input and output windows of a zlib or LZMA stream, which name their
// fields alike.
template <class Stream>
class TStreamBuffers {
public:
    void setOutput(uint8_t *out, size_t size)
    {
        stream_.next_out = out;
        stream_.avail_out = static_cast<decltype(stream_.avail_out)>(size);
    }
    void setInput(uint8_t *in, size_t size)
    {
        stream_.next_in = in;
        stream_.avail_in = static_cast<decltype(stream_.avail_in)>(size);
    }
    size_t outputLeft() const { return stream_.avail_out; }
    size_t inputLeft() const { return stream_.avail_in; }

protected:
    Stream stream_{};  // all zero, as both libraries want a fresh stream
};

class TZlibStream : public TStreamBuffers<z_stream> {
public:
    explicit TZlibStream(const TSwfFile &file) : file_(file)
    {
        if (inflateInit(&stream_) != Z_OK)
            RaiseBrokenBody(file_, "out of memory");
    }
    ~TZlibStream() { inflateEnd(&stream_); }
    TZlibStream(const TZlibStream &) = delete;
    TZlibStream &operator=(const TZlibStream &) = delete;

    // True at the end of the stream.
    bool step()
    {
        const int status = inflate(&stream_, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            RaiseBrokenBody(file_, stream_.msg ? stream_.msg : "invalid zlib stream");
        return status == Z_STREAM_END;
    }

private:
    const TSwfFile &file_;
};

class TLzmaStream : public TStreamBuffers<lzma_stream> {
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

    // True at the end of the stream.
    bool step()
    {
        const lzma_ret status = lzma_code(&stream_, LZMA_RUN);
        if (status != LZMA_OK && status != LZMA_STREAM_END)
            RaiseBrokenBody(file_, "invalid LZMA stream");
        return status == LZMA_STREAM_END;
    }

private:
    const TSwfFile &file_;
};

}  // namespace

void InflateZlibPrefix(const TSwfFile &file, uint64_t offset, uint8_t *out, size_t outSize)
{
    TZlibStream codec(file);
    DecodeChunks(file, offset, codec, out, outSize);
}

void DecodeLzmaPrefix(const TSwfFile &file, uint8_t *out, size_t outSize)
{
    uint8_t properties[kLzmaPropertiesSize] = {};
    file.readAt(kLzmaPropertiesOffset, properties, kLzmaPropertiesSize);
    TLzmaStream codec(file, properties);
    DecodeChunks(file, kLzmaDataOffset, codec, out, outSize);
}
