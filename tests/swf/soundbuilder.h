#pragma once
// Tag bodies of the sound tags, for movies made in tests: sounds of
// uncompressed 16-bit samples at 44.1 kHz, so that what the mixer makes of
// them can be checked sample by sample.

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

#include "swfbuilder.h"

namespace swf {
class MoviePlayer;
}

namespace swftest {

enum SoundTag : uint16_t {
    kDefineSoundTag = 14,
    kStartSoundTag = 15,
    kSoundStreamHeadTag = 18,
    kSoundStreamBlockTag = 19,
    kSoundStreamHead2Tag = 45,
};

// Codec 3 (little-endian PCM), 44.1 kHz, 16 bits, mono.
constexpr uint8_t kPcm44Mono = 0x3e;

// `count` 16-bit samples of `value`.
QByteArray ConstantSamples(int count, int16_t value);

QByteArray DefineSoundBody(uint16_t id, uint8_t formatFlags, uint32_t statedSamples, const QByteArray &data);

struct SoundInfoRecord {
    bool stop = false;
    bool noMultiple = false;
    int inPoint = -1;   // -1: none
    int outPoint = -1;
    int loops = -1;
    // (position, left, right) points
    std::vector<std::array<uint32_t, 3>> envelope;
};

QByteArray StartSoundBody(uint16_t id, const SoundInfoRecord &info = {});
QByteArray StreamHeadBody(uint8_t formatFlags, uint16_t samplesPerBlock);

// Turns sound on, plays `frames` frames (the one shown and those after it)
// and returns the interleaved stereo mix on the simulated clock.
std::vector<int16_t> RecordSound(swf::MoviePlayer &player, int frames);

}  // namespace swftest
