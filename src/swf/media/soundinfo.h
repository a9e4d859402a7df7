#pragma once
// How a sound is started: the SOUNDINFO record of StartSound, StartSound2
// and DefineButtonSound (stop instead, no second copy, in and out points,
// loops, volume envelope), and the commands that carry it. Parsed once at
// load time into plain values.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/format/swfreader.h"

namespace swf {

struct SoundInfo {
    struct EnvelopePoint {
        uint32_t position = 0;  // 44.1 kHz frames from the start of the sound
        uint16_t left = 32768;  // 0..32768
        uint16_t right = 32768;
    };

    bool stop = false;        // stops the sound's playing copies instead
    bool noMultiple = false;  // not started when a copy already plays
    bool hasInPoint = false;
    bool hasOutPoint = false;
    uint32_t inPoint = 0;     // 44.1 kHz frames
    uint32_t outPoint = 0;
    uint16_t loops = 1;       // plays at least once
    std::vector<EnvelopePoint> envelope;

    // False when the record is cut short; what was read stays.
    bool parse(SwfReader &r);
};

// A StartSound (by id) or StartSound2 (by class name, resolved to an id
// once the movie's class names are known) in a frame.
struct StartSoundCommand {
    uint16_t soundId = 0;
    std::string className;
    SoundInfo info;
};

// Tag codes 15 and 89; false on a body too short for its id or name.
bool ParseStartSound(SwfReader body, bool byClassName, StartSoundCommand &command);

// DefineButtonSound: the sounds of a button's four state changes (over to
// up, up to over, over to down, down to over); id 0 is none.
struct ButtonSounds {
    uint16_t buttonId = 0;
    StartSoundCommand changes[4];
};

bool ParseButtonSounds(SwfReader body, ButtonSounds &sounds);

}  // namespace swf
