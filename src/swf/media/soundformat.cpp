#include "swf/media/soundformat.h"

namespace swf {

SoundFormat SoundFormat::fromFlags(uint8_t flags)
{
    static constexpr int kRates[4] = {5512, 11025, 22050, 44100};
    SoundFormat format;
    format.codec = static_cast<SoundCodec>(flags >> 4);
    format.rate = kRates[(flags >> 2) & 3];
    format.sixteenBit = flags & 2;
    format.stereo = flags & 1;
    // Some codecs fix their rate and channels whatever the flags say.
    switch (format.codec) {
    case SoundCodec::Nellymoser16k:
    case SoundCodec::Speex:
        format.rate = 16000;
        format.stereo = false;
        break;
    case SoundCodec::Nellymoser8k:
    case SoundCodec::G711ALaw:
    case SoundCodec::G711MuLaw:
        format.rate = 8000;
        format.stereo = false;
        break;
    default:
        break;
    }
    return format;
}

}  // namespace swf
