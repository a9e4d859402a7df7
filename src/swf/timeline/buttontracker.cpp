#include "swf/timeline/buttontracker.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "swf/timeline/framesounds.h"
#include "swf/timeline/hittest.h"
#include "swf/timeline/keycodes.h"
#include "swf/timeline/playercontext.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

namespace {

const ButtonCharacter *ButtonOf(const DisplayObject *object)
{
    return object ? dynamic_cast<const ButtonCharacter *>(object->character) : nullptr;
}

ObjectPath::Step StepTo(int depth, const DisplayObject &object)
{
    return {depth, object.characterId, object.placeFrame};
}

using ClipFilter = std::function<bool(TimelineState &)>;
using HitAreaFinder = std::function<TimelineState *(TimelineState &)>;

// Whether the shapes of the clip `area` cover a point of the stage.
bool AreaHolds(const TimelineState &area, const QPointF &stagePoint)
{
    const TimelineState *parent = area.parent();
    if (!area.owner() || !parent)
        return false;
    const auto local = ToLocal(TimelineToStage(*parent), stagePoint);
    return local && ObjectContains(*area.owner(), *local, parent->displayList().dictionary());
}

// The topmost button whose hit area holds `point` (coordinates of
// `timeline`); buttons inside sprites count, and a button that a button
// shows comes before the one that shows it. Clips that take the mouse
// count with all they show, or with their hit area clip's shapes when
// they name one.
bool PickIn(const TimelineState &timeline, const QPointF &point, const QPointF &stagePoint,
            const Dictionary &dictionary, const ClipFilter &takesMouse, const HitAreaFinder &hitAreaOf,
            ObjectPath &path)
{
    const DisplayList &list = timeline.displayList();
    for (auto it = list.objects().rbegin(); it != list.objects().rend(); ++it) {
        const auto &[depth, object] = *it;
        if (object.clipDepth > 0 || !object.visible)
            continue;
        const auto local = ToLocal(object.matrix, point);
        if (!local)
            continue;
        path.steps.push_back(StepTo(depth, object));
        bool hit = false;
        if (const ButtonCharacter *button = ButtonOf(&object))
            hit = (object.children
                   && PickIn(*object.children, *local, stagePoint, object.children->displayList().dictionary(),
                             takesMouse, hitAreaOf, path))
                  || HitAreaContains(*button, *local, dictionary);
        else if (object.children && takesMouse(*object.children)) {
            const TimelineState *area = hitAreaOf(*object.children);
            hit = area ? AreaHolds(*area, stagePoint) : ObjectContains(object, point, dictionary);
        } else if (object.children)
            hit = PickIn(*object.children, *local, stagePoint, object.children->displayList().dictionary(),
                         takesMouse, hitAreaOf, path);
        if (hit && ClipsAdmit(list, depth, point, dictionary))
            return true;
        path.steps.pop_back();
    }
    return false;
}

bool ListensFor(const ButtonCharacter &button, int buttonKey)
{
    const auto &records = button.actions();
    return std::any_of(records.begin(), records.end(),
                       [buttonKey](const ButtonActionRecord &r) { return r.keyCode() == buttonKey; });
}

// The first visible button, from the lowest depth up and each before what
// it holds, with a record for `buttonKey`.
void FirstListening(const TimelineState &timeline, int buttonKey, ObjectPath &path,
                    std::optional<ObjectPath> &found, int nesting = 0)
{
    if (nesting > PlayerContext::kNestingLimit)
        return;
    for (const auto &[depth, object] : timeline.displayList().objects()) {
        if (found)
            return;
        if (object.clipDepth > 0 || !object.visible)
            continue;
        path.steps.push_back(StepTo(depth, object));
        if (const ButtonCharacter *button = ButtonOf(&object); button && ListensFor(*button, buttonKey))
            found = path;
        else if (object.children)
            FirstListening(*object.children, buttonKey, path, found, nesting + 1);
        path.steps.pop_back();
    }
}

}  // namespace

PlacedObject ResolvePath(TimelineState &root, const ObjectPath &path)
{
    PlacedObject placed;
    TimelineState *timeline = &root;
    for (size_t i = 0; i < path.steps.size(); ++i) {
        const ObjectPath::Step &step = path.steps[i];
        DisplayObject *object = timeline ? timeline->displayList().find(step.depth) : nullptr;
        if (!object || !(StepTo(step.depth, *object) == step))
            return {};
        placed = {timeline, object, int(i) + 1};
        timeline = object->children.get();
    }
    return placed;
}

std::optional<ObjectPath> ButtonTracker::pick() const
{
    if (!pointer_)
        return std::nullopt;
    ObjectPath path;
    const ClipFilter takesMouse = [this](TimelineState &clip) { return this->takesMouse(clip); };
    const HitAreaFinder hitAreaOf = [this](TimelineState &clip) {
        return listener_ ? listener_->clipHitArea(clip) : nullptr;
    };
    if (!PickIn(root_, *pointer_, *pointer_, context_.dictionary, takesMouse, hitAreaOf, path))
        return std::nullopt;
    return path;
}

bool ButtonTracker::takesMouse(TimelineState &clip) const
{
    return listener_ && listener_->clipTakesMouse(clip);
}

bool ButtonTracker::isMenu(const ObjectPath &path)
{
    const ButtonCharacter *button = ButtonOf(ResolvePath(root_, path).object);
    return button && button->trackAsMenu();
}

void ButtonTracker::showPicture(const ObjectPath &path, ButtonPicture picture)
{
    const PlacedObject placed = ResolvePath(root_, path);
    const ButtonCharacter *button = ButtonOf(placed.object);
    // Without a running state the button sat too deep to be made.
    if (!button || !placed.object->children)
        return;
    const Timeline &wanted = button->picture(picture);
    if (&placed.object->children->timeline() == &wanted)
        return;
    // The same running state takes the new picture, so that the button's
    // script object (its handlers, its focus) stays what it was.
    TimelineState &shown = *placed.object->children;
    shown.load(wanted, shown.displayList().ownDictionary());
    shown.start();
    placed.object->childTimeline = &wanted;
}

void ButtonTracker::setState(State state, uint16_t transition)
{
    state_ = state;
    showPicture(*active_, state == State::OverDown ? ButtonPicture::Down : ButtonPicture::Over);
    playSound(*active_, transition);
    queued_.push_back({*active_, transition, 0});
}

void ButtonTracker::leave(uint16_t transition)
{
    showPicture(*active_, ButtonPicture::Up);
    playSound(*active_, transition);
    queued_.push_back({*active_, transition, 0});
    active_.reset();
}

void ButtonTracker::playSound(const ObjectPath &path, uint16_t transition)
{
    const PlacedObject placed = ResolvePath(root_, path);
    if (const ButtonCharacter *button = ButtonOf(placed.object))
        StartButtonSound(button->sounds(), transition, context_, placed.timeline);
}

void ButtonTracker::enter(const std::optional<ObjectPath> &target)
{
    if (!target)
        return;
    if (!down_) {
        active_ = target;
        setState(State::OverUp, kIdleToOverUp);
    } else if (isMenu(*target)) {
        active_ = target;
        setState(State::OverDown, kIdleToOverDown);
    }
}

void ButtonTracker::update()
{
    const std::optional<ObjectPath> target = pick();
    if (active_ && !ResolvePath(root_, *active_).object)
        active_.reset();
    if (active_) {
        const bool onIt = target == active_;
        if (state_ == State::OverUp && !onIt)
            leave(kOverUpToIdle);
        else if (state_ == State::OverDown && !onIt && isMenu(*active_))
            leave(kOverDownToIdle);
        else if (state_ == State::OverDown && !onIt)
            setState(State::OutDown, kOverDownToOutDown);
        else if (state_ == State::OutDown && onIt)
            setState(State::OverDown, kOutDownToOverDown);
    }
    if (!active_)
        enter(target);
}

void ButtonTracker::mouseMove(const QPointF &stagePoint)
{
    pointer_ = stagePoint;
    update();
    fireQueued();
}

void ButtonTracker::mouseDown(const QPointF &stagePoint)
{
    pointer_ = stagePoint;
    update();
    down_ = true;
    if (active_ && state_ == State::OverUp)
        setState(State::OverDown, kOverUpToOverDown);
    fireQueued();
}

void ButtonTracker::mouseUp(const QPointF &stagePoint)
{
    pointer_ = stagePoint;
    update();
    down_ = false;
    if (active_ && state_ == State::OverDown) {
        setState(State::OverUp, kOverDownToOverUp);
    } else {
        // Whatever was held, the button under the pointer is now free to
        // roll over.
        if (active_)
            leave(kOutDownToIdle);
        update();
    }
    fireQueued();
}

void ButtonTracker::mouseLeave()
{
    pointer_.reset();
    update();
    fireQueued();
}

void ButtonTracker::refresh()
{
    update();
    fireQueued();
}

bool ButtonTracker::overButton() const
{
    if (!active_ || state_ == State::OutDown)
        return false;
    const PlacedObject placed = ResolvePath(root_, *active_);
    if (placed.object && !ButtonOf(placed.object) && placed.object->children && listener_)
        return listener_->clipShowsHand(*placed.object->children);
    return true;
}

void ButtonTracker::fireQueued()
{
    std::vector<Firing> firings;
    firings.swap(queued_);
    for (const Firing &firing : firings)
        fire(firing);
}

void ButtonTracker::fire(const Firing &firing)
{
    if (const ButtonCharacter *button = ButtonOf(ResolvePath(root_, firing.button).object))
        fireRecords(firing, *button);
    // A clip that acts as a button, and a button's own object after its
    // records, hear the transition too.
    const PlacedObject target = ResolvePath(root_, firing.button);
    if (firing.transition && listener_ && target.object && target.object->children)
        listener_->clipMouseEvent(*target.object->children, firing.transition);
}

void ButtonTracker::fireRecords(const Firing &firing, const ButtonCharacter &button)
{
    for (const ButtonActionRecord &record : button.actions()) {
        const bool fires = firing.keyCode ? record.keyCode() == firing.keyCode : record.firesOn(ButtonTransition(firing.transition));
        if (!fires)
            continue;
        // Earlier records may have taken the button away.
        const PlacedObject placed = ResolvePath(root_, firing.button);
        if (!placed.object)
            return;
        if (listener_)
            listener_->buttonActionFired(*placed.timeline, *placed.object, record);
    }
}

bool ButtonTracker::keyDown(int keyCode, char32_t character)
{
    const int buttonKey = ButtonKeyFor(keyCode, character);
    if (buttonKey == 0)
        return false;
    std::optional<ObjectPath> listener;
    ObjectPath path;
    FirstListening(root_, buttonKey, path, listener);
    if (!listener)
        return false;
    queued_.push_back({*listener, 0, buttonKey});
    fireQueued();
    return true;
}

void ButtonTracker::click(const ObjectPath &button)
{
    if (!ResolvePath(root_, button).object)
        return;
    queued_.push_back({button, kOverUpToOverDown, 0});
    queued_.push_back({button, kOverDownToOverUp, 0});
    fireQueued();
}

std::optional<ObjectPath> PathTo(const TimelineState &root, const TimelineState &timeline)
{
    ObjectPath path;
    const TimelineState *state = &timeline;
    for (; state != &root; state = state->parent()) {
        const TimelineState *parent = state->parent();
        Depth depth = 0;
        if (!parent || !state->owner() || !parent->displayList().depthOf(state->owner(), depth))
            return std::nullopt;
        path.steps.push_back(StepTo(depth, *state->owner()));
    }
    std::reverse(path.steps.begin(), path.steps.end());
    return path;
}

}  // namespace swf
