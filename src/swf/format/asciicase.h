#pragma once
// Names the player compares without regard to case (frame labels, URL
// schemes) fold only A-Z: other letters keep their case.

#include <string>

namespace swf {

inline std::string AsciiLower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

}  // namespace swf
