#include "swfbuilder.h"

#include <lzma.h>
#include <zlib.h>

#include <cmath>
#include <cstring>

namespace swftest {

void BitWriter::ub(uint32_t value, unsigned bits)
{
    for (unsigned i = bits; i-- > 0;) {
        partial_ = uint8_t((partial_ << 1) | ((value >> i) & 1u));
        if (++partialBits_ == 8) {
            data_.append(char(partial_));
            partial_ = 0;
            partialBits_ = 0;
        }
    }
}

void BitWriter::sb(int32_t value, unsigned bits)
{
    ub(uint32_t(value), bits);
}

void BitWriter::fb(double value, unsigned bits)
{
    sb(int32_t(std::lround(value * 65536.0)), bits);
}

void BitWriter::align()
{
    if (partialBits_ > 0)
        ub(0, 8 - partialBits_);
}

void BitWriter::u8(uint8_t value)
{
    align();
    data_.append(char(value));
}

void BitWriter::u16(uint16_t value)
{
    u8(uint8_t(value));
    u8(uint8_t(value >> 8));
}

void BitWriter::u32(uint32_t value)
{
    u16(uint16_t(value));
    u16(uint16_t(value >> 16));
}

void BitWriter::string(const std::string &text)
{
    align();
    data_.append(text.data(), qsizetype(text.size()));
    data_.append('\0');
}

void BitWriter::bytes(const QByteArray &data)
{
    align();
    data_.append(data);
}

unsigned SignedBits(std::initializer_list<int32_t> values)
{
    unsigned bits = 1;
    for (int32_t v : values) {
        unsigned needed = 1;
        while (needed < 32 && (v < -(int64_t(1) << (needed - 1)) || v >= (int64_t(1) << (needed - 1))))
            ++needed;
        bits = std::max(bits, needed);
    }
    return bits;
}

void BitWriter::rect(const swf::Rect &r)
{
    align();
    const unsigned bits = SignedBits({r.xMin, r.xMax, r.yMin, r.yMax});
    ub(bits, 5);
    sb(r.xMin, bits);
    sb(r.xMax, bits);
    sb(r.yMin, bits);
    sb(r.yMax, bits);
    align();
}

void BitWriter::matrix(const swf::Matrix &m)
{
    align();
    // Scale and rotate-skew are each an optional pair of 16.16 numbers.
    const auto pair = [this](bool present, double first, double second) {
        ub(present, 1);
        if (!present)
            return;
        const auto fixed = [](double v) { return int32_t(std::lround(v * 65536.0)); };
        const unsigned bits = SignedBits({fixed(first), fixed(second)});
        ub(bits, 5);
        fb(first, bits);
        fb(second, bits);
    };
    pair(m.a != 1 || m.d != 1, m.a, m.d);
    pair(m.b != 0 || m.c != 0, m.b, m.c);
    const int32_t tx = int32_t(std::lround(m.tx));
    const int32_t ty = int32_t(std::lround(m.ty));
    const unsigned bits = (tx == 0 && ty == 0) ? 0 : SignedBits({tx, ty});
    ub(bits, 5);
    sb(tx, bits);
    sb(ty, bits);
    align();
}

void BitWriter::colorTransform(const swf::ColorTransform &cx, bool withAlpha)
{
    align();
    const int channels = withAlpha ? 4 : 3;
    int32_t mult[4], add[4];
    bool hasMult = false, hasAdd = false;
    for (int i = 0; i < channels; ++i) {
        mult[i] = int32_t(std::lround(cx.mult[i] * 256));
        add[i] = int32_t(std::lround(cx.add[i]));
        hasMult |= mult[i] != 256;
        hasAdd |= add[i] != 0;
    }
    unsigned bits = 1;
    for (int i = 0; i < channels; ++i)
        bits = std::max({bits, SignedBits({mult[i]}), SignedBits({add[i]})});
    ub(hasAdd, 1);
    ub(hasMult, 1);
    ub(bits, 4);
    for (int i = 0; hasMult && i < channels; ++i)
        sb(mult[i], bits);
    for (int i = 0; hasAdd && i < channels; ++i)
        sb(add[i], bits);
    align();
}

void BitWriter::rgb(const swf::Rgba &c)
{
    u8(c.r);
    u8(c.g);
    u8(c.b);
}

void BitWriter::rgba(const swf::Rgba &c)
{
    rgb(c);
    u8(c.a);
}

const QByteArray &BitWriter::data()
{
    align();
    return data_;
}

Placement PlaceCharacter(uint16_t depth, int characterId)
{
    Placement p;
    p.depth = depth;
    p.characterId = characterId;
    return p;
}

SwfBuilder::SwfBuilder(uint8_t version, const swf::Rect &stage, double frameRate, uint16_t frameCount)
    : version_(version), stage_(stage), frameRate_(frameRate), frameCount_(frameCount)
{
}

QByteArray SwfBuilder::tagBytes(uint16_t code, const QByteArray &body, bool longForm)
{
    BitWriter w;
    if (body.size() < 0x3f && !longForm) {
        w.u16(uint16_t(code << 6 | body.size()));
    } else {
        w.u16(uint16_t(code << 6 | 0x3f));
        w.u32(uint32_t(body.size()));
    }
    w.bytes(body);
    return w.data();
}

SwfBuilder &SwfBuilder::tag(uint16_t code, const QByteArray &body, bool longForm)
{
    tags_.append(tagBytes(code, body, longForm));
    return *this;
}

SwfBuilder &SwfBuilder::setBackgroundColor(const swf::Rgba &colour)
{
    BitWriter w;
    w.rgb(colour);
    return tag(9, w.data());
}

QByteArray SwfBuilder::rectangleShapeBody(uint16_t id, const swf::Rect &r, const swf::Rgba &colour)
{
    BitWriter w;
    w.u16(id);
    w.rect(r);
    w.u8(1);     // one fill style
    w.u8(0x00);  // solid
    w.rgba(colour);
    w.u8(0);     // no line styles
    w.ub(1, 4);  // fill index bits
    w.ub(0, 4);  // line index bits
    // Style change: move to the top left corner, fill style 1 on the right.
    const unsigned moveBits = SignedBits({r.xMin, r.yMin});
    w.ub(0, 1);
    w.ub(0b00101, 5);
    w.ub(moveBits, 5);
    w.sb(r.xMin, moveBits);
    w.sb(r.yMin, moveBits);
    w.ub(1, 1);
    // Clockwise on screen: right, down, left, up (vertical/horizontal edges).
    const int32_t width = r.xMax - r.xMin, height = r.yMax - r.yMin;
    const struct { bool vertical; int32_t delta; } edges[] = {
        {false, width}, {true, height}, {false, -width}, {true, -height}};
    for (const auto &edge : edges) {
        const unsigned bits = std::max(2u, SignedBits({edge.delta}));
        w.ub(1, 1);  // edge
        w.ub(1, 1);  // straight
        w.ub(bits - 2, 4);
        w.ub(0, 1);  // not general
        w.ub(edge.vertical, 1);
        w.sb(edge.delta, bits);
    }
    w.ub(0, 6);  // end of shape
    return w.data();
}

SwfBuilder &SwfBuilder::defineRectangle(uint16_t id, const swf::Rect &r, const swf::Rgba &colour)
{
    return tag(32, rectangleShapeBody(id, r, colour));
}

namespace {

QByteArray PlaceBody(const Placement &p, bool version3)
{
    BitWriter w;
    uint8_t flags = 0;
    if (p.move)
        flags |= 0x01;
    if (p.characterId >= 0)
        flags |= 0x02;
    if (p.hasMatrix)
        flags |= 0x04;
    if (p.hasColorTransform)
        flags |= 0x08;
    if (p.ratio >= 0)
        flags |= 0x10;
    if (!p.name.empty())
        flags |= 0x20;
    if (p.clipDepth >= 0)
        flags |= 0x40;
    w.u8(flags);
    if (version3)
        w.u8((p.filterList.isEmpty() ? 0x00 : 0x01) | (p.blendMode >= 0 ? 0x02 : 0x00) | (p.background ? 0x40 : 0x00));
    w.u16(p.depth);
    if (p.characterId >= 0)
        w.u16(uint16_t(p.characterId));
    if (p.hasMatrix)
        w.matrix(p.matrix);
    if (p.hasColorTransform)
        w.colorTransform(p.colorTransform, true);
    if (p.ratio >= 0)
        w.u16(uint16_t(p.ratio));
    if (!p.name.empty())
        w.string(p.name);
    if (p.clipDepth >= 0)
        w.u16(uint16_t(p.clipDepth));
    if (version3)
        w.bytes(p.filterList);
    if (version3 && p.blendMode >= 0)
        w.u8(uint8_t(p.blendMode));
    if (version3 && p.background)
        w.rgba(*p.background);
    return w.data();
}

}  // namespace

QByteArray SwfBuilder::placeObject2Body(const Placement &p)
{
    return PlaceBody(p, false);
}

QByteArray SwfBuilder::placeObject3Body(const Placement &p)
{
    return PlaceBody(p, true);
}

SwfBuilder &SwfBuilder::placeObject3(const Placement &p)
{
    return tag(70, placeObject3Body(p));
}

SwfBuilder &SwfBuilder::placeObject2(const Placement &p)
{
    return tag(26, placeObject2Body(p));
}

SwfBuilder &SwfBuilder::removeObject2(uint16_t depth)
{
    BitWriter w;
    w.u16(depth);
    return tag(28, w.data());
}

SwfBuilder &SwfBuilder::frameLabel(const std::string &label)
{
    BitWriter w;
    w.string(label);
    return tag(43, w.data());
}

SwfBuilder &SwfBuilder::doAction(const QByteArray &actionBytes)
{
    return tag(12, actionBytes + QByteArray(1, '\0'));
}

SwfBuilder &SwfBuilder::defineSprite(uint16_t id, uint16_t frameCount, const QByteArray &spriteTags)
{
    BitWriter w;
    w.u16(id);
    w.u16(frameCount);
    w.bytes(spriteTags);
    w.bytes(tagBytes(0, {}));
    return tag(39, w.data());
}

namespace {

void WriteButtonRecords(BitWriter &w, const std::vector<ButtonRecord> &records, bool version2)
{
    for (const ButtonRecord &record : records) {
        w.u8(record.states);
        w.u16(record.characterId);
        w.u16(record.depth);
        w.matrix(record.matrix);
        if (version2)
            w.colorTransform(swf::ColorTransform(), true);
    }
    w.u8(0);
}

}  // namespace

SwfBuilder &SwfBuilder::defineButton2(uint16_t id, bool trackAsMenu, const std::vector<ButtonRecord> &records,
                                      const std::vector<ButtonCondition> &conditions)
{
    BitWriter recordBytes;
    WriteButtonRecords(recordBytes, records, true);
    BitWriter w;
    w.u16(id);
    w.u8(trackAsMenu ? 1 : 0);
    w.u16(conditions.empty() ? 0 : uint16_t(2 + recordBytes.data().size()));
    w.bytes(recordBytes.data());
    for (size_t i = 0; i < conditions.size(); ++i) {
        const QByteArray actionBytes = conditions[i].actions + QByteArray(1, '\0');
        const bool last = i + 1 == conditions.size();
        w.u16(last ? 0 : uint16_t(4 + actionBytes.size()));
        w.u16(conditions[i].conditions);
        w.bytes(actionBytes);
    }
    return tag(34, w.data());
}

SwfBuilder &SwfBuilder::defineButton(uint16_t id, const std::vector<ButtonRecord> &records, const QByteArray &actions)
{
    BitWriter w;
    w.u16(id);
    WriteButtonRecords(w, records, false);
    w.bytes(actions + QByteArray(1, '\0'));
    return tag(7, w.data());
}

QByteArray SwfBuilder::zlibCompress(const QByteArray &data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(out.data()), &size,
              reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

QByteArray SwfBuilder::lzmaCompress(const QByteArray &data)
{
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 1);
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&stream, &options) != LZMA_OK)
        return {};
    QByteArray out(data.size() + data.size() / 2 + 4096, '\0');
    stream.next_in = reinterpret_cast<const uint8_t *>(data.constData());
    stream.avail_in = size_t(data.size());
    stream.next_out = reinterpret_cast<uint8_t *>(out.data());
    stream.avail_out = size_t(out.size());
    const lzma_ret status = lzma_code(&stream, LZMA_FINISH);
    const size_t written = size_t(out.size()) - stream.avail_out;
    lzma_end(&stream);
    if (status != LZMA_STREAM_END)
        return {};
    out.resize(qsizetype(written));
    // The "alone" header is 5 property bytes and an 8-byte size; a SWF
    // keeps only the properties.
    return out.left(5) + out.mid(13);
}

QByteArray SwfBuilder::fileWithBody(char signature, uint8_t version, uint32_t recordedLength,
                                    const QByteArray &storedBody)
{
    BitWriter w;
    w.u8(uint8_t(signature));
    w.u8('W');
    w.u8('S');
    w.u8(version);
    w.u32(recordedLength);
    if (signature == 'Z')
        w.u32(uint32_t(std::max<qsizetype>(0, storedBody.size() - 5)));
    w.bytes(storedBody);
    return w.data();
}

QByteArray SwfBuilder::bytes(Compression compression) const
{
    BitWriter w;
    w.rect(stage_);
    w.u16(uint16_t(std::lround(frameRate_ * 256)));
    w.u16(frameCount_);
    w.bytes(tags_);
    const QByteArray body = w.data();
    const uint32_t length = uint32_t(body.size() + 8);
    switch (compression) {
    case Compression::Zlib:
        return fileWithBody('C', version_, length, zlibCompress(body));
    case Compression::Lzma:
        return fileWithBody('Z', version_, length, lzmaCompress(body));
    case Compression::None:
        break;
    }
    return fileWithBody('F', version_, length, body);
}

namespace actions {

namespace {
QByteArray Long(uint8_t code, const QByteArray &payload)
{
    BitWriter w;
    w.u8(code);
    w.u16(uint16_t(payload.size()));
    w.bytes(payload);
    return w.data();
}
}  // namespace

QByteArray stop() { return QByteArray(1, char(0x07)); }
QByteArray play() { return QByteArray(1, char(0x06)); }
QByteArray nextFrame() { return QByteArray(1, char(0x04)); }
QByteArray prevFrame() { return QByteArray(1, char(0x05)); }

QByteArray gotoFrame(uint16_t frame)
{
    BitWriter w;
    w.u16(frame);
    return Long(0x81, w.data());
}

QByteArray gotoLabel(const std::string &label)
{
    BitWriter w;
    w.string(label);
    return Long(0x8c, w.data());
}

QByteArray pushNumber(double value)
{
    BitWriter w;
    w.u8(6);  // double: high 32 bits first, each half little-endian
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    w.u32(uint32_t(bits >> 32));
    w.u32(uint32_t(bits));
    return Long(0x96, w.data());
}

QByteArray pushString(const std::string &text)
{
    BitWriter w;
    w.u8(0);
    w.string(text);
    return Long(0x96, w.data());
}

QByteArray gotoFrame2(bool play)
{
    BitWriter w;
    w.u8(play ? 1 : 0);
    return Long(0x9f, w.data());
}

QByteArray constantPool(const std::vector<std::string> &constants)
{
    BitWriter w;
    w.u16(uint16_t(constants.size()));
    for (const std::string &text : constants)
        w.string(text);
    return Long(0x88, w.data());
}

QByteArray pushConstant(uint8_t index)
{
    BitWriter w;
    w.u8(8);
    w.u8(index);
    return Long(0x96, w.data());
}

}  // namespace actions

}  // namespace swftest
