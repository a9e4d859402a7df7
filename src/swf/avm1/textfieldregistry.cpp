#include "swf/avm1/textfieldregistry.h"

#include <cmath>

#include "swf/avm1/machine.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr int kDepthOffset = 16384;
constexpr int kNestingLimit = 64;

bool HasVariable(const DisplayObject &object)
{
    if (const auto *own = dynamic_cast<const TextFieldCharacter *>(object.ownCharacter.get()))
        return !own->settings().variable.isEmpty();
    const auto *defined = dynamic_cast<const EditTextCharacter *>(object.character);
    return defined && !defined->properties().variableName.isEmpty();
}

}  // namespace

TextFieldObject *TextFieldRegistry::objectFor(TimelineState &parent, DisplayObject &object)
{
    auto field = std::dynamic_pointer_cast<TextFieldCharacter>(object.ownCharacter);
    if (!field) {
        const auto *defined = dynamic_cast<const EditTextCharacter *>(object.character);
        if (!defined || object.ownCharacter)
            return nullptr;
        field = std::make_shared<TextFieldCharacter>(*defined);
        object.ownCharacter = field;
        object.character = field.get();
    }
    auto it = objects_.find(field.get());
    if (it != objects_.end() && it->second->field() == field.get())
        return it->second;
    auto *made = machine_.make<TextFieldObject>(machine_.textFieldProto, binding_, &parent, field);
    objects_[field.get()] = made;
    return made;
}

TextFieldObject *TextFieldRegistry::create(TimelineState &parent, const std::string &name, double depth,
                                           const Rect &box)
{
    if (!std::isfinite(depth))
        return nullptr;
    const double shifted = std::trunc(depth) + kDepthOffset;
    if (shifted < 0 || shifted > 65535)
        return nullptr;
    const uint16_t listDepth = uint16_t(shifted);
    // A new field takes the depth from whatever is there.
    parent.displayList().remove(listDepth);
    DisplayObject *object = parent.displayList().placeNew(listDepth, 0, nullptr, name);
    if (!object)
        return nullptr;
    auto field = std::make_shared<TextFieldCharacter>(box);
    object->ownCharacter = field;
    object->character = field.get();
    return objectFor(parent, *object);
}

// The bound fields are all found before any variable is read: a getter
// may change the display lists.
void TextFieldRegistry::syncVariables(TimelineState &root)
{
    std::vector<TextFieldObject *> bound;
    collectBound(root, 0, bound);
    for (TextFieldObject *field : bound)
        field->pullVariable(machine_);
}

void TextFieldRegistry::collectBound(TimelineState &state, int nesting, std::vector<TextFieldObject *> &out)
{
    if (nesting > kNestingLimit)
        return;
    for (auto &entry : state.displayList().objects()) {
        DisplayObject &object = entry.second;
        if (object.children)
            collectBound(*object.children, nesting + 1, out);
        else if (HasVariable(object))
            if (TextFieldObject *field = objectFor(state, object))
                out.push_back(field);
    }
}

void TextFieldRegistry::addRoots(std::vector<Object *> &roots)
{
    for (auto it = objects_.begin(); it != objects_.end();) {
        if (it->second->field() != it->first) {
            it = objects_.erase(it);
            continue;
        }
        roots.push_back(it->second);
        ++it;
    }
}

}  // namespace swf::avm1
