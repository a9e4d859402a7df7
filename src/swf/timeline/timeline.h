#pragma once
// The parsed timeline of the movie or of one sprite: for every frame the
// display list changes, the frame actions and init actions, in tag order,
// and the frame labels. Plain data, built once at load time and read-only
// afterwards; playing a frame replays its commands.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/media/soundinfo.h"
#include "swf/media/soundstream.h"
#include "swf/timeline/actionblock.h"
#include "swf/timeline/displaycommand.h"

namespace swf {

struct Frame {
    std::vector<DisplayCommand> commands;
    std::vector<ActionBlock> actions;
    std::vector<InitActionBlock> initActions;
    std::vector<StartSoundCommand> sounds;
};

class Timeline {
public:
    // Frames as they were parsed; frames past them (a count set higher)
    // change nothing.
    std::vector<Frame> frames;
    // The timeline's stream sound, when it has a SoundStreamHead.
    std::shared_ptr<SoundStream> stream;
    // The length of a sprite's tag list in the file.
    uint32_t byteLength = 0;
    // The list ended with its End tag. One that stops short is still
    // loading as far as the player knows: it waits on its last frame
    // rather than loop.
    bool complete = true;

    // The count set (loading sets the parsed frames, whatever the file's
    // header states); without one, the parsed frames; at least 1.
    int frameCount() const;
    void setFrameCount(int count) { frameCount_ = count; }

    // The frame for `index`, or an empty one past the parsed frames.
    const Frame &frame(int index) const;

    void addLabel(const std::string &label, int frame);
    // The frame of a label, exact match first, then ignoring letter case as
    // older players did; -1 when there is none.
    int findLabel(const std::string &label) const;

private:
    int frameCount_ = 0;
    std::unordered_map<std::string, int> labels_;
};

}  // namespace swf
