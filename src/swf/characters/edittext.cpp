// DefineEditText: a text field's properties and initial text.

#include <memory>

#include "swf/characters/definetags.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/fontcharacter.h"

namespace swf {

namespace {

// First flag byte.
constexpr uint8_t kHasText = 0x80;
constexpr uint8_t kWordWrap = 0x40;
constexpr uint8_t kMultiline = 0x20;
constexpr uint8_t kPassword = 0x10;
constexpr uint8_t kReadOnly = 0x08;
constexpr uint8_t kHasTextColor = 0x04;
constexpr uint8_t kHasMaxLength = 0x02;
constexpr uint8_t kHasFont = 0x01;
// Second flag byte.
constexpr uint8_t kHasFontClass = 0x80;
constexpr uint8_t kAutoSize = 0x40;
constexpr uint8_t kHasLayout = 0x20;
constexpr uint8_t kNoSelect = 0x10;
constexpr uint8_t kBorder = 0x08;
constexpr uint8_t kHtml = 0x02;
constexpr uint8_t kUseOutlines = 0x01;

QString decodeString(const std::string &bytes, int swfVersion)
{
    return swfVersion >= 6 ? QString::fromStdString(bytes)
                           : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

void readLayout(SwfReader &body, EditTextProperties &p)
{
    const uint8_t align = body.u8();
    p.align = align <= 3 ? static_cast<TextAlign>(align) : TextAlign::Left;
    p.leftMargin = body.u16();
    p.rightMargin = body.u16();
    p.indent = body.u16();
    p.leading = body.s16();
}

}  // namespace

void DefineEditTextTag(Tag tag, DefineContext &ctx)
{
    SwfReader &body = tag.body;
    const uint16_t id = body.u16();
    EditTextProperties p;
    p.bounds = body.rect();
    const uint8_t flags = body.u8();
    const uint8_t flags2 = body.u8();
    p.wordWrap = flags & kWordWrap;
    p.multiline = flags & kMultiline;
    p.password = flags & kPassword;
    p.border = flags2 & kBorder;
    p.html = flags2 & kHtml;
    p.useOutlines = flags2 & kUseOutlines;
    p.readOnly = flags & kReadOnly;
    p.selectable = !(flags2 & kNoSelect);
    p.autoSize = flags2 & kAutoSize;
    const FontCharacter *font = nullptr;
    if (flags & kHasFont)
        font = ctx.dictionary.findAs<FontCharacter>(body.u16());
    if (flags2 & kHasFontClass)
        body.string();  // a font looked up by class name needs ActionScript 3
    if (flags & kHasFont || flags2 & kHasFontClass)
        p.height = body.u16();
    if (flags & kHasTextColor)
        p.color = body.rgba();
    if (flags & kHasMaxLength)
        p.maxLength = body.u16();
    if (flags2 & kHasLayout)
        readLayout(body, p);
    p.variableName = decodeString(body.string(), ctx.swfVersion);
    if (flags & kHasText)
        p.initialText = decodeString(body.string(), ctx.swfVersion);
    if (body.overrun() && p.bounds.isEmpty())
        return;  // cut before anything that could show
    if (!ctx.dictionary.find(id))
        ctx.dictionary.add(std::make_shared<EditTextCharacter>(id, p, font, ctx.budget));
}

}  // namespace swf
