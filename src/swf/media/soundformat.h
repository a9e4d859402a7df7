#pragma once
// How a sound's samples are stored: the codec, the sampling rate, 8 or 16
// bits and mono or stereo, as the flag byte of DefineSound and of a stream
// sound head packs them. Plain value, any thread.

#include <cstdint>

namespace swf {

enum class SoundCodec : uint8_t {
    PcmNativeEndian = 0,
    Adpcm = 1,
    Mp3 = 2,
    PcmLittleEndian = 3,
    Nellymoser16k = 4,
    Nellymoser8k = 5,
    Nellymoser = 6,
    G711ALaw = 7,
    G711MuLaw = 8,
    Speex = 11,
};

struct SoundFormat {
    SoundCodec codec = SoundCodec::PcmNativeEndian;
    int rate = 5512;  // samples per second and channel
    bool sixteenBit = true;
    bool stereo = false;

    // Codec in the high four bits, then rate (2), size (1) and type (1).
    static SoundFormat fromFlags(uint8_t flags);

    int channels() const { return stereo ? 2 : 1; }
};

}  // namespace swf
