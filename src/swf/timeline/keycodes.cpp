#include "swf/timeline/keycodes.h"

#include <utility>

namespace swf {

int KeyCodeForCharacter(char32_t character)
{
    if (character >= U'a' && character <= U'z')
        return int(character - U'a' + U'A');
    if ((character >= U'A' && character <= U'Z') || (character >= U'0' && character <= U'9') || character == U' ')
        return int(character);
    static constexpr std::pair<char32_t, int> kPunctuation[] = {
        {U';', 186}, {U':', 186}, {U'=', 187}, {U'+', 187}, {U',', 188}, {U'<', 188}, {U'-', 189},
        {U'_', 189}, {U'.', 190}, {U'>', 190}, {U'/', 191}, {U'?', 191}, {U'`', 192}, {U'~', 192},
        {U'[', 219}, {U'{', 219}, {U'\\', 220}, {U'|', 220}, {U']', 221}, {U'}', 221}, {U'\'', 222},
        {U'"', 222},
    };
    for (const auto &[typed, code] : kPunctuation)
        if (typed == character)
            return code;
    return 0;
}

int ButtonKeyFor(int keyCode, char32_t character)
{
    static constexpr std::pair<int, int> kSpecial[] = {
        {kKeyLeft, 1},     {kKeyRight, 2},  {kKeyHome, 3},   {kKeyEnd, 4},       {kKeyInsert, 5},
        {kKeyDelete, 6},   {kKeyBackspace, 8}, {kKeyEnter, 13}, {kKeyUp, 14},    {kKeyDown, 15},
        {kKeyPageUp, 16},  {kKeyPageDown, 17}, {kKeyTab, 18},  {kKeyEscape, 19},
    };
    for (const auto &[code, buttonKey] : kSpecial)
        if (code == keyCode)
            return buttonKey;
    if (character >= 32 && character <= 126)
        return int(character);
    return 0;
}

}  // namespace swf
