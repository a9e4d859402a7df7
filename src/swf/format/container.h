#pragma once
// The outer layer of a SWF file: the 8-byte file header and the body after
// it, stored plain ("FWS"), zlib-compressed ("CWS") or LZMA-compressed
// ("ZWS"). Decoding turns any of them into the plain body bytes that the
// tag walker reads.
//
// Memory: the body never grows past MemoryBudget::kBodyLimit (64 MiB),
// whatever the header claims, and every byte of it is booked in the movie's
// MemoryBudget (256 MiB by default) before it is allocated. Inflating stops
// at that limit, so a lying length or a compression bomb yields the first
// 64 MiB of body and no more; a stream that ends early (truncated or corrupt
// file) keeps what was decoded up to that point. The container owns its
// body; it is a value that loading hands on and then drops. Any thread.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "swf/format/memorybudget.h"

namespace swf {

class Container {
public:
    enum class Compression { None, Zlib, Lzma };

    // Reads the file header and decodes the body. Returns false, with a
    // one-line reason in *error, only when the bytes are not a SWF file at
    // all (too short for the header, unknown signature). A damaged body is
    // not an error: what decoded is kept and isTruncated() says so.
    bool decode(const QByteArray &file, MemoryBudget &budget, QString *error = nullptr);

    Compression compression() const { return compression_; }
    char signature(int index) const { return signature_[index]; }
    uint8_t version() const { return version_; }
    uint32_t recordedLength() const { return recordedLength_; }
    // The bytes after the 8-byte file header.
    const QByteArray &body() const { return body_; }
    // The stream ended early, failed, or the body was cut at the budget.
    bool isTruncated() const { return truncated_; }

private:
    void takePlain(const QByteArray &file, MemoryBudget &budget);
    void inflateZlib(const uint8_t *data, size_t size, MemoryBudget &budget);
    void decodeLzma(const uint8_t *data, size_t size, MemoryBudget &budget);
    // Makes room for at least one more chunk of output, booking it first.
    // False when the body limit or the budget is reached.
    bool growBody(size_t &used, MemoryBudget &budget);
    void finishBody(size_t used, MemoryBudget &budget);

    Compression compression_ = Compression::None;
    char signature_[3] = {0, 0, 0};
    uint8_t version_ = 0;
    uint32_t recordedLength_ = 0;
    QByteArray body_;
    size_t booked_ = 0;
    bool truncated_ = false;
};

}  // namespace swf
