#include "swf/timeline/keycodes.h"

#include <utility>

namespace swf {

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
