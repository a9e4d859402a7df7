#pragma once
// What a person's typing does to the text field that has the keyboard.
// Text goes in only where the field is an input field, in the field's
// format for new text, over the selection; `restrict` and `maxChars`
// filter it first, and input that nothing of survives changes nothing
// (the selection stays). The caret moves in any selectable field. The
// clipboard takes nothing from a password field, and pasting an empty
// clipboard does nothing. Plain functions; one player's thread.

#include <QString>
#include <optional>

namespace swf {

class TextFieldCharacter;

// The editing commands a host sends apart from the characters typed.
enum class TextControl {
    MoveLeft,
    MoveRight,
    MoveLeftLine,   // to the start of the line (Home)
    MoveRightLine,  // to its end (End)
    Backspace,
    Delete,
    Enter,
    SelectAll,
    Copy,
    Cut,
    Paste,
};

// "MoveLeft", "Paste"... as input logs name them.
std::optional<TextControl> TextControlFromName(const QString &name);

// The selected characters [begin, end); the caret is at `end`, and an
// empty selection is only a caret.
struct FieldSelection {
    int begin = 0;
    int end = 0;
};

// Types `text` over the selection; true when the field's text changed.
bool TypeIntoField(TextFieldCharacter &field, FieldSelection &selection, const QString &text);
// Carries out `control`; true when the field's text changed.
bool ApplyTextControl(TextFieldCharacter &field, FieldSelection &selection, TextControl control,
                      QString &clipboard);

// Whether a field's `restrict` lets `c` in: ranges ("A-Z"), a leading or
// later '^' that turns what follows into exclusions, '\' before a
// character taken as itself.
bool RestrictAllows(const QString &restrict, QChar c);

}  // namespace swf
