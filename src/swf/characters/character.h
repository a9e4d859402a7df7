#pragma once
// A character is one entry of a movie's dictionary (a shape, a bitmap, a
// font, a text, a sprite...). Definitions are parsed once at load time into
// immutable objects; the display list refers to them by id and asks them to
// draw themselves through RenderContext. Characters are shared read-only
// between every player of the same movie, so render() must be const and
// free of side effects other than caches guarded for that purpose.

#include <QPainterPath>
#include <QTransform>
#include <cstdint>

#include "swf/format/types.h"

class QPainter;

namespace swf {

class Dictionary;

enum class Quality { Low, Medium, High };

struct RenderContext {
    QPainter *painter = nullptr;
    // Stage twips to device pixels of the painter's target.
    QTransform stageToDevice;
    Quality quality = Quality::High;
    const Dictionary *dictionary = nullptr;

    bool antialias() const { return quality != Quality::Low; }
    bool smoothBitmaps() const { return quality == Quality::High; }
};

class Character {
public:
    explicit Character(uint16_t id) : id_(id) {}
    virtual ~Character() = default;
    Character(const Character &) = delete;
    Character &operator=(const Character &) = delete;

    uint16_t id() const { return id_; }

    // Draws the character. `toStage` maps character twips to stage twips;
    // the device transform is ctx.stageToDevice applied after it. `ratio`
    // is the PlaceObject ratio (0..65535), used by morph shapes.
    virtual void render(RenderContext &ctx, const Matrix &toStage,
                        const ColorTransform &cx, uint16_t ratio) const = 0;

    // The filled area in character twips, for clip layers (masks).
    virtual QPainterPath outline(uint16_t ratio) const { (void)ratio; return {}; }
    // What the mouse and hitTest find, in character twips: the filled area
    // unless the character's lines take the mouse too.
    virtual QPainterPath hitArea(uint16_t ratio) const { return outline(ratio); }

    // Bounds in character twips.
    virtual Rect bounds() const { return {}; }

private:
    uint16_t id_;
};

}  // namespace swf
