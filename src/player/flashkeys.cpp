#include "player/flashkeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <utility>

#include "swf/movie.h"

namespace {

int SpecialKeyCode(int qtKey)
{
    static constexpr std::pair<int, int> kSpecial[] = {
        {Qt::Key_Backspace, swf::kKeyBackspace}, {Qt::Key_Tab, swf::kKeyTab},
        {Qt::Key_Backtab, swf::kKeyTab},         {Qt::Key_Return, swf::kKeyEnter},
        {Qt::Key_Enter, swf::kKeyEnter},         {Qt::Key_Shift, swf::kKeyShift},
        {Qt::Key_Control, swf::kKeyControl},     {Qt::Key_Alt, swf::kKeyAlt},
        {Qt::Key_CapsLock, swf::kKeyCapsLock},   {Qt::Key_Escape, swf::kKeyEscape},
        {Qt::Key_Space, swf::kKeySpace},         {Qt::Key_PageUp, swf::kKeyPageUp},
        {Qt::Key_PageDown, swf::kKeyPageDown},   {Qt::Key_End, swf::kKeyEnd},
        {Qt::Key_Home, swf::kKeyHome},           {Qt::Key_Left, swf::kKeyLeft},
        {Qt::Key_Up, swf::kKeyUp},               {Qt::Key_Right, swf::kKeyRight},
        {Qt::Key_Down, swf::kKeyDown},           {Qt::Key_Insert, swf::kKeyInsert},
        {Qt::Key_Delete, swf::kKeyDelete},
    };
    for (const auto &[qt, flash] : kSpecial)
        if (qt == qtKey)
            return flash;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return swf::kKeyF1 + (qtKey - Qt::Key_F1);
    return 0;
}

}  // namespace

TFlashKey FlashKeyOf(const QKeyEvent &event)
{
    TFlashKey key;
    const QList<uint> typed = event.text().toUcs4();
    if (typed.size() == 1)
        key.character = char32_t(typed.front());
    const int qtKey = event.key();
    if (event.modifiers() & Qt::KeypadModifier && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        key.code = swf::kKeyNumpad0 + (qtKey - Qt::Key_0);
    else if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        key.code = qtKey;  // Qt numbers letters and digits as Flash does
    else if (const int special = SpecialKeyCode(qtKey))
        key.code = special;
    else
        key.code = swf::KeyCodeForCharacter(key.character);
    return key;
}

std::optional<swf::TextControl> TextControlOf(const QKeyEvent &event)
{
    static const std::pair<QKeySequence::StandardKey, swf::TextControl> kShortcuts[] = {
        {QKeySequence::SelectAll, swf::TextControl::SelectAll},
        {QKeySequence::Copy, swf::TextControl::Copy},
        {QKeySequence::Cut, swf::TextControl::Cut},
        {QKeySequence::Paste, swf::TextControl::Paste},
    };
    for (const auto &[shortcut, control] : kShortcuts)
        if (event.matches(shortcut))
            return control;
    static constexpr std::pair<int, swf::TextControl> kKeys[] = {
        {Qt::Key_Left, swf::TextControl::MoveLeft},        {Qt::Key_Right, swf::TextControl::MoveRight},
        {Qt::Key_Home, swf::TextControl::MoveLeftLine},    {Qt::Key_End, swf::TextControl::MoveRightLine},
        {Qt::Key_Backspace, swf::TextControl::Backspace}, {Qt::Key_Delete, swf::TextControl::Delete},
        {Qt::Key_Return, swf::TextControl::Enter},        {Qt::Key_Enter, swf::TextControl::Enter},
    };
    for (const auto &[qt, control] : kKeys)
        if (qt == event.key())
            return control;
    return std::nullopt;
}
