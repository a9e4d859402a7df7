#pragma once
// Depths as scripts number them: the display list's depth less 16384, so
// that the timeline's own objects sit at negative script depths.

#include <cmath>
#include <cstdint>

namespace swf::avm1 {

constexpr int kDepthOffset = 16384;

// A script depth as a display list depth; false when out of range.
inline bool ListDepth(double depth, uint16_t &out)
{
    if (!std::isfinite(depth))
        return false;
    const double shifted = std::trunc(depth) + kDepthOffset;
    if (shifted < 0 || shifted > 65535)
        return false;
    out = uint16_t(shifted);
    return true;
}

}  // namespace swf::avm1
