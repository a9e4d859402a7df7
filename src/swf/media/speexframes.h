#pragma once
// Speex sound in a movie is a run of 20 ms frames with nothing between
// them, while FFmpeg's decoder takes one frame per packet and drops the
// rest of a longer one. A frame's length follows from its mode numbers
// (the codec gives every mode a fixed number of bits), and each frame is
// padded to a whole byte, so the run can be cut at its frames.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct SpeexFrame {
    size_t offset = 0;  // bytes
    size_t size = 0;
};

// The frames of `data` in order. A terminator skips to the next byte; a
// header that is no frame, or a frame longer than what is left, ends the
// list there.
std::vector<SpeexFrame> SplitSpeexFrames(const uint8_t *data, size_t size);

}  // namespace swf
