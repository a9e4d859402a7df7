#pragma once
// The frame actions that need no script engine: stop, play, next and
// previous frame, go to a frame number or label. A DoAction tag is scanned
// once at load time and the recognised actions are kept in order; every
// other action is stepped over by its length.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/format/swfreader.h"

namespace swf {

struct FrameAction {
    enum class Kind : uint8_t { Stop, Play, NextFrame, PrevFrame, GotoFrame, GotoLabel };

    Kind kind = Kind::Stop;
    // Goto only: play on at the target (gotoAndPlay) or stop there.
    bool play = false;
    int frame = 0;      // 0-based, GotoFrame
    std::string label;  // GotoLabel

    bool operator==(const FrameAction &o) const
    {
        return kind == o.kind && play == o.play && frame == o.frame && label == o.label;
    }
};

// Appends the recognised actions of one DoAction body to `out`.
void ParseFrameActions(SwfReader body, std::vector<FrameAction> &out);

}  // namespace swf
