#include "swf/avm1/textfieldobject.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/interpreter.h"
#include "swf/avm1/variables.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr int kDepthOffset = 16384;

VariableSlot FindSlot(Machine &machine, ClipObject *timeline, const std::string &path)
{
    VariableSlot slot;
    if (!timeline || path.empty())
        return slot;
    size_t at = path.rfind(':');
    if (at == std::string::npos)
        at = path.rfind('.');
    if (at == std::string::npos) {
        slot.holder = timeline;
        slot.name = path;
        return slot;
    }
    Activation activation;
    auto global = std::make_shared<const Scope>(Scope{Scope::Kind::Global, machine.global, nullptr});
    activation.scope = std::make_shared<const Scope>(Scope{Scope::Kind::Clip, timeline, global});
    activation.self = Value(timeline);
    activation.baseClip = timeline;
    activation.target = timeline;
    slot.holder = ResolveTarget(machine, activation, path.substr(0, at));
    slot.name = path.substr(at + 1);
    return slot;
}

// The field's text as its variable holds it: the markup of an HTML field.
QString BoundText(const TextFieldCharacter &field)
{
    return field.settings().html ? field.htmlText() : field.content().text();
}

void Write(TextFieldCharacter &field, const QString &text, bool html)
{
    if (html)
        field.setHtmlText(text);
    else
        field.setText(text);
}

// A field whose variable names the field itself must not go round in a
// circle: the binding is left alone while it is already at work.
class BindingGuard {
public:
    BindingGuard() : first_(!busy_) { busy_ = true; }
    ~BindingGuard()
    {
        if (first_)
            busy_ = false;
    }
    bool first() const { return first_; }

private:
    static inline thread_local bool busy_ = false;
    bool first_;
};

}  // namespace

TextFieldObject::TextFieldObject(Object *proto, ClipBinding &binding, TimelineState *parent,
                                 const std::shared_ptr<TextFieldCharacter> &field)
    : Object(proto), field_(field), parent_(parent), binding_(binding)
{
}

TextFieldCharacter *TextFieldObject::field() const
{
    return field_.lock().get();
}

DisplayObject *TextFieldObject::displayObject() const
{
    TextFieldCharacter *field = this->field();
    if (!field)
        return nullptr;
    for (auto &entry : parent_->displayList().objects())
        if (entry.second.ownCharacter.get() == field)
            return &entry.second;
    return nullptr;
}

ClipObject *TextFieldObject::parentClip() const
{
    TimelineState *parent = parentState();
    return parent ? binding_.objectFor(parent) : nullptr;
}

std::string TextFieldObject::name() const
{
    const DisplayObject *object = displayObject();
    return object ? object->name : std::string();
}

std::string TextFieldObject::targetPath() const
{
    ClipObject *parent = parentClip();
    if (!parent)
        return lastPath_;
    const_cast<TextFieldObject *>(this)->lastPath_ = parent->targetPath() + "." + name();
    return lastPath_;
}

int TextFieldObject::depth() const
{
    const DisplayObject *object = displayObject();
    if (!object)
        return 0;
    for (const auto &entry : parent_->displayList().objects())
        if (&entry.second == object)
            return int(entry.first) - kDepthOffset;
    return 0;
}

void TextFieldObject::removeFromParent()
{
    const int scriptDepth = depth();
    // Only fields at script depths can be removed by scripts.
    if (field() && scriptDepth >= 0)
        parent_->displayList().remove(uint16_t(scriptDepth + kDepthOffset));
}

VariableSlot TextFieldObject::boundSlot(Machine &machine) const
{
    TextFieldCharacter *field = this->field();
    if (!field || field->settings().variable.isEmpty())
        return {};
    return FindSlot(machine, parentClip(), field->settings().variable.toStdString());
}

void TextFieldObject::pullVariable(Machine &machine)
{
    BindingGuard guard;
    const VariableSlot slot = guard.first() ? boundSlot(machine) : VariableSlot();
    if (!slot.holder)
        return;
    TextFieldCharacter &field = *this->field();
    if (!machine.has(slot.holder, slot.name)) {
        // A variable the timeline lacks starts as the text the field was
        // placed with, whatever it shows now.
        Write(field, field.initialText(), field.settings().html);
        machine.set(slot.holder, slot.name, Value(BoundText(field).toStdString()));
        return;
    }
    const Value value = machine.get(slot.holder, slot.name);
    const QString text = QString::fromStdString(value.isUndefined() ? std::string() : machine.toString(value));
    if (this->field() && text != BoundText(*this->field()))
        Write(*this->field(), text, this->field()->settings().html);
}

void TextFieldObject::setText(Machine &machine, const QString &text, bool html)
{
    if (TextFieldCharacter *field = this->field()) {
        Write(*field, text, html);
        pushVariable(machine);
    }
}

void TextFieldObject::pushVariable(Machine &machine)
{
    BindingGuard guard;
    const VariableSlot slot = guard.first() ? boundSlot(machine) : VariableSlot();
    if (slot.holder)
        machine.set(slot.holder, slot.name, Value(BoundText(*field()).toStdString()));
}

}  // namespace swf::avm1
