#pragma once
// Where the bytes of one list of actions lie: a DoAction or DoInitAction
// body, a clip event handler of a placement, a button's actions. The bytes
// stay in the movie's body, which lives as long as the movie; the script
// machine decodes them when it first runs them.

#include <cstdint>

namespace swf {

struct ActionBlock {
    const uint8_t *data = nullptr;
    uint32_t size = 0;
    // The display list commands of its frame that come before it: a frame's
    // actions and placements take turns in the order of their tags.
    uint32_t commandsBefore = 0;
};

// DoInitAction: actions that run once, before the first frame in which
// the sprite `spriteId` is needed.
struct InitActionBlock {
    uint16_t spriteId = 0;
    ActionBlock actions;
};

enum ClipEvent : uint32_t {
    kClipEventLoad = 0x1,
    kClipEventEnterFrame = 0x2,
    kClipEventUnload = 0x4,
    kClipEventKeyDown = 0x40,
    kClipEventKeyUp = 0x80,
    kClipEventData = 0x100,
    kClipEventInitialize = 0x200,
    kClipEventKeyPress = 0x20000,
    kClipEventConstruct = 0x40000,
};

// One handler of a PlaceObject2/3 clip: the events it answers (the flags
// as the file stores them), the key of a key-press event, its actions.
struct ClipEventHandler {
    uint32_t events = 0;
    uint8_t keyCode = 0;
    ActionBlock actions;
};

}  // namespace swf
