// Key: isDown, isToggled, getCode, getAscii, the key code constants and
// the listeners.

#include "swf/avm1/keyobject.h"

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

constexpr int kCapsLock = 20;

KeyObject *ThisKey(const Value &self) { return dynamic_cast<KeyObject *>(self.object()); }

Value IsDown(Machine &m, const Value &self, const Args &args)
{
    KeyObject *key = ThisKey(self);
    const int code = ToInt32(m.toNumber(args[0]));
    return Value(key && code >= 0 && code < KeyObject::kCodes && key->down[size_t(code)]);
}

Value IsToggled(Machine &m, const Value &self, const Args &args)
{
    KeyObject *key = ThisKey(self);
    return Value(key && ToInt32(m.toNumber(args[0])) == kCapsLock && key->capsLock);
}

Value GetCode(Machine &, const Value &self, const Args &)
{
    KeyObject *key = ThisKey(self);
    return key ? Value(double(key->lastCode)) : Value();
}

Value GetAscii(Machine &, const Value &self, const Args &)
{
    KeyObject *key = ThisKey(self);
    return key ? Value(double(key->lastCharacter)) : Value();
}

}  // namespace

void NoteKey(KeyObject &key, int code, char32_t character, bool pressed)
{
    if (code >= 0 && code < KeyObject::kCodes)
        key.down[size_t(code)] = pressed;
    if (pressed) {
        key.lastCode = code;
        key.lastCharacter = uint32_t(character);
        if (code == kCapsLock)
            key.capsLock = !key.capsLock;
    }
}

void InstallKeyObject(Machine &m)
{
    auto *key = m.make<KeyObject>(m.objectProto);
    m.defineValue(m.global, "Key", Value(key));
    MakeBroadcaster(m, key);
    m.defineMethod(key, "isDown", IsDown);
    m.defineMethod(key, "isToggled", IsToggled);
    m.defineMethod(key, "getCode", GetCode);
    m.defineMethod(key, "getAscii", GetAscii);
    const std::pair<const char *, int> codes[] = {
        {"BACKSPACE", 8}, {"TAB", 9},     {"ENTER", 13},  {"SHIFT", 16},     {"CONTROL", 17},
        {"ALT", 18},      {"CAPSLOCK", 20}, {"ESCAPE", 27}, {"SPACE", 32},   {"PGUP", 33},
        {"PGDN", 34},     {"END", 35},    {"HOME", 36},   {"LEFT", 37},      {"UP", 38},
        {"RIGHT", 39},    {"DOWN", 40},   {"INSERT", 45}, {"DELETEKEY", 46},
    };
    for (const auto &[name, code] : codes)
        m.defineValue(key, name, Value(double(code)), kDontEnum | kDontDelete | kReadOnly);
}

}  // namespace swf::avm1
