#pragma once
// The bitmap filters a PlaceObject3 or button record may carry: blur, drop
// shadow, glow, bevel, their gradient forms, colour matrix and convolution.
// Parsed once at load time into plain values; render/filterpainter.h draws
// them on the off-screen picture of the filtered object.

#include <cstdint>
#include <memory>
#include <vector>

#include "swf/characters/scriptbitmap.h"
#include "swf/format/swfreader.h"

namespace swf {

struct Filter {
    enum class Kind : uint8_t {
        DropShadow,
        Blur,
        Glow,
        ColorMatrix,
        Bevel,
        GradientGlow,
        GradientBevel,
        Convolution,
        DisplacementMap,  // only from scripts: no record carries one
    };
    // What a displacement reads beyond the picture's edge.
    enum class Edge : uint8_t { Wrap, Clamp, Ignore, Colour };

    // A colour stop of a gradient glow or bevel; `ratio` runs 0..255.
    struct Stop {
        Rgba colour;
        uint8_t ratio = 0;
    };

    Kind kind = Kind::Blur;
    float blurX = 0, blurY = 0;  // stage pixels
    int passes = 1;
    Rgba colour;      // shadow, glow, or a bevel's dark side
    Rgba highlight;   // a bevel's lit side
    std::vector<Stop> gradient;
    double angle = 0;  // radians, kept exact for scripts that read it back
    float distance = 0;  // stage pixels
    float strength = 1;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = true;
    bool onTop = false;  // a bevel drawn over the whole object, inside and out
    float matrix[20] = {};

    // Convolution: `kernel` holds kernelRows rows of kernelColumns weights.
    int kernelColumns = 0, kernelRows = 0;
    std::vector<float> kernel;
    float divisor = 1, bias = 0;
    Rgba edgeColour;  // what lies beyond the picture unless `clampEdges`
    bool clampEdges = true;
    bool preserveAlpha = true;

    // Displacement map: each pixel reads the picture at an offset of
    // (map channel - 128) * scale / 256, the channels numbered 1 red, 2
    // green, 4 blue, 8 alpha; the map's (0, 0) lies at `mapOrigin`.
    std::shared_ptr<const BitmapSurface> map;
    int mapOriginX = 0, mapOriginY = 0;
    int componentX = 0, componentY = 0;
    float scaleX = 0, scaleY = 0;
    Edge edge = Edge::Wrap;  // Colour reads `edgeColour`

    // Reads a filter list (count byte and filters); an unknown filter ends
    // the list, as its size cannot be known.
    static void parseList(SwfReader &r, std::vector<Filter> &out);

    // How far the filter reaches beyond the object, in stage pixels.
    float reach() const;
    // The blur passes to run, whatever the record held.
    int passCount() const;
};

}  // namespace swf
