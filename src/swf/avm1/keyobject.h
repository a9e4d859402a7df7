#pragma once
// Key: which keys are down, the last key pressed and its character, and
// the listeners told of each press and release. The host's key presses
// reach it through the script engine.

#include <bitset>

#include "swf/avm1/object.h"

namespace swf::avm1 {

class Machine;

class KeyObject : public Object {
public:
    static constexpr int kCodes = 256;
    explicit KeyObject(Object *proto) : Object(proto) {}

    std::bitset<kCodes> down;
    int lastCode = 0;
    uint32_t lastCharacter = 0;
    bool capsLock = false;
};

// A press or release of a key (Flash key codes) as the state shows it; the
// host then tells the listeners (onKeyDown, onKeyUp).
void NoteKey(KeyObject &key, int code, char32_t character, bool pressed);

}  // namespace swf::avm1
