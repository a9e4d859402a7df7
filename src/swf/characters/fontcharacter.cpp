#include "swf/characters/fontcharacter.h"

namespace swf {

const QPainterPath &FontCharacter::glyph(int index) const
{
    static const QPainterPath empty;
    return index >= 0 && index < glyphCount() ? glyphs_[size_t(index)] : empty;
}

int FontCharacter::glyphForCode(uint16_t code) const
{
    const auto it = glyphByCode_.find(code);
    return it == glyphByCode_.end() ? -1 : it->second;
}

double FontCharacter::advance(int glyph) const
{
    return glyph >= 0 && size_t(glyph) < advances_.size() ? advances_[size_t(glyph)] : 0;
}

void FontCharacter::setNameAndStyle(const QString &name, bool bold, bool italic)
{
    name_ = name;
    bold_ = bold;
    italic_ = italic;
}

void FontCharacter::setCodeTable(const std::vector<uint16_t> &codes)
{
    glyphByCode_.clear();
    for (size_t i = 0; i < codes.size() && i < glyphs_.size(); ++i)
        glyphByCode_.emplace(codes[i], static_cast<int>(i));  // the first glyph of a code wins
}

void FontCharacter::setLayout(double ascent, double descent, double leading, std::vector<double> advances)
{
    ascent_ = ascent;
    descent_ = descent;
    leading_ = leading;
    advances_ = std::move(advances);
}

}  // namespace swf
