#pragma once
// The bitmap filters a PlaceObject3 or button record may carry (blur, drop
// shadow, glow, colour matrix are drawn; bevels, gradient filters and
// convolution are read past). Parsed once at load time into plain values;
// applied at render time to the off-screen picture of the filtered object.

#include <QImage>
#include <cstdint>
#include <vector>

#include "swf/swfreader.h"

namespace swf {

struct Filter {
    enum class Kind : uint8_t { DropShadow, Blur, Glow, ColorMatrix };

    Kind kind = Kind::Blur;
    float blurX = 0, blurY = 0;  // stage pixels
    int passes = 1;
    Rgba colour;
    float angle = 0, distance = 0;  // radians, stage pixels
    float strength = 1;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = true;
    float matrix[20] = {};

    // Reads a filter list (count byte and filters); the ones that are not
    // drawn are stepped over by their size, an unknown one ends the list.
    static void parseList(SwfReader &r, std::vector<Filter> &out);

    // How far the filter reaches beyond the object, in stage pixels.
    float reach() const;
    // Applies the filter to `picture` (premultiplied ARGB); `scale` is
    // device pixels per stage pixel.
    void apply(QImage &picture, double scale) const;
};

}  // namespace swf
