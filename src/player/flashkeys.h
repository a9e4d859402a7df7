#pragma once
// The keys of a Qt key event as a movie knows them: the Flash key code and
// the character the key types (0 for none).

class QKeyEvent;

struct TFlashKey {
    int code = 0;
    char32_t character = 0;
};

TFlashKey FlashKeyOf(const QKeyEvent &event);
