#include "swf/format/container.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace swf {

namespace {

constexpr size_t kFileHeaderSize = 8;
constexpr size_t kMinChunk = size_t(256) << 10;
// A ZWS file: the 8-byte header, the 4-byte compressed length, 5 bytes of
// LZMA properties, then the raw LZMA stream.
constexpr size_t kLzmaPropertiesOffset = 12;
constexpr size_t kLzmaPropertiesSize = 5;
constexpr size_t kLzmaDataOffset = kLzmaPropertiesOffset + kLzmaPropertiesSize;
// The LZMA dictionary lives only while decoding; a stream asking for more
// than this is refused rather than allowed to claim any amount of memory.
constexpr uint64_t kLzmaDecoderMemory = uint64_t(96) << 20;

}  // namespace

bool Container::decode(const QByteArray &file, MemoryBudget &budget, QString *error)
{
    auto fail = [error](const char *reason) {
        if (error)
            *error = QString::fromLatin1(reason);
        return false;
    };
    if (size_t(file.size()) < kFileHeaderSize)
        return fail("file too short for a SWF header");
    const auto *bytes = reinterpret_cast<const uint8_t *>(file.constData());
    std::memcpy(signature_, bytes, 3);
    version_ = bytes[3];
    recordedLength_ = uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8 | uint32_t(bytes[6]) << 16
                      | uint32_t(bytes[7]) << 24;
    if (signature_[1] != 'W' || signature_[2] != 'S')
        return fail("not a SWF file (unknown signature)");

    const size_t size = size_t(file.size());
    switch (signature_[0]) {
    case 'F':
        compression_ = Compression::None;
        takePlain(file, budget);
        break;
    case 'C':
        compression_ = Compression::Zlib;
        inflateZlib(bytes + kFileHeaderSize, size - kFileHeaderSize, budget);
        break;
    case 'Z':
        compression_ = Compression::Lzma;
        decodeLzma(bytes, size, budget);
        break;
    default:
        return fail("not a SWF file (unknown signature)");
    }
    return true;
}

void Container::takePlain(const QByteArray &file, MemoryBudget &budget)
{
    size_t length = std::min(size_t(file.size()) - kFileHeaderSize, MemoryBudget::kBodyLimit);
    if (!budget.reserve(length)) {
        length = 0;
        truncated_ = true;
    }
    if (length < size_t(file.size()) - kFileHeaderSize)
        truncated_ = true;
    booked_ = length;
    body_ = file.mid(int(kFileHeaderSize), int(length));
}

bool Container::growBody(size_t &used, MemoryBudget &budget)
{
    const size_t capacity = size_t(body_.size());
    if (used < capacity)
        return true;
    if (capacity >= MemoryBudget::kBodyLimit)
        return false;
    const size_t step = std::min(std::max(kMinChunk, capacity), MemoryBudget::kBodyLimit - capacity);
    if (!budget.reserve(step))
        return false;
    booked_ += step;
    body_.resize(qsizetype(capacity + step));
    return true;
}

void Container::finishBody(size_t used, MemoryBudget &budget)
{
    budget.release(booked_ - used);
    booked_ = used;
    body_.truncate(qsizetype(used));
    body_.squeeze();
}

void Container::inflateZlib(const uint8_t *data, size_t size, MemoryBudget &budget)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        truncated_ = true;
        return;
    }
    size_t used = 0;
    size_t consumed = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (!growBody(used, budget)) {
            truncated_ = true;
            break;
        }
        const size_t inChunk = std::min<size_t>(size - consumed, UINT_MAX);
        const size_t outChunk = std::min<size_t>(size_t(body_.size()) - used, UINT_MAX);
        stream.next_in = const_cast<Bytef *>(data + consumed);
        stream.avail_in = uInt(inChunk);
        stream.next_out = reinterpret_cast<Bytef *>(body_.data()) + used;
        stream.avail_out = uInt(outChunk);
        status = inflate(&stream, Z_NO_FLUSH);
        consumed += inChunk - stream.avail_in;
        used += outChunk - stream.avail_out;
        if (status == Z_BUF_ERROR && stream.avail_out == 0)
            status = Z_OK;  // only the output was full: grow and go on
    }
    if (status != Z_STREAM_END)
        truncated_ = true;
    inflateEnd(&stream);
    finishBody(used, budget);
}

void Container::decodeLzma(const uint8_t *data, size_t size, MemoryBudget &budget)
{
    if (size < kLzmaDataOffset) {
        truncated_ = true;
        return;
    }
    // liblzma's "alone" format is the 5 property bytes followed by an 8-byte
    // uncompressed size; all ones means unknown, so the decoder runs until
    // the end marker or the end of the data, never trusting a recorded size.
    uint8_t aloneHeader[kLzmaPropertiesSize + 8];
    std::memcpy(aloneHeader, data + kLzmaPropertiesOffset, kLzmaPropertiesSize);
    std::memset(aloneHeader + kLzmaPropertiesSize, 0xff, 8);

    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, kLzmaDecoderMemory) != LZMA_OK) {
        truncated_ = true;
        return;
    }
    size_t used = 0;
    lzma_ret status = LZMA_OK;
    auto run = [&](const uint8_t *in, size_t inSize, lzma_action action) {
        stream.next_in = in;
        stream.avail_in = inSize;
        while (status == LZMA_OK && (stream.avail_in > 0 || action == LZMA_FINISH)) {
            if (!growBody(used, budget)) {
                status = LZMA_MEMLIMIT_ERROR;
                break;
            }
            const size_t outChunk = size_t(body_.size()) - used;
            stream.next_out = reinterpret_cast<uint8_t *>(body_.data()) + used;
            stream.avail_out = outChunk;
            status = lzma_code(&stream, action);
            used += outChunk - stream.avail_out;
            if (action == LZMA_FINISH && status == LZMA_OK && stream.avail_out > 0)
                break;  // the decoder wants input we do not have
        }
    };
    run(aloneHeader, sizeof aloneHeader, LZMA_RUN);
    run(data + kLzmaDataOffset, size - kLzmaDataOffset, LZMA_RUN);
    run(nullptr, 0, LZMA_FINISH);
    if (status != LZMA_STREAM_END)
        truncated_ = true;
    lzma_end(&stream);
    finishBody(used, budget);
}

}  // namespace swf
