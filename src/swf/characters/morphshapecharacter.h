#pragma once
// A morph shape character (DefineMorphShape 1 and 2): start and end edges
// paired record by record, and styles with a start and an end value. Drawn
// at the placed ratio by interpolating both. The paths for a ratio are made
// on first use and kept in a small cache of recent ratios (a mutex guards
// it: characters are shared by players on several threads).

#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/fillstyle.h"
#include "swf/characters/linestyle.h"
#include "swf/characters/shapepath.h"

namespace swf {

struct MorphShapeData {
    Rect startBounds;
    Rect endBounds;
    std::vector<MorphFillStyle> fills;
    std::vector<MorphLineStyle> lines;
    std::vector<ShapeEdge> startEdges;
    std::vector<ShapeEdge> endEdges;
};

class MorphShapeCharacter : public Character {
public:
    MorphShapeCharacter(uint16_t id, MorphShapeData data);

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    // Covers every ratio: the start and end bounds together.
    Rect bounds() const override;
    // Scripts measure a morph by its start shape, whatever its ratio.
    Rect startBounds() const { return data_.startBounds; }

private:
    using PaintList = std::vector<ShapePathItem>;

    std::vector<StyleGroup> stylesAt(double t) const;
    std::vector<ShapeEdge> edgesAt(double t) const;
    std::shared_ptr<const PaintList> pathsAt(uint16_t ratio) const;

    MorphShapeData data_;

    static constexpr size_t kCachedRatios = 4;
    mutable std::mutex cacheMutex_;
    mutable std::list<std::pair<uint16_t, std::shared_ptr<const PaintList>>> cache_;  // most recent first
};

}  // namespace swf
