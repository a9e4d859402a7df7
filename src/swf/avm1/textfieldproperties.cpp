// The properties a text field answers itself: its display properties
// (_x, _width...) and the field's own (text, border, autoSize...).

#include <cmath>

#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/textutil.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/displaylist.h"

namespace swf::avm1 {

namespace {

struct Field {
    Machine &machine;
    TextFieldObject &self;
    TextFieldCharacter &text;
    DisplayObject &object;
};

using Getter = Value (*)(Field &);
using Setter = void (*)(Field &, const Value &);

struct Entry {
    const char *name;
    Getter get;
    Setter set;  // null: read only
};

Value Str(const QString &s) { return Value(s.toStdString()); }
QString QStr(Machine &m, const Value &v) { return QString::fromStdString(m.toString(v)); }

// A setter of a number that leaves the field alone for NaN and infinities.
template <void (*Apply)(Field &, double)> void SetFinite(Field &f, const Value &v)
{
    const double n = f.machine.toNumber(v);
    if (std::isfinite(n))
        Apply(f, n);
}

// The box in the parent's space, in twips.
QRectF BoxInParent(const Field &f)
{
    return f.object.matrix.toQTransform().mapRect(f.text.bounds().toQRectF());
}

void ResizeBox(Field &f, bool width, double pixels)
{
    Rect box = f.text.bounds();
    const double scale = width ? XScale(f.object) : YScale(f.object);
    if (scale == 0)
        return;
    const double twips = std::max(0.0, std::round(pixels * kTwipsPerPixel * 100.0 / scale));
    if (width)
        box.xMax = box.xMin + int32_t(std::min(twips, 1e9));
    else
        box.yMax = box.yMin + int32_t(std::min(twips, 1e9));
    f.text.setBounds(box);
}

// A flag of the settings, read and written as a boolean.
template <bool TextFieldSettings::*Flag> Value GetFlag(Field &f) { return Value(f.text.settings().*Flag); }
template <bool TextFieldSettings::*Flag> void SetFlag(Field &f, const Value &v)
{
    f.text.settings().*Flag = f.machine.toBoolean(v);
    f.text.changed();
}

template <uint32_t TextFieldSettings::*Color> Value GetColor(Field &f) { return Value(double(f.text.settings().*Color)); }
template <uint32_t TextFieldSettings::*Color> void SetColor(Field &f, const Value &v)
{
    f.text.settings().*Color = ToUint32(f.machine.toNumber(v)) & 0xFFFFFF;
    f.text.changed();
}

const char *const kAutoSizeNames[] = {"none", "left", "right", "center"};

Value GetAutoSize(Field &f) { return Value(kAutoSizeNames[int(f.text.settings().autoSize)]); }
void SetAutoSize(Field &f, const Value &v)
{
    AutoSize size = f.text.settings().autoSize;
    if (v.isBoolean()) {
        size = v.boolean() ? AutoSize::Left : AutoSize::None;
    } else {
        const std::string name = f.machine.toString(v);
        for (int i = 0; i < 4; ++i)
            if (name == kAutoSizeNames[i])
                size = AutoSize(i);
        if (name == "true")
            size = AutoSize::Left;
    }
    f.text.settings().autoSize = size;
    f.text.changed();
}

Value GetText(Field &f)
{
    f.self.pullVariable(f.machine);
    return Str(f.text.content().text());
}
void SetText(Field &f, const Value &v) { f.self.setText(f.machine, QStr(f.machine, v), false); }

Value GetHtmlText(Field &f)
{
    f.self.pullVariable(f.machine);
    return Str(f.text.settings().html ? f.text.htmlText() : f.text.content().text());
}
void SetHtmlText(Field &f, const Value &v) { f.self.setText(f.machine, QStr(f.machine, v), f.text.settings().html); }

Value GetTextColor(Field &f)
{
    const TextFormat format = f.text.content().size() ? f.text.content().formatAt(0) : f.text.newTextFormat;
    return Value(double(format.color.value_or(0)));
}
void SetTextColor(Field &f, const Value &v)
{
    TextFormat color;
    color.color = ToUint32(f.machine.toNumber(v)) & 0xFFFFFF;
    f.text.content().applyFormat(0, f.text.content().size(), color);
    f.text.newTextFormat.mergeFrom(color);
    f.text.changed();
}

Value GetType(Field &f) { return Value(f.text.settings().editable ? "input" : "dynamic"); }
void SetType(Field &f, const Value &v)
{
    const std::string type = f.machine.toString(v);
    if (type == "input" || type == "dynamic")
        f.text.settings().editable = type == "input";
}

Value GetMaxChars(Field &f)
{
    const int max = f.text.settings().maxChars;
    return max > 0 ? Value(double(max)) : Value::null();
}
void SetMaxChars(Field &f, const Value &v)
{
    const double n = f.machine.toNumber(v);
    f.text.settings().maxChars = std::isfinite(n) && n > 0 ? int(std::min(n, 1e9)) : 0;
}

Value GetRestrict(Field &f)
{
    const auto &restrict = f.text.settings().restrict;
    return restrict ? Str(*restrict) : Value::null();
}
void SetRestrict(Field &f, const Value &v)
{
    if (v.isNullish())
        f.text.settings().restrict.reset();
    else
        f.text.settings().restrict = QStr(f.machine, v);
}

Value GetVariable(Field &f)
{
    const QString &name = f.text.settings().variable;
    return name.isEmpty() ? Value::null() : Str(name);
}
void SetVariable(Field &f, const Value &v)
{
    f.text.settings().variable = v.isNullish() ? QString() : QStr(f.machine, v);
    f.self.pullVariable(f.machine);
}

Value GetLength(Field &f)
{
    f.self.pullVariable(f.machine);
    return Value(double(f.text.content().size()));
}
Value GetTextWidth(Field &f) { return Value(f.text.textWidth()); }
Value GetTextHeight(Field &f) { return Value(f.text.textHeight()); }

int MaxScroll(const TextFieldCharacter &text)
{
    return std::max(1, text.lineCount() - text.visibleLines() + 1);
}
Value GetScroll(Field &f) { return Value(double(std::min(f.text.scroll, MaxScroll(f.text)))); }
void ApplyScroll(Field &f, double n) { f.text.scroll = int(std::clamp(n, 1.0, double(MaxScroll(f.text)))); }
Value GetMaxScroll(Field &f) { return Value(double(MaxScroll(f.text))); }
Value GetBottomScroll(Field &f)
{
    return Value(double(std::min(f.text.lineCount(), f.text.scroll + f.text.visibleLines() - 1)));
}
// Lines are not scrolled sideways: hscroll stays within maxhscroll, 0.
void IgnoreWrite(Field &, const Value &) {}
Value GetZero(Field &) { return Value(0.0); }

// Display properties.
Value GetX(Field &f) { return Value(f.object.matrix.tx / kTwipsPerPixel); }
void ApplyX(Field &f, double n) { f.object.matrix.tx = std::round(n * kTwipsPerPixel); }
Value GetY(Field &f) { return Value(f.object.matrix.ty / kTwipsPerPixel); }
void ApplyY(Field &f, double n) { f.object.matrix.ty = std::round(n * kTwipsPerPixel); }
Value GetXScale(Field &f) { return Value(XScale(f.object)); }
void ApplyXScaleProperty(Field &f, double n) { SetXScale(f.object, n); }
Value GetYScale(Field &f) { return Value(YScale(f.object)); }
void ApplyYScaleProperty(Field &f, double n) { SetYScale(f.object, n); }
Value GetRotation(Field &f) { return Value(Rotation(f.object)); }
void ApplyRotationProperty(Field &f, double n) { SetRotation(f.object, n); }
Value GetAlpha(Field &f) { return Value(double(f.object.colorTransform.mult[3]) * 100.0); }
void ApplyAlpha(Field &f, double n) { f.object.colorTransform.mult[3] = float(n / 100.0); }
Value GetVisible(Field &f) { return Value(f.object.visible); }
void SetVisible(Field &f, const Value &v)
{
    f.object.visible = f.machine.toBoolean(v);
    if (!f.object.visible)
        DropFocusFrom(f.machine, &f.self);
}
Value GetWidth(Field &f) { return Value(BoxInParent(f).width() / kTwipsPerPixel); }
void ApplyWidth(Field &f, double n) { ResizeBox(f, true, n); }
Value GetHeight(Field &f) { return Value(BoxInParent(f).height() / kTwipsPerPixel); }
void ApplyHeight(Field &f, double n) { ResizeBox(f, false, n); }
Value GetName(Field &f) { return Value(f.object.name); }
void SetName(Field &f, const Value &v) { f.object.name = f.machine.toString(v); }
Value GetTarget(Field &f)
{
    ClipObject *parent = f.self.parentClip();
    const std::string base = parent ? parent->slashPath() : std::string();
    return Value((base == "/" ? std::string() : base) + "/" + f.object.name);
}
Value GetParent(Field &f)
{
    ClipObject *parent = f.self.parentClip();
    return parent ? Value(parent) : Value();
}
Value GetEmpty(Field &) { return Value(""); }
Value GetHighQuality(Field &) { return Value(1.0); }
Value GetQuality(Field &) { return Value("HIGH"); }
Value GetFocusRect(Field &) { return Value::null(); }
Value GetSoundBufTime(Field &) { return Value(5.0); }

// Names compared as the movie's version does; display properties in any case.
const Entry kDisplayEntries[] = {
    {"_x", GetX, SetFinite<ApplyX>},
    {"_y", GetY, SetFinite<ApplyY>},
    {"_xscale", GetXScale, SetFinite<ApplyXScaleProperty>},
    {"_yscale", GetYScale, SetFinite<ApplyYScaleProperty>},
    {"_rotation", GetRotation, SetFinite<ApplyRotationProperty>},
    {"_alpha", GetAlpha, SetFinite<ApplyAlpha>},
    {"_visible", GetVisible, SetVisible},
    {"_width", GetWidth, SetFinite<ApplyWidth>},
    {"_height", GetHeight, SetFinite<ApplyHeight>},
    {"_name", GetName, SetName},
    {"_target", GetTarget, nullptr},
    {"_parent", GetParent, nullptr},
    {"_url", GetEmpty, nullptr},
    {"_highquality", GetHighQuality, nullptr},
    {"_quality", GetQuality, nullptr},
    {"_focusrect", GetFocusRect, nullptr},
    {"_soundbuftime", GetSoundBufTime, nullptr},
    {"_xmouse", GetZero, nullptr},
    {"_ymouse", GetZero, nullptr},
};

const Entry kFieldEntries[] = {
    {"text", GetText, SetText},
    {"htmlText", GetHtmlText, SetHtmlText},
    {"html", GetFlag<&TextFieldSettings::html>, SetFlag<&TextFieldSettings::html>},
    {"multiline", GetFlag<&TextFieldSettings::multiline>, SetFlag<&TextFieldSettings::multiline>},
    {"wordWrap", GetFlag<&TextFieldSettings::wordWrap>, SetFlag<&TextFieldSettings::wordWrap>},
    {"password", GetFlag<&TextFieldSettings::password>, SetFlag<&TextFieldSettings::password>},
    {"border", GetFlag<&TextFieldSettings::border>, SetFlag<&TextFieldSettings::border>},
    {"background", GetFlag<&TextFieldSettings::background>, SetFlag<&TextFieldSettings::background>},
    {"selectable", GetFlag<&TextFieldSettings::selectable>, SetFlag<&TextFieldSettings::selectable>},
    {"embedFonts", GetFlag<&TextFieldSettings::embedFonts>, SetFlag<&TextFieldSettings::embedFonts>},
    {"condenseWhite", GetFlag<&TextFieldSettings::condenseWhite>, SetFlag<&TextFieldSettings::condenseWhite>},
    {"borderColor", GetColor<&TextFieldSettings::borderColor>, SetColor<&TextFieldSettings::borderColor>},
    {"backgroundColor", GetColor<&TextFieldSettings::backgroundColor>,
     SetColor<&TextFieldSettings::backgroundColor>},
    {"textColor", GetTextColor, SetTextColor},
    {"autoSize", GetAutoSize, SetAutoSize},
    {"type", GetType, SetType},
    {"maxChars", GetMaxChars, SetMaxChars},
    {"restrict", GetRestrict, SetRestrict},
    {"variable", GetVariable, SetVariable},
    {"length", GetLength, nullptr},
    {"textWidth", GetTextWidth, nullptr},
    {"textHeight", GetTextHeight, nullptr},
    {"scroll", GetScroll, SetFinite<ApplyScroll>},
    {"maxscroll", GetMaxScroll, nullptr},
    {"bottomScroll", GetBottomScroll, nullptr},
    {"hscroll", GetZero, IgnoreWrite},
    {"maxhscroll", GetZero, nullptr},
};

constexpr int kFieldPropertiesVersion = 6;

const Entry *FindEntry(Machine &machine, const std::string &name)
{
    if (!name.empty() && name[0] == '_') {
        const std::string lower = ToLowerText(name);
        for (const Entry &entry : kDisplayEntries)
            if (lower == entry.name)
                return &entry;
        return nullptr;
    }
    // SWF 5 knew fields only by their variables, not their properties.
    if (machine.version() < kFieldPropertiesVersion)
        return nullptr;
    const std::string wanted = machine.key(name);
    for (const Entry &entry : kFieldEntries)
        if (wanted == machine.key(entry.name))
            return &entry;
    return nullptr;
}

}  // namespace

Value TextFieldObject::getSpecial(Machine &machine, const std::string &name, bool &found)
{
    found = false;
    TextFieldCharacter *text = field();
    DisplayObject *object = displayObject();
    const Entry *entry = text && object ? FindEntry(machine, name) : nullptr;
    if (!entry)
        return {};
    found = true;
    Field f{machine, *this, *text, *object};
    return entry->get(f);
}

bool TextFieldObject::setSpecial(Machine &machine, const std::string &name, const Value &value)
{
    TextFieldCharacter *text = field();
    DisplayObject *object = displayObject();
    const Entry *entry = text && object ? FindEntry(machine, name) : nullptr;
    if (!entry)
        return false;
    if (entry->set) {
        Field f{machine, *this, *text, *object};
        entry->set(f, value);
    }
    return true;
}

}  // namespace swf::avm1
