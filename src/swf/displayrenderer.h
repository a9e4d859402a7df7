#pragma once
// Draws a display list tree with QPainter: objects in depth order, matrices
// composed parent × local, colour transforms likewise, leaves drawn by
// their character, placed sprites and buttons by recursion. An object with
// a clip depth is not drawn; its outline, in device pixels, clips the
// objects above it up to that depth (clips of several layers intersect).
// Lives for one render call on the player's thread.

#include <QPainterPath>
#include <vector>

#include "swf/character.h"
#include "swf/displaylist.h"

namespace swf {

class DisplayRenderer {
public:
    // `baseClip` (device pixels) limits everything drawn.
    DisplayRenderer(RenderContext &context, const QPainterPath &baseClip);

    void renderList(const DisplayList &list, const Matrix &toStage, const ColorTransform &cx);

private:
    struct ActiveClip {
        QPainterPath devicePath;
        uint16_t clipDepth;
    };

    void renderObject(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx);
    // The filled area of an object (all of a sprite's objects) in device pixels.
    void addOutline(const DisplayObject &object, const Matrix &toStage, QPainterPath &out) const;
    void closeClipsBelow(size_t firstOfLevel, uint16_t depth);
    void applyClips();

    RenderContext &context_;
    QPainterPath baseClip_;
    std::vector<ActiveClip> clips_;
    bool clipsChanged_ = true;
};

}  // namespace swf
