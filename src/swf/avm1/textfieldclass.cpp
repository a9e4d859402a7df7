// TextField: the methods of TextField.prototype, and MovieClip's
// createTextField that makes one.

#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/textformatclass.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// createTextField returns the new field from this version on.
constexpr int kReturnsFieldVersion = 8;

TextFieldObject *ThisField(const Value &self)
{
    auto *field = dynamic_cast<TextFieldObject *>(self.object());
    return field && field->field() ? field : nullptr;
}

// An index argument as an integer within the text; `fallback` when absent.
int IndexArg(Machine &m, const Args &args, size_t i, int fallback, int length)
{
    if (i >= args.size() || args[i].isUndefined())
        return fallback;
    const double n = m.toNumber(args[i]);
    if (std::isnan(n))
        return 0;
    return int(std::clamp(std::trunc(n), -1.0, double(length)));
}

// The range the optional (begin, end) arguments name: the whole text, one
// character, or the range.
bool RangeArgs(Machine &m, const Args &args, size_t count, int length, int &begin, int &end)
{
    begin = count > 0 ? IndexArg(m, args, 0, 0, length) : 0;
    end = count > 1 ? IndexArg(m, args, 1, length, length) : (count > 0 ? begin + 1 : length);
    if (begin < 0 || end < begin)
        return false;
    end = std::min(end, length);
    return true;
}

Value GetTextFormat(Machine &m, const Value &self, const Args &args)
{
    TextFieldObject *object = ThisField(self);
    if (!object)
        return {};
    TextFieldCharacter &field = *object->field();
    const int length = field.content().size();
    int begin = 0, end = 0;
    if (!RangeArgs(m, args, std::min<size_t>(args.size(), 2), length, begin, end))
        return Value(NewTextFormatObject(m, TextFormat()));
    if (length == 0)
        return Value(NewTextFormatObject(m, field.newTextFormat));
    if (begin >= length)
        return Value(NewTextFormatObject(m, TextFormat()));
    return Value(NewTextFormatObject(m, field.content().commonFormat(begin, std::max(end, begin + 1))));
}

Value SetTextFormat(Machine &m, const Value &self, const Args &args)
{
    TextFieldObject *object = ThisField(self);
    if (!object || args.size() == 0)
        return {};
    const size_t formatAt = std::min<size_t>(args.size() - 1, 2);
    if (!args[formatAt].isObject())
        return {};
    TextFieldCharacter &field = *object->field();
    int begin = 0, end = 0;
    if (!RangeArgs(m, args, formatAt, field.content().size(), begin, end))
        return {};
    field.content().applyFormat(begin, end, ReadTextFormat(m, args[formatAt].object()));
    field.changed();
    return {};
}

Value GetNewTextFormat(Machine &m, const Value &self, const Args &)
{
    TextFieldObject *object = ThisField(self);
    return object ? Value(NewTextFormatObject(m, object->field()->newTextFormat)) : Value();
}

Value SetNewTextFormat(Machine &m, const Value &self, const Args &args)
{
    TextFieldObject *object = ThisField(self);
    if (object && args[0].isObject())
        object->field()->newTextFormat.mergeFrom(ReadTextFormat(m, args[0].object()));
    return {};
}

void Replace(Machine &m, TextFieldObject &object, int begin, int end, const Value &text)
{
    TextFieldCharacter &field = *object.field();
    const TextFormat format = field.content().size() ? field.content().formatAt(begin) : field.newTextFormat;
    field.content().replace(begin, end, QString::fromStdString(m.toString(text)), format);
    field.changed();
    object.pushVariable(m);
}

Value ReplaceText(Machine &m, const Value &self, const Args &args)
{
    TextFieldObject *object = ThisField(self);
    if (!object || args.size() < 3)
        return {};
    const int length = object->field()->content().size();
    const double begin = m.toNumber(args[0]);
    const double end = m.toNumber(args[1]);
    if (!(begin >= 0) || !(end >= begin) || begin > length)
        return {};
    Replace(m, *object, int(begin), int(std::min(end, double(length))), args[2]);
    return {};
}

// The focused field's selection, with the caret after what went in;
// without the focus the field takes the text at its end.
Value ReplaceSel(Machine &m, const Value &self, const Args &args)
{
    TextFieldObject *object = ThisField(self);
    if (!object || args.size() < 1)
        return {};
    TextFieldCharacter &field = *object->field();
    const int length = field.content().size();
    const bool focused = m.focus && m.focus->current() == object;
    const FieldSelection selection = focused ? m.focus->fieldSelection() : FieldSelection{length, length};
    const int begin = std::clamp(std::min(selection.begin, selection.end), 0, length);
    const int end = std::clamp(std::max(selection.begin, selection.end), 0, length);
    const QString text = FormattedText::normalizedBreaks(QString::fromStdString(m.toString(args[0])));
    field.content().replace(begin, end, text, field.newTextFormat);
    field.changed();
    object->pushVariable(m);
    if (focused)
        m.focus->setFieldSelection({begin + int(text.size()), begin + int(text.size())});
    return {};
}

Value RemoveTextField(Machine &m, const Value &self, const Args &)
{
    if (TextFieldObject *object = ThisField(self)) {
        DropFocusFrom(m, object);
        object->removeFromParent();
    }
    return {};
}

Value GetDepth(Machine &, const Value &self, const Args &)
{
    TextFieldObject *object = ThisField(self);
    return object ? Value(double(object->depth())) : Value();
}

Value CreateTextField(Machine &m, const Value &self, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    if (!clip || !clip->state() || args.size() < 6)
        return {};
    double numbers[5];
    for (size_t i = 0; i < 5; ++i) {
        numbers[i] = m.toNumber(args[i + 1]);
        if (!std::isfinite(numbers[i]))
            numbers[i] = 0;
    }
    const auto twips = [](double pixels) { return int32_t(std::clamp(std::round(pixels * 20), -1e9, 1e9)); };
    const Rect box{0, twips(std::abs(numbers[3])), 0, twips(std::abs(numbers[4]))};
    Object *made = clip->binding().createTextField(clip, m.toString(args[0]), numbers[0], box);
    if (!made)
        return {};
    m.set(made, "_x", Value(numbers[1]));
    m.set(made, "_y", Value(numbers[2]));
    return m.version() >= kReturnsFieldVersion ? Value(made) : Value();
}

Value GetFontList(Machine &m, const Value &, const Args &)
{
    return Value(m.newArray({Value("_sans"), Value("_serif"), Value("_typewriter")}));
}

Value Call(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

void InstallTextFieldClass(Machine &m)
{
    m.textFieldProto = m.newObject();
    FunctionObject *constructor = DefineClass(m, "TextField", m.textFieldProto, Call);
    m.defineMethod(constructor, "getFontList", GetFontList);
    struct Method {
        const char *name;
        NativeFunction fn;
        uint16_t flags;
    };
    // SWF 5 movies make fields but see none of their methods; replaceText
    // came a version later.
    const Method methods[] = {
        {"getTextFormat", GetTextFormat, kVersion6Up},
        {"setTextFormat", SetTextFormat, kVersion6Up},
        {"getNewTextFormat", GetNewTextFormat, kVersion6Up},
        {"setNewTextFormat", SetNewTextFormat, kVersion6Up},
        {"replaceText", ReplaceText, kVersion7Up},
        {"replaceSel", ReplaceSel, kVersion6Up},
        {"removeTextField", RemoveTextField, kVersion6Up},
        {"getDepth", GetDepth, kVersion6Up},
    };
    for (const Method &method : methods)
        m.defineMethod(m.textFieldProto, method.name, method.fn, kDontEnum | method.flags);
    m.defineMethod(m.clipProto, "createTextField", CreateTextField);
    InstallTextFormatClass(m);
    InstallTextSnapshotClass(m);
}

}  // namespace swf::avm1
