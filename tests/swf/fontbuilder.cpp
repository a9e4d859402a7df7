#include "fontbuilder.h"

#include <QColor>
#include <algorithm>

namespace fonttest {

void BitWriter::ub(uint32_t value, unsigned bits)
{
    for (unsigned i = bits; i-- > 0;) {
        current_ = static_cast<uint8_t>((current_ << 1) | ((value >> i) & 1));
        if (++used_ == 8)
            align();
    }
}

void BitWriter::align()
{
    if (used_ == 0)
        return;
    bytes_.append(char(current_ << (8 - used_)));
    current_ = 0;
    used_ = 0;
}

void BitWriter::u8(unsigned value)
{
    align();
    bytes_.append(char(value & 0xFF));
}

void BitWriter::u16(unsigned value)
{
    u8(value);
    u8(value >> 8);
}

void BitWriter::append(const QByteArray &bytes)
{
    align();
    bytes_.append(bytes);
}

QByteArray BitWriter::bytes()
{
    align();
    return bytes_;
}

unsigned SignedBits(std::initializer_list<int32_t> values)
{
    unsigned bits = 1;
    for (int32_t v : values) {
        unsigned needed = 1;
        while (v < -(1 << (needed - 1)) || v >= (1 << (needed - 1)))
            ++needed;
        bits = std::max(bits, needed);
    }
    return bits;
}

QByteArray RectangleGlyph(int x0, int y0, int x1, int y1)
{
    BitWriter w;
    w.ub(1, 4);  // fill bits
    w.ub(0, 4);  // line bits
    // Style change: move to the corner, fill style 1 on the right.
    w.ub(0b000101, 6);
    const unsigned moveBits = SignedBits({x0, y0});
    w.ub(moveBits, 5);
    w.sb(x0, moveBits);
    w.sb(y0, moveBits);
    w.ub(1, 1);
    const int dx = x1 - x0, dy = y1 - y0;
    const unsigned bits = std::max(2u, SignedBits({dx, dy, -dx, -dy}));
    const int steps[4][2] = {{dx, 0}, {0, dy}, {-dx, 0}, {0, -dy}};
    for (const auto &step : steps) {
        w.ub(0b11, 2);  // edge, straight
        w.ub(bits - 2, 4);
        w.ub(1, 1);     // general line
        w.sb(step[0], bits);
        w.sb(step[1], bits);
    }
    w.ub(0, 6);  // end of shape
    return w.bytes();
}

QByteArray FontBody(const FontSpec &font)
{
    BitWriter w;
    w.u16(font.id);
    QByteArray table;
    QByteArray shapes;
    const unsigned tableSize = unsigned(font.glyphs.size()) * 2 + (font.code == 10 ? 0 : 2);
    for (const QByteArray &glyph : font.glyphs) {
        table += char((tableSize + shapes.size()) & 0xFF);
        table += char((tableSize + shapes.size()) >> 8);
        shapes += glyph;
    }
    if (font.code == 10) {
        w.append(table + shapes);
        return w.bytes();
    }
    const QByteArray name = font.name.toUtf8();
    w.u8((font.advances.empty() ? 0 : 0x80) | 0x04);  // layout, wide codes
    w.u8(0);
    w.u8(unsigned(name.size()));
    w.append(name);
    w.u16(unsigned(font.glyphs.size()));
    w.append(table);
    w.u16(unsigned(tableSize + shapes.size()));
    w.append(shapes);
    for (uint16_t code : font.codes)
        w.u16(code);
    if (!font.advances.empty()) {
        w.u16(unsigned(font.ascent));
        w.u16(unsigned(font.descent));
        w.u16(0);
        for (int16_t advance : font.advances)
            w.u16(uint16_t(advance));
        for (size_t i = 0; i < font.glyphs.size(); ++i)
            w.u8(0);  // empty bounds rectangle (5 zero bits)
        w.u16(0);     // no kerning
    }
    return w.bytes();
}

QByteArray TextBody(uint16_t code, uint16_t id, const std::vector<TextRecordSpec> &records)
{
    BitWriter w;
    w.u16(id);
    w.ub(0, 5);  // bounds: empty
    w.align();
    w.ub(0, 7);  // identity matrix
    w.align();
    unsigned advanceBits = 1;
    for (const TextRecordSpec &record : records)
        for (const GlyphEntry &entry : record.glyphs)
            advanceBits = std::max(advanceBits, SignedBits({entry.advance}));
    const unsigned glyphBits = 8;
    w.u8(glyphBits);
    w.u8(advanceBits);
    for (const TextRecordSpec &record : records) {
        w.u8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);
        w.u16(record.fontId);
        w.u8(unsigned(qRed(record.color)));
        w.u8(unsigned(qGreen(record.color)));
        w.u8(unsigned(qBlue(record.color)));
        if (code == 33)
            w.u8(unsigned(qAlpha(record.color)));
        w.u16(uint16_t(record.x));
        w.u16(uint16_t(record.y));
        w.u16(record.height);
        w.u8(unsigned(record.glyphs.size()));
        for (const GlyphEntry &entry : record.glyphs) {
            w.ub(entry.index, glyphBits);
            w.sb(entry.advance, advanceBits);
        }
    }
    w.u8(0);
    return w.bytes();
}

void DefineRunner::run(uint16_t code, const QByteArray &body)
{
    bodies.push_back(body);
    swf::Tag tag{code, swf::SwfReader(reinterpret_cast<const uint8_t *>(bodies.back().constData()),
                                      size_t(bodies.back().size()))};
    switch (code) {
    case 10: case 48: case 75: swf::DefineFontTag(tag, ctx); break;
    case 13: case 62: swf::DefineFontInfoTag(tag, ctx); break;
    case 11: case 33: swf::DefineTextTag(tag, ctx); break;
    case 37: swf::DefineEditTextTag(tag, ctx); break;
    default: break;
    }
}

}  // namespace fonttest
