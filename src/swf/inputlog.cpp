#include "swf/inputlog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <utility>

#include "swf/movie.h"
#include "swf/timeline/keycodes.h"

namespace swf {

namespace {

// Input logs are a few kilobytes; anything far larger is no input log.
constexpr qint64 kLargestLog = 16 * 1024 * 1024;

void ReadNamedKey(const QString &name, InputEvent &event)
{
    static const std::pair<const char *, int> kNamed[] = {
        {"Backspace", kKeyBackspace}, {"Tab", kKeyTab},           {"Enter", kKeyEnter},
        {"Shift", kKeyShift},         {"Control", kKeyControl},   {"Alt", kKeyAlt},
        {"CapsLock", kKeyCapsLock},   {"Escape", kKeyEscape},     {"Space", kKeySpace},
        {"PageUp", kKeyPageUp},       {"PageDown", kKeyPageDown}, {"End", kKeyEnd},
        {"Home", kKeyHome},           {"ArrowLeft", kKeyLeft},    {"ArrowUp", kKeyUp},
        {"ArrowRight", kKeyRight},    {"ArrowDown", kKeyDown},    {"Insert", kKeyInsert},
        {"Delete", kKeyDelete},
    };
    for (const auto &[keyName, code] : kNamed)
        if (name == QLatin1String(keyName))
            event.keyCode = code;
    if (event.keyCode == kKeySpace)
        event.character = U' ';
    else if (event.keyCode == kKeyEnter)
        event.character = U'\r';
    else if (const int function = name.startsWith(QLatin1Char('F')) ? name.mid(1).toInt() : 0;
             function >= 1 && function <= 12)
        event.keyCode = kKeyF1 + function - 1;
}

void ReadKey(const QJsonValue &key, InputEvent &event)
{
    if (key.isString()) {
        ReadNamedKey(key.toString(), event);
        return;
    }
    const QJsonObject object = key.toObject();
    const QString typed = object.value(QLatin1String("Char")).toString();
    const QString numpad = object.value(QLatin1String("Numpad")).toString();
    const QString text = typed.isEmpty() ? numpad : typed;
    const QList<uint> codes = text.toUcs4();
    if (codes.size() != 1)
        return;
    event.character = char32_t(codes.front());
    event.keyCode = !numpad.isEmpty() && event.character >= U'0' && event.character <= U'9'
                        ? kKeyNumpad0 + int(event.character - U'0')
                        : KeyCodeForCharacter(event.character);
}

InputEvent ReadEvent(const QJsonObject &object)
{
    static const std::pair<const char *, InputEvent::Kind> kKinds[] = {
        {"Wait", InputEvent::Kind::Wait},         {"MouseMove", InputEvent::Kind::MouseMove},
        {"MouseDown", InputEvent::Kind::MouseDown}, {"MouseUp", InputEvent::Kind::MouseUp},
        {"KeyDown", InputEvent::Kind::KeyDown},   {"KeyUp", InputEvent::Kind::KeyUp},
        {"FocusLost", InputEvent::Kind::FocusLost}, {"TextInput", InputEvent::Kind::TextInput},
        {"SetClipboardText", InputEvent::Kind::SetClipboard},
    };
    InputEvent event;
    const QString type = object.value(QLatin1String("type")).toString();
    for (const auto &[name, kind] : kKinds)
        if (type == QLatin1String(name))
            event.kind = kind;
    const QJsonArray pos = object.value(QLatin1String("pos")).toArray();
    if (pos.size() == 2)
        event.position = QPointF(pos[0].toDouble(), pos[1].toDouble());
    event.leftButton = object.value(QLatin1String("btn")).toString() == QLatin1String("Left");
    if (object.contains(QLatin1String("key")))
        ReadKey(object.value(QLatin1String("key")), event);
    if (event.kind == InputEvent::Kind::TextInput)
        event.text = object.value(QLatin1String("codepoint")).toString();
    else if (event.kind == InputEvent::Kind::SetClipboard)
        event.text = object.value(QLatin1String("text")).toString();
    if (type == QLatin1String("TextControl")) {
        if (const auto control = TextControlFromName(object.value(QLatin1String("code")).toString())) {
            event.kind = InputEvent::Kind::TextControl;
            event.control = *control;
        }
    }
    return event;
}

void Pass(const InputEvent &event, MoviePlayer &player)
{
    const bool mouse = event.kind == InputEvent::Kind::MouseMove || event.kind == InputEvent::Kind::MouseDown
                       || event.kind == InputEvent::Kind::MouseUp;
    // Buttons answer the left button only; the others just move the pointer.
    if (mouse && event.kind != InputEvent::Kind::MouseMove && event.leftButton) {
        if (event.kind == InputEvent::Kind::MouseDown)
            player.mouseDown(event.position);
        else
            player.mouseUp(event.position);
    } else if (mouse) {
        player.mouseMove(event.position);
    } else if (event.kind == InputEvent::Kind::KeyDown) {
        player.keyDown(event.keyCode, event.character);
    } else if (event.kind == InputEvent::Kind::KeyUp) {
        player.keyUp(event.keyCode, event.character);
    } else if (event.kind == InputEvent::Kind::FocusLost) {
        player.keyboardLost();
    } else if (event.kind == InputEvent::Kind::TextInput) {
        player.textInput(event.text);
    } else if (event.kind == InputEvent::Kind::TextControl) {
        player.textControl(event.control);
    } else if (event.kind == InputEvent::Kind::SetClipboard) {
        player.setClipboardText(event.text);
    }
}

}  // namespace

bool InputLog::parse(const QByteArray &json, QString *error)
{
    events_.clear();
    next_ = 0;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isArray()) {
        if (error)
            *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                  : QStringLiteral("not a list of events");
        return false;
    }
    for (const QJsonValue &value : document.array())
        events_.push_back(ReadEvent(value.toObject()));
    return true;
}

bool InputLog::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.size() > kLargestLog) {
        if (error)
            *error = QStringLiteral("too large for an input log");
        return false;
    }
    return parse(file.readAll(), error);
}

void InputLog::playFrame(MoviePlayer &player)
{
    while (next_ < events_.size()) {
        const InputEvent &event = events_[next_++];
        if (event.kind == InputEvent::Kind::Wait)
            return;
        Pass(event, player);
    }
}

}  // namespace swf
