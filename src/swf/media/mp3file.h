#pragma once
// MP3 files that scripts load as sounds (Sound.loadSound): what the frames
// say of rate, channels and length, and the data as a DefineSound tag
// would carry it, so the same decoder plays it. Pure functions; any thread.

#include <cstddef>
#include <cstdint>
#include <string>

#include "swf/media/soundformat.h"

namespace swf {

struct Mp3File {
    SoundFormat format;
    // Samples per channel over all frames.
    uint32_t sampleCount = 0;
    // A DefineSound body's MP3 data: two bytes of encoder delay (none),
    // then the frames from the first one found.
    std::string soundData;
};

// Reads the frames of `bytes` (an ID3 tag before them is skipped);
// false when no MPEG layer III frame is there.
bool ReadMp3File(const std::string &bytes, Mp3File &out);

}  // namespace swf
