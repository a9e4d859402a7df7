#pragma once
// A font of the movie (DefineFont 1 to 3, completed by DefineFontInfo):
// its name and style, the glyph outlines (built once, at load time), the
// code table that maps characters to glyphs, and the layout metrics of
// DefineFont2/3. Static and edit texts draw with it; a font is never drawn
// by itself. Filled by the loading thread, then immutable and read by any.

#include <QPainterPath>
#include <QString>
#include <unordered_map>
#include <vector>

#include "swf/characters/character.h"

namespace swf {

class FontCharacter : public Character {
public:
    // Glyph coordinates of DefineFont and DefineFont2 use an EM square of
    // 1024 units; DefineFont3 works at 20 times that resolution.
    static constexpr double kEmSquare = 1024;
    static constexpr double kEmSquareFine = 1024 * 20;

    FontCharacter(uint16_t id, double emSquare, std::vector<QPainterPath> glyphs)
        : Character(id), emSquare_(emSquare), glyphs_(std::move(glyphs)) {}

    void render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const override {}

    double emSquare() const { return emSquare_; }
    int glyphCount() const { return static_cast<int>(glyphs_.size()); }
    // An empty path for an index out of range.
    const QPainterPath &glyph(int index) const;

    const QString &name() const { return name_; }
    bool bold() const { return bold_; }
    bool italic() const { return italic_; }
    bool hasCodeTable() const { return !glyphByCode_.empty(); }
    // The glyph for a character code, or -1.
    int glyphForCode(uint16_t code) const;

    // Layout in EM units (hasLayout() false: all zero).
    bool hasLayout() const { return !advances_.empty(); }
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }
    double leading() const { return leading_; }
    double advance(int glyph) const;

    // Loading only.
    void setNameAndStyle(const QString &name, bool bold, bool italic);
    void setCodeTable(const std::vector<uint16_t> &codes);
    void setLayout(double ascent, double descent, double leading, std::vector<double> advances);

private:
    double emSquare_;
    std::vector<QPainterPath> glyphs_;
    QString name_;
    bool bold_ = false;
    bool italic_ = false;
    std::unordered_map<uint16_t, int> glyphByCode_;
    double ascent_ = 0;
    double descent_ = 0;
    double leading_ = 0;
    std::vector<double> advances_;
};

}  // namespace swf
