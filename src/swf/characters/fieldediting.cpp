#include "swf/characters/fieldediting.h"

#include <algorithm>

#include "swf/characters/textfieldcharacter.h"

namespace swf {

namespace {

constexpr QChar kBreak = QLatin1Char('\r');

void Collapse(FieldSelection &selection, int at) { selection.begin = selection.end = at; }

// What of `text` the field lets in, given room for `room` characters.
QString Admitted(const TextFieldSettings &settings, const QString &text, int room)
{
    QString out;
    for (QChar c : FormattedText::normalizedBreaks(text)) {
        if (int(out.size()) >= room)
            break;
        if (c == kBreak ? !settings.multiline : c.category() == QChar::Other_Control)
            continue;
        if (settings.restrict && !RestrictAllows(*settings.restrict, c))
            continue;
        out += c;
    }
    return out;
}

// The line of the layout the caret is in; the paragraph when the layout
// shows no line there.
std::pair<int, int> LineAround(const TextFieldCharacter &field, int index)
{
    for (const TextLine &line : field.lines()) {
        int end = line.start + line.length;
        if (end > line.start && end <= field.content().size() && field.content().text().at(end - 1) == QLatin1Char(' ')
            && end < field.content().size())
            --end;  // a wrapped line's caret stops before the space it broke at
        if (index >= line.start && index <= end)
            return {line.start, end};
    }
    const QString &text = field.content().text();
    const int start = index > 0 ? int(text.lastIndexOf(kBreak, index - 1)) + 1 : 0;
    int stop = int(text.indexOf(kBreak, index));
    return {start, stop < 0 ? int(text.size()) : stop};
}

bool Remove(TextFieldCharacter &field, FieldSelection &selection, int begin, int end)
{
    if (begin >= end)
        return false;
    field.content().replace(begin, end, QString(), field.newTextFormat);
    field.changed();
    Collapse(selection, begin);
    return true;
}

bool Copyable(const TextFieldCharacter &field)
{
    return !field.settings().password && (field.settings().selectable || field.settings().editable);
}

}  // namespace

std::optional<TextControl> TextControlFromName(const QString &name)
{
    static const std::pair<const char *, TextControl> kNames[] = {
        {"MoveLeft", TextControl::MoveLeft},         {"MoveRight", TextControl::MoveRight},
        {"MoveLeftLine", TextControl::MoveLeftLine}, {"MoveRightLine", TextControl::MoveRightLine},
        {"Backspace", TextControl::Backspace},       {"Delete", TextControl::Delete},
        {"Enter", TextControl::Enter},               {"SelectAll", TextControl::SelectAll},
        {"Copy", TextControl::Copy},                 {"Cut", TextControl::Cut},
        {"Paste", TextControl::Paste},
    };
    for (const auto &[known, control] : kNames)
        if (name == QLatin1String(known))
            return control;
    return std::nullopt;
}

bool TypeIntoField(TextFieldCharacter &field, FieldSelection &selection, const QString &text)
{
    const TextFieldSettings &settings = field.settings();
    if (!settings.editable)
        return false;
    const int length = field.content().size();
    const int begin = std::clamp(std::min(selection.begin, selection.end), 0, length);
    const int end = std::clamp(std::max(selection.begin, selection.end), 0, length);
    const int room = settings.maxChars > 0 ? std::max(0, settings.maxChars - (length - (end - begin))) : length + int(text.size());
    const QString admitted = Admitted(settings, text, room);
    if (admitted.isEmpty())
        return false;
    field.content().replace(begin, end, admitted, field.newTextFormat);
    field.changed();
    Collapse(selection, begin + int(admitted.size()));
    return true;
}

bool ApplyTextControl(TextFieldCharacter &field, FieldSelection &selection, TextControl control,
                      QString &clipboard)
{
    const int length = field.content().size();
    const int begin = std::clamp(std::min(selection.begin, selection.end), 0, length);
    const int end = std::clamp(std::max(selection.begin, selection.end), 0, length);
    const int caret = std::clamp(selection.end, 0, length);
    const bool editable = field.settings().editable;
    switch (control) {
    case TextControl::MoveLeft:
        Collapse(selection, begin < end ? begin : std::max(0, caret - 1));
        return false;
    case TextControl::MoveRight:
        Collapse(selection, begin < end ? end : std::min(length, caret + 1));
        return false;
    case TextControl::MoveLeftLine:
        Collapse(selection, LineAround(field, caret).first);
        return false;
    case TextControl::MoveRightLine:
        Collapse(selection, LineAround(field, caret).second);
        return false;
    case TextControl::SelectAll:
        selection = {0, length};
        return false;
    case TextControl::Backspace:
        return editable && Remove(field, selection, begin < end ? begin : std::max(0, caret - 1), begin < end ? end : caret);
    case TextControl::Delete:
        return editable && Remove(field, selection, begin < end ? begin : caret, begin < end ? end : std::min(length, caret + 1));
    case TextControl::Enter:
        return TypeIntoField(field, selection, QString(kBreak));
    case TextControl::Copy:
    case TextControl::Cut:
        if (!Copyable(field) || begin == end)
            return false;
        clipboard = field.content().text().mid(begin, end - begin);
        return control == TextControl::Cut && editable && Remove(field, selection, begin, end);
    case TextControl::Paste:
        return TypeIntoField(field, selection, clipboard);
    }
    return false;
}

bool RestrictAllows(const QString &restrict, QChar c)
{
    bool allowed = restrict.startsWith(QLatin1Char('^'));
    bool including = true;
    for (qsizetype i = 0; i < restrict.size(); ++i) {
        QChar first = restrict[i];
        if (first == QLatin1Char('^')) {
            including = !including;
            continue;
        }
        if (first == QLatin1Char('\\') && i + 1 < restrict.size())
            first = restrict[++i];
        QChar last = first;
        if (i + 2 < restrict.size() && restrict[i + 1] == QLatin1Char('-')) {
            i += 2;
            last = restrict[i] == QLatin1Char('\\') && i + 1 < restrict.size() ? restrict[++i] : restrict[i];
        }
        if (c >= first && c <= last)
            allowed = including;
    }
    return allowed;
}

}  // namespace swf
