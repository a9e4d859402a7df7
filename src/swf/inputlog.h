#pragma once
// A recorded run of the mouse and the keys, in the JSON form the test
// movies' input logs are kept in: an array of events, each an object with
// a "type". "Wait" ends a frame; "MouseMove", "MouseDown" and "MouseUp"
// carry a stage position "pos" in pixels (the last two a "btn"); "KeyDown"
// and "KeyUp" carry a "key", either {"Char": "a"}, {"Numpad": "1"} or the
// name of a key ("Enter", "ArrowLeft"...); "FocusLost" says the player's
// window lost the keyboard. "TextInput" carries a typed "codepoint",
// "TextControl" an editing command's "code" ("Paste", "MoveLeft"...),
// "SetClipboardText" the clipboard's new "text". Other events (the wheel,
// the focus coming back) are read and passed over: nothing in the player
// takes them yet. Plain data, any thread.

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <vector>

#include "swf/characters/fieldediting.h"

namespace swf {

class MoviePlayer;

struct InputEvent {
    enum class Kind : uint8_t {
        Wait,
        MouseMove,
        MouseDown,
        MouseUp,
        KeyDown,
        KeyUp,
        FocusLost,
        TextInput,
        TextControl,
        SetClipboard,
        Other
    };
    Kind kind = Kind::Other;
    QPointF position;           // mouse events
    bool leftButton = false;    // MouseDown, MouseUp
    int keyCode = 0;            // key events; 0 for a key the player has no code for
    char32_t character = 0;     // key events: what the key types, 0 for none
    QString text;               // TextInput, SetClipboard
    swf::TextControl control = swf::TextControl::MoveLeft;  // TextControl
};

class InputLog {
public:
    // False, with *error saying why, when `json` is no array of events.
    bool parse(const QByteArray &json, QString *error = nullptr);
    bool load(const QString &path, QString *error = nullptr);

    const std::vector<InputEvent> &events() const { return events_; }
    bool atEnd() const { return next_ >= events_.size(); }
    // Passes the events before the next Wait to `player` and steps past
    // that Wait.
    void playFrame(MoviePlayer &player);

private:
    std::vector<InputEvent> events_;
    size_t next_ = 0;
};

}  // namespace swf
