#pragma once
// Small writers for shape tag bodies in tests: a bit writer, a shape record
// writer, and a helper that renders a character into a small picture.

#include <QImage>
#include <QPainter>
#include <QByteArray>
#include <cstdint>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/definetags.h"
#include "swf/characters/dictionary.h"

namespace shapetest {

class BitWriter {
public:
    void ub(uint32_t value, unsigned bits)
    {
        for (unsigned i = bits; i-- > 0;) {
            current_ = static_cast<uint8_t>((current_ << 1) | ((value >> i) & 1u));
            if (++used_ == 8)
                flushByte();
        }
    }
    void sb(int32_t value, unsigned bits) { ub(static_cast<uint32_t>(value), bits); }
    void flag(bool on) { ub(on ? 1 : 0, 1); }
    void align()
    {
        if (used_ > 0) {
            current_ = static_cast<uint8_t>(current_ << (8 - used_));
            flushByte();
        }
    }
    void u8(uint8_t v) { align(); bytes_.append(static_cast<char>(v)); }
    void u16(uint16_t v) { u8(v & 0xff); u8(v >> 8); }
    void u32(uint32_t v) { u16(v & 0xffff); u16(v >> 16); }
    void rgb(uint32_t color) { u8(color >> 16); u8(color >> 8); u8(color); }
    void rgba(uint32_t color, uint8_t alpha = 255) { rgb(color); u8(alpha); }
    void rect(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax)
    {
        align();
        ub(20, 5);
        for (int32_t v : {xMin, xMax, yMin, yMax})
            sb(v, 20);
        align();
    }
    // Scale and translation only (scale as 16.16 in 24 bits, translation in 20).
    void matrix(double scaleX = 1, double scaleY = 1, int32_t tx = 0, int32_t ty = 0)
    {
        align();
        flag(true);
        ub(24, 5);
        sb(static_cast<int32_t>(scaleX * 65536), 24);
        sb(static_cast<int32_t>(scaleY * 65536), 24);
        flag(false);
        ub(20, 5);
        sb(tx, 20);
        sb(ty, 20);
        align();
    }
    const QByteArray &bytes() { align(); return bytes_; }
    void append(const QByteArray &more) { align(); bytes_.append(more); }
    int size() const { return bytes_.size(); }

private:
    void flushByte()
    {
        bytes_.append(static_cast<char>(current_));
        current_ = 0;
        used_ = 0;
    }
    QByteArray bytes_;
    uint8_t current_ = 0;
    unsigned used_ = 0;
};

// Shape records with fixed index widths.
class RecordWriter {
public:
    RecordWriter(BitWriter &w, unsigned fillBits = 4, unsigned lineBits = 4)
        : w_(w), fillBits_(fillBits), lineBits_(lineBits) {}

    void bitCounts() { w_.ub(fillBits_, 4); w_.ub(lineBits_, 4); }
    // -1 leaves a style unchanged.
    void style(int fill0, int fill1, int line = -1) { change(false, 0, 0, fill0, fill1, line); }
    void moveTo(int32_t x, int32_t y, int fill0 = -1, int fill1 = -1, int line = -1)
    {
        change(true, x, y, fill0, fill1, line);
    }
    void lineBy(int32_t dx, int32_t dy)
    {
        w_.ub(1, 1);  // edge
        w_.ub(1, 1);  // straight
        w_.ub(15, 4); // 17 bits per delta
        w_.flag(true);
        w_.sb(dx, 17);
        w_.sb(dy, 17);
    }
    void curveBy(int32_t cdx, int32_t cdy, int32_t adx, int32_t ady)
    {
        w_.ub(1, 1);
        w_.ub(0, 1);
        w_.ub(15, 4);
        for (int32_t v : {cdx, cdy, adx, ady})
            w_.sb(v, 17);
    }
    // A new-styles record: the caller writes the arrays in `writeArrays`.
    template <class Fn>
    void newStyles(Fn writeArrays, int fill0 = -1, int fill1 = -1, int line = -1)
    {
        w_.ub(0, 1);
        w_.ub(0x10 | (fill0 >= 0 ? 0x02 : 0) | (fill1 >= 0 ? 0x04 : 0) | (line >= 0 ? 0x08 : 0), 5);
        writeIndices(fill0, fill1, line);
        writeArrays();
        bitCounts();
    }
    void end() { w_.ub(0, 6); w_.align(); }

private:
    void change(bool move, int32_t x, int32_t y, int fill0, int fill1, int line)
    {
        w_.ub(0, 1);
        w_.ub((line >= 0 ? 0x08 : 0) | (fill1 >= 0 ? 0x04 : 0) | (fill0 >= 0 ? 0x02 : 0) | (move ? 1 : 0), 5);
        if (move) {
            w_.ub(20, 5);
            w_.sb(x, 20);
            w_.sb(y, 20);
        }
        writeIndices(fill0, fill1, line);
    }
    void writeIndices(int fill0, int fill1, int line)
    {
        if (fill0 >= 0)
            w_.ub(fill0, fillBits_);
        if (fill1 >= 0)
            w_.ub(fill1, fillBits_);
        if (line >= 0)
            w_.ub(line, lineBits_);
    }
    BitWriter &w_;
    unsigned fillBits_;
    unsigned lineBits_;
};

// Loads one definition tag into `dictionary`.
template <class Handler>
void Define(Handler handler, uint16_t code, const QByteArray &body, swf::Dictionary &dictionary,
            swf::MemoryBudget *budget = nullptr)
{
    swf::MemoryBudget ownBudget;
    swf::DefineContext ctx{8, dictionary, budget ? *budget : ownBudget, {}};
    swf::Tag tag{code, swf::SwfReader(reinterpret_cast<const uint8_t *>(body.constData()), size_t(body.size()))};
    handler(tag, ctx);
}

// Draws `character` at 1 pixel per 20 twips onto a white picture.
inline QImage Render(const swf::Character &character, int width, int height, swf::Quality quality = swf::Quality::Low,
                     const swf::ColorTransform &cx = {}, uint16_t ratio = 0, const swf::Dictionary *dictionary = nullptr,
                     const swf::Matrix &toStage = {})
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    swf::RenderContext ctx;
    ctx.painter = &painter;
    ctx.stageToDevice = QTransform::fromScale(1 / 20.0, 1 / 20.0);
    ctx.quality = quality;
    ctx.dictionary = dictionary;
    character.render(ctx, toStage, cx, ratio);
    return image;
}

}  // namespace shapetest
