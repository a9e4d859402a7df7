#pragma once
// Static text (DefineText, DefineText2): glyph outlines of embedded fonts,
// placed and coloured as the text records say. The glyphs are resolved and
// positioned once at load time, so drawing only fills ready paths.
// Immutable after loading; any thread may render.

#include <QPainterPath>
#include <vector>

#include "swf/characters/character.h"

namespace swf {

class TextCharacter : public Character {
public:
    // Glyphs of one colour, each already scaled and positioned in the
    // text's own twips (before the text matrix). Glyphs are kept apart
    // because each is filled with the odd-even rule: merged, glyphs that
    // overlap would cancel each other out.
    struct Run {
        Rgba color;
        std::vector<QPainterPath> glyphs;
    };

    TextCharacter(uint16_t id, const Rect &bounds, const Matrix &matrix, std::vector<Run> runs);

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override { (void)ratio; return outline_; }
    Rect bounds() const override { return bounds_; }

    const std::vector<Run> &runs() const { return runs_; }

private:
    Rect bounds_;
    Matrix matrix_;
    std::vector<Run> runs_;
    QPainterPath outline_;  // every glyph through the text matrix
};

}  // namespace swf
