#pragma once
// Flash key codes (the values of Key.getCode()) of the keys that have no
// character, and the codes of a button's key-press conditions.

#include <cstdint>

namespace swf {

enum FlashKeyCode : int {
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyEnter = 13,
    kKeyShift = 16,
    kKeyControl = 17,
    kKeyAlt = 18,
    kKeyCapsLock = 20,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyDelete = 46,
    kKeyNumpad0 = 96,  // numpad 1 to 9 follow
    kKeyF1 = 112,      // F2 to F12 follow
};

// The key code of the key that types `character` on a US keyboard (letters
// by their capital, digits, the punctuation keys), 0 when none does.
int KeyCodeForCharacter(char32_t character);

// The code a button's key-press condition uses for a key: 1 to 19 for the
// keys without a character, the character itself for the printable ASCII
// ones, 0 for a key no condition can name.
int ButtonKeyFor(int keyCode, char32_t character);

}  // namespace swf
