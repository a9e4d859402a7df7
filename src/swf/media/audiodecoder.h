#pragma once
// One running FFmpeg audio decoder for one sound's data, converting what it
// decodes to the mixer's format (44.1 kHz stereo, 16 bits) as it goes.
// Packets go in in their order; a stream's blocks are fed to the same
// decoder one after the other, so codecs that carry state across blocks
// (MP3's bit reservoir) keep it. Data the decoder refuses is skipped; the
// rest still decodes. One thread at a time.

#include <cstddef>
#include <cstdint>

#include "swf/media/pcmbuffer.h"
#include "swf/media/soundformat.h"

struct AVCodecContext;
struct AVCodecParserContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

namespace swf {

class AudioDecoder {
public:
    explicit AudioDecoder(const SoundFormat &format);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder &) = delete;
    AudioDecoder &operator=(const AudioDecoder &) = delete;

    // False when no decoder exists for the format: everything decodes to
    // silence (nothing).
    bool isOpen() const { return context_ != nullptr; }

    // Decodes `size` bytes: one block of the codec, or for MP3 any run of
    // bytes (frames are found in it). Appends to `out` up to its limit.
    void decode(const uint8_t *data, size_t size, PcmBuffer &out);
    // Drains what the decoder and the converter still hold.
    void finish(PcmBuffer &out);

private:
    void decodeChunked(const uint8_t *data, size_t size, PcmBuffer &out);
    void decodeParsed(const uint8_t *data, size_t size, PcmBuffer &out);
    void decodeSpeex(const uint8_t *data, size_t size, PcmBuffer &out);
    void sendPacket(const uint8_t *data, size_t size, PcmBuffer &out);
    void receiveFrames(PcmBuffer &out);
    bool openConverter();
    void convert(const uint8_t *const *input, int inputFrames, PcmBuffer &out);
    // The largest packet this codec's data may be cut into (0: never cut).
    size_t chunkSize() const;

    SoundFormat format_;
    AVCodecContext *context_ = nullptr;
    AVCodecParserContext *parser_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
    SwrContext *converter_ = nullptr;
    bool converterFailed_ = false;
};

}  // namespace swf
