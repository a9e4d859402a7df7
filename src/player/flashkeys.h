#pragma once
// The keys of a Qt key event as a movie knows them: the Flash key code and
// the character the key types (0 for none), and what they ask of a text
// field.

#include <optional>

#include "swf/characters/fieldediting.h"

class QKeyEvent;

struct TFlashKey {
    int code = 0;
    char32_t character = 0;
};

TFlashKey FlashKeyOf(const QKeyEvent &event);

// The editing command a key asks of the focused text field (arrows, Home,
// End, Backspace, Delete, Enter and the desktop's select-all, copy, cut
// and paste shortcuts); nothing for keys that type or do not edit.
std::optional<swf::TextControl> TextControlOf(const QKeyEvent &event);
