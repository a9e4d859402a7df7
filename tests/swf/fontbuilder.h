#pragma once
// Test helper: writes the bodies of font and text definition tags (glyph
// shapes as bit fields) and runs them through the engine's tag handlers.

#include <QByteArray>
#include <QString>
#include <vector>

#include "swf/characters/definetags.h"

namespace fonttest {

// Bits written most significant first, bytes little-endian.
class BitWriter {
public:
    void ub(uint32_t value, unsigned bits);
    void sb(int32_t value, unsigned bits) { ub(static_cast<uint32_t>(value), bits); }
    void align();
    void u8(unsigned value);
    void u16(unsigned value);
    void append(const QByteArray &bytes);
    QByteArray bytes();

private:
    QByteArray bytes_;
    uint8_t current_ = 0;
    unsigned used_ = 0;
};

// Signed bits needed to hold every value.
unsigned SignedBits(std::initializer_list<int32_t> values);

// A glyph SHAPE: one filled rectangle in glyph units.
QByteArray RectangleGlyph(int x0, int y0, int x1, int y1);

struct FontSpec {
    uint16_t code = 48;  // 10, 48 or 75
    uint16_t id = 1;
    QString name = QStringLiteral("Blocky");
    std::vector<QByteArray> glyphs;
    std::vector<uint16_t> codes;        // DefineFont2/3
    std::vector<int16_t> advances;      // layout when not empty
    int ascent = 0, descent = 0;
};
QByteArray FontBody(const FontSpec &font);

struct GlyphEntry {
    uint32_t index;
    int32_t advance;
};
struct TextRecordSpec {
    uint16_t fontId = 1;
    uint16_t height = 400;
    QRgb color = 0xFF000000;
    int16_t x = 0, y = 0;
    std::vector<GlyphEntry> glyphs;
};
// DefineText (11, RGB colours) or DefineText2 (33, RGBA), identity matrix.
QByteArray TextBody(uint16_t code, uint16_t id, const std::vector<TextRecordSpec> &records);

// A dictionary, budget and define context that tag bodies are run against.
struct DefineRunner {
    swf::Dictionary dictionary;
    swf::MemoryBudget budget;
    swf::DefineContext ctx{8, dictionary, budget, {}};
    std::vector<QByteArray> bodies;

    void run(uint16_t code, const QByteArray &body);
};

}  // namespace fonttest
