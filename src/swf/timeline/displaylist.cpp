#include "swf/timeline/displaylist.h"

#include "swf/timeline/button.h"
#include "swf/timeline/sprite.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

DisplayObject::DisplayObject() = default;
DisplayObject::~DisplayObject() = default;
DisplayObject::DisplayObject(DisplayObject &&) noexcept = default;
DisplayObject &DisplayObject::operator=(DisplayObject &&) noexcept = default;

DisplayList::~DisplayList()
{
    context_->liveObjects -= objects_.size();
}

DisplayList::DisplayList(DisplayList &&other) noexcept
    : context_(other.context_), dictionary_(other.dictionary_), objects_(std::move(other.objects_))
{
    other.objects_.clear();
}

DisplayList &DisplayList::operator=(DisplayList &&other) noexcept
{
    if (this != &other) {
        context_->liveObjects -= objects_.size();
        objects_.clear();
        context_ = other.context_;
        dictionary_ = other.dictionary_;
        objects_ = std::move(other.objects_);
        other.objects_.clear();
    }
    return *this;
}

DisplayObject *DisplayList::find(Depth depth)
{
    const auto it = objects_.find(depth);
    return it == objects_.end() ? nullptr : &it->second;
}

bool DisplayList::depthOf(const DisplayObject *object, Depth &depth) const
{
    for (const auto &entry : objects_)
        if (&entry.second == object) {
            depth = entry.first;
            return true;
        }
    return false;
}

void DisplayList::remove(Depth depth)
{
    if (objects_.erase(depth))
        --context_->liveObjects;
}

namespace {

constexpr int kRefusalLoggedFrom = 8;

// The timeline a placed copy of `character` runs: a sprite's own, a
// button's up state; null for the characters that are drawn directly.
const Timeline *ChildTimelineOf(const Character *character)
{
    if (const auto *sprite = dynamic_cast<const SpriteCharacter *>(character))
        return &sprite->timeline();
    if (const auto *button = dynamic_cast<const ButtonCharacter *>(character))
        return &button->upState();
    return nullptr;
}

}  // namespace

void DisplayList::setCharacter(DisplayObject &object, uint16_t id, int frame) const
{
    object.characterId = id;
    object.character = dictionary().find(id);
    object.ownCharacter.reset();
    object.placeFrame = frame;
    object.children.reset();
    object.childTimeline = ChildTimelineOf(object.character);
}

bool DisplayList::canReplace(const DisplayObject &object, uint16_t id) const
{
    // Only drawn characters (shapes, texts, bitmaps) swap their picture in
    // place; a sprite or button keeps running as it is, and none turns into
    // one.
    return !object.childTimeline && !ChildTimelineOf(dictionary().find(id));
}

DisplayObject *DisplayList::place(const DisplayCommand &command, int frame)
{
    if (DisplayObject *existing = find(command.depth)) {
        if (command.move) {
            // What scripts made is theirs to move, wherever it lies.
            if (existing->scripted)
                return nullptr;
            if (command.hasCharacter && command.characterId != existing->characterId
                && canReplace(*existing, command.characterId))
                setCharacter(*existing, command.characterId, frame);
            return existing;
        }
        // A new object takes a taken depth only in the oldest movies, which
        // drop what was there without a word.
        if (context_->movieVersion >= PlayerContext::kOccupiedDepthRefusedFrom) {
            // Later players log a refused placement of another character.
            if (context_->scripts && context_->movieVersion >= kRefusalLoggedFrom
                && existing->characterId != command.characterId)
                context_->scripts->placementRefused(command.depth);
            return nullptr;
        }
        remove(command.depth);
    }
    // A move finds nothing to move on an empty depth.
    if (command.move || !command.hasCharacter || context_->liveObjects >= PlayerContext::kObjectLimit)
        return nullptr;
    DisplayObject &object = objects_[command.depth];
    ++context_->liveObjects;
    setCharacter(object, command.characterId, frame);
    // Name and clip depth belong to the object from its creation on.
    object.name = command.name;
    object.clipDepth = command.clipDepth;
    if (!command.clipEvents.empty())
        object.clipEvents = &command.clipEvents;
    return &object;
}

DisplayObject *DisplayList::placeNew(Depth depth, uint16_t characterId, const Timeline *timeline,
                                     const std::string &name)
{
    if (find(depth) || context_->liveObjects >= PlayerContext::kObjectLimit)
        return nullptr;
    DisplayObject &object = objects_[depth];
    ++context_->liveObjects;
    setCharacter(object, characterId, -1);
    if (timeline)
        object.childTimeline = timeline;
    object.name = name;
    object.scripted = true;
    return &object;
}

void DisplayList::swap(Depth depth, Depth otherDepth)
{
    auto first = objects_.extract(depth);
    auto second = objects_.extract(otherDepth);
    if (!first.empty()) {
        first.key() = otherDepth;
        objects_.insert(std::move(first));
    }
    if (!second.empty()) {
        second.key() = depth;
        objects_.insert(std::move(second));
    }
}

DisplayObject *DisplayList::apply(const DisplayCommand &command, int frame)
{
    if (command.kind == DisplayCommand::Kind::Remove) {
        remove(command.depth);
        return nullptr;
    }
    const size_t before = objects_.size();
    DisplayObject *object = place(command, frame);
    if (!object)
        return nullptr;
    if (command.hasMatrix && !object->transformedByScript) {
        object->matrix = command.matrix;
        object->scaleRotationKnown = false;
    }
    if (command.hasColorTransform && !object->transformedByScript)
        object->colorTransform = command.colorTransform;
    if (command.hasRatio)
        object->ratio = command.ratio;
    if (command.hasVisible)
        object->visible = command.visible;
    if (command.hasBlendMode)
        object->blendMode = command.blendMode;
    if (command.hasFilters)
        object->filters = command.filters;
    if (command.hasBackground) {
        object->hasBackground = true;
        object->background = command.background;
    }
    return objects_.size() > before ? object : nullptr;
}

}  // namespace swf
