#pragma once
// A shape character (DefineShape 1 to 4): its styles and the paths made from
// its edges once, at load time. Immutable after construction; render() may
// run on several threads at once.

#include <QBrush>
#include <mutex>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/shapepath.h"
#include "swf/characters/shaperecords.h"

namespace swf {

class ShapeCharacter : public Character {
public:
    ShapeCharacter(uint16_t id, const Rect &bounds, ShapeRecords records, Qt::FillRule fillRule);

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    QPainterPath hitArea(uint16_t ratio) const override;
    Rect bounds() const override { return bounds_; }

    const std::vector<StyleGroup> &styleGroups() const { return groups_; }

private:
    struct Item {
        ShapePathItem path;
        QBrush prepared;  // for the identity colour transform; NoBrush for bitmaps
    };

    Rect bounds_;
    std::vector<StyleGroup> groups_;
    std::vector<Item> items_;
    QPainterPath outline_;
    // Made on the first hit test: most shapes never meet the mouse.
    mutable std::once_flag hitAreaMade_;
    mutable QPainterPath hitArea_;
};

}  // namespace swf
