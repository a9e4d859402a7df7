#pragma once
// Draws a display list tree with QPainter: objects in depth order, matrices
// composed parent × local, colour transforms likewise, leaves drawn by
// their character, placed sprites and buttons by recursion. An object with
// a clip depth is not drawn; its outline, in device pixels, clips the
// objects above it up to that depth (clips of several layers intersect).
// An object with a blend mode or filters is drawn off screen first, into a
// layer the size of its visible box, filtered (blur, drop shadow, glow,
// colour matrix), and then composed onto what lies below with its mode; "alpha" and "erase" act on the layer of the
// nearest blended ancestor, within their own bounding box, and draw nothing
// outside such a layer. An object with an opaque background is drawn on
// that colour, filling its box in whole device pixels.
// Off-screen work is bounded per render: layers and filters spend from a
// budget in proportion to the target's pixels, so that a movie stacking
// hundreds of full-stage blurs still draws in a bounded time. Once it is
// spent, further filters are left out and further objects are drawn
// straight, without their layer.
// Lives for one render call on the player's thread.

#include <QImage>
#include <QPainterPath>
#include <vector>

#include "swf/characters/character.h"
#include "swf/timeline/displaylist.h"

namespace swf {

class ScriptMasks;
struct MaskParty;

class DisplayRenderer {
public:
    // `baseClip` (device pixels) limits everything drawn.
    DisplayRenderer(RenderContext &context, const QPainterPath &baseClip);

    // Off-screen work a render may spend per pixel of its target, in passes
    // of a running sum over one byte per pixel: a few full-stage blurs.
    static constexpr int kOffscreenWorkPerPixel = 128;

    void renderList(const DisplayList &list, const Matrix &toStage, const ColorTransform &cx);
    // What scripts drew into the timeline, then its objects.
    void renderTimeline(const TimelineState &timeline, const Matrix &toStage, const ColorTransform &cx);

private:
    // The work left to a render, shared by the renderers of its layers.
    class OffscreenBudget {
    public:
        explicit OffscreenBudget(int64_t work) : left_(work) {}
        // False, spending nothing, when `work` is more than is left.
        bool spend(int64_t work);

    private:
        int64_t left_;
    };

    // Draws into a layer of `parent`'s render, spending from its budget.
    DisplayRenderer(RenderContext &context, const QPainterPath &baseClip, OffscreenBudget &budget);

    // A clip layer is itself clipped by the layers of its own list that
    // are active where it sits, so it carries their paths along: they stay
    // in force for its depths even after their own range has ended.
    struct ActiveClip {
        std::vector<QPainterPath> devicePaths;
        uint16_t clipDepth;
    };

    void renderObject(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx);
    void renderContent(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx);
    void renderLayered(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx);
    // Draws the object off screen and applies its filters; `area` is where
    // the picture goes, in device pixels. Null when nothing is visible.
    QImage renderLayer(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx,
                       const QRect &area);
    // Where the object's layer lies in device pixels: its box grown by what
    // its filters spread, within the visible area.
    QRect layerArea(const DisplayObject &object, const Matrix &toStage) const;
    void fillBackground(const DisplayObject &object, const Matrix &toStage, const ColorTransform &cx);
    double pixelsPerStagePixel() const;
    // The filled area of an object (all of a sprite's objects) in device pixels.
    void addOutline(const DisplayObject &object, const Matrix &toStage, QPainterPath &out) const;
    void addPath(const QPainterPath &path, const Matrix &toStage, QPainterPath &out) const;
    void addTimelineOutline(const TimelineState &timeline, const Matrix &toStage, QPainterPath &out) const;
    // The script masks that apply to the object: its own context's for a
    // clip, the drawn timeline's for a field.
    const ScriptMasks *masksOf(const DisplayObject &object) const;
    bool isScriptMask(const DisplayObject &object) const;
    void openScriptMask(const MaskParty &mask);
    void openClip(size_t firstOfLevel, const DisplayObject &object, const Matrix &toStage);
    // The bounding box of an object (all of a sprite's objects) in device pixels.
    QRectF deviceBounds(const DisplayObject &object, const Matrix &toStage) const;
    void closeClipsBelow(size_t firstOfLevel, int depth);
    void applyClips();

    RenderContext &context_;
    QPainterPath baseClip_;
    std::vector<ActiveClip> clips_;
    bool clipsChanged_ = true;
    // The masks of the timeline being drawn, for its text fields.
    const ScriptMasks *masks_ = nullptr;
    bool insideLayer_;
    OffscreenBudget ownBudget_{0};
    OffscreenBudget &budget_;
};

}  // namespace swf
