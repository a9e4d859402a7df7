#pragma once
// Writes small SWF movies for tests: the file header, tags in short or long
// form, and the bit-packed records (rectangles, matrices, colour
// transforms, simple shapes) that tag bodies are made of. Builders for the
// common tags keep tests short; anything else goes in with tag().

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "swf/format/types.h"

namespace swftest {

// Bits most significant first, as SWF packs them; bytes little-endian.
class BitWriter {
public:
    void ub(uint32_t value, unsigned bits);
    void sb(int32_t value, unsigned bits);
    void fb(double value, unsigned bits);  // 16.16 fixed point
    void align();
    void u8(uint8_t value);
    void u16(uint16_t value);
    void u32(uint32_t value);
    void string(const std::string &text);  // zero-terminated
    void bytes(const QByteArray &data);

    void rect(const swf::Rect &r);
    void matrix(const swf::Matrix &m);
    void colorTransform(const swf::ColorTransform &cx, bool withAlpha);
    void rgb(const swf::Rgba &c);
    void rgba(const swf::Rgba &c);

    const QByteArray &data();

private:
    QByteArray data_;
    uint8_t partial_ = 0;
    unsigned partialBits_ = 0;
};

// Signed bits needed for every value in `values`.
unsigned SignedBits(std::initializer_list<int32_t> values);

struct Placement {
    uint16_t depth = 1;
    int characterId = -1;  // -1: none (a move)
    bool move = false;
    bool hasMatrix = false;
    swf::Matrix matrix;
    bool hasColorTransform = false;
    swf::ColorTransform colorTransform;
    int ratio = -1;
    std::string name;
    int clipDepth = -1;
    int blendMode = -1;  // PlaceObject3 only
    QByteArray filterList;  // PlaceObject3 only: the count byte and the records
    std::optional<swf::Rgba> background;  // PlaceObject3 only
};

// One character record of a button: the states that show it (bits 1 up,
// 2 over, 4 down, 8 hit test), where and how.
struct ButtonRecord {
    uint8_t states = 0x0f;
    uint16_t characterId = 0;
    uint16_t depth = 1;
    swf::Matrix matrix;
};

// One condition record of DefineButton2: the transition bits and key code,
// and its actions (the End action is appended).
struct ButtonCondition {
    uint16_t conditions = 0;
    QByteArray actions;
};

// A new object of `characterId` at `depth`, nothing else set.
Placement PlaceCharacter(uint16_t depth, int characterId);

class SwfBuilder {
public:
    enum class Compression { None, Zlib, Lzma };

    SwfBuilder(uint8_t version, const swf::Rect &stage, double frameRate = 12, uint16_t frameCount = 1);

    // Appends a tag; long form when the body is 63 bytes or more, or when
    // asked.
    SwfBuilder &tag(uint16_t code, const QByteArray &body, bool longForm = false);
    SwfBuilder &showFrame() { return tag(1, {}); }
    SwfBuilder &end() { return tag(0, {}); }
    SwfBuilder &setBackgroundColor(const swf::Rgba &colour);
    // DefineShape3 of one rectangle (twips) filled with `colour`.
    SwfBuilder &defineRectangle(uint16_t id, const swf::Rect &r, const swf::Rgba &colour);
    SwfBuilder &placeObject2(const Placement &p);
    SwfBuilder &placeObject3(const Placement &p);
    SwfBuilder &removeObject2(uint16_t depth);
    SwfBuilder &frameLabel(const std::string &label);
    SwfBuilder &doAction(const QByteArray &actions);  // End action appended
    // DefineSprite whose tag list is `tags` (an End tag is appended).
    SwfBuilder &defineSprite(uint16_t id, uint16_t frameCount, const QByteArray &tags);
    SwfBuilder &defineButton2(uint16_t id, bool trackAsMenu, const std::vector<ButtonRecord> &records,
                              const std::vector<ButtonCondition> &conditions = {});
    // DefineButton: its one action list fires on release.
    SwfBuilder &defineButton(uint16_t id, const std::vector<ButtonRecord> &records, const QByteArray &actions);

    // The tags written so far, without any header (for sprite bodies).
    const QByteArray &tags() const { return tags_; }
    // The whole file.
    QByteArray bytes(Compression compression = Compression::None) const;

    // Body bytes of common tags, for use inside sprites and odd files.
    static QByteArray tagBytes(uint16_t code, const QByteArray &body, bool longForm = false);
    static QByteArray placeObject2Body(const Placement &p);
    static QByteArray placeObject3Body(const Placement &p);
    static QByteArray rectangleShapeBody(uint16_t id, const swf::Rect &r, const swf::Rgba &colour);

    // Compresses raw data as a CWS or ZWS body would be stored.
    static QByteArray zlibCompress(const QByteArray &data);
    static QByteArray lzmaCompress(const QByteArray &data);  // raw LZMA, 5 property bytes first
    // A file header and an already compressed or plain body.
    static QByteArray fileWithBody(char signature, uint8_t version, uint32_t recordedLength,
                                   const QByteArray &storedBody);

private:
    uint8_t version_;
    swf::Rect stage_;
    double frameRate_;
    uint16_t frameCount_;
    QByteArray tags_;
};

// Action bytes for frame scripts.
namespace actions {
QByteArray stop();
QByteArray play();
QByteArray nextFrame();
QByteArray prevFrame();
QByteArray gotoFrame(uint16_t frame);
QByteArray gotoLabel(const std::string &label);
QByteArray pushNumber(double value);
QByteArray pushString(const std::string &text);
QByteArray gotoFrame2(bool play);
QByteArray constantPool(const std::vector<std::string> &constants);
QByteArray pushConstant(uint8_t index);
}  // namespace actions

}  // namespace swftest
