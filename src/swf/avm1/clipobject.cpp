#include "swf/avm1/clipobject.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "swf/avm1/clipdrag.h"
#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textutil.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// _lockroot came with SWF 7.
constexpr int kLockRootVersion = 7;
constexpr int kLastDisplayFirstVersion = 5;

const char *const kPropertyNames[] = {
    "_x",        "_y",           "_xscale",    "_yscale", "_currentframe", "_totalframes",
    "_alpha",    "_visible",     "_width",     "_height", "_rotation",     "_target",
    "_framesloaded", "_name",    "_droptarget", "_url",   "_highquality",  "_focusrect",
    "_soundbuftime", "_quality", "_xmouse",    "_ymouse",
};
constexpr int kPropertyCount = int(sizeof kPropertyNames / sizeof kPropertyNames[0]);

enum PropertyIndex {
    kX, kY, kXScale, kYScale, kCurrentFrame, kTotalFrames, kAlpha, kVisible, kWidth, kHeight,
    kRotation, kTarget, kFramesLoaded, kName, kDropTarget, kUrl, kHighQuality, kFocusRect,
    kSoundBufTime, kQuality, kXMouse, kYMouse,
};

}  // namespace

bool ScriptDepthToList(double depth, Depth &out)
{
    if (!std::isfinite(depth))
        return false;
    depth = std::trunc(depth);
    if (depth < -kScriptDepthOffset || depth > kHighestScriptDepth)
        return false;
    out = Depth(depth + kScriptDepthOffset);
    return true;
}

void CopyInitProperties(Machine &machine, Object *from, Object *to)
{
    // Only clips take an init object; an attached or copied button does not.
    if (!from || !to || to->kind() == Object::Kind::Button)
        return;
    const std::vector<std::string> names = machine.enumerate(from);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        // Own values pass whichever player versions they are marked for.
        const Property *own = from->findOwn(machine.key(*name));
        const bool raw = own && !own->isAccessor();
        machine.set(to, *name, raw ? own->value : machine.get(from, *name));
    }
}

std::string MovieUrl(const MovieFacts &facts)
{
    return facts.path.empty() ? std::string() : "file://" + facts.path;
}

int DisplayPropertyIndex(const std::string &name)
{
    if (name.empty() || name[0] != '_')
        return -1;
    const std::string lower = AsciiLower(name);
    for (int i = 0; i < kPropertyCount; ++i)
        if (lower == kPropertyNames[i])
            return i;
    return -1;
}

void ClipObject::detach()
{
    lastPath_ = targetPath();
    state_ = nullptr;
}

void ClipObject::play()
{
    if (state_)
        state_->setPlaying(true);
}

void ClipObject::stop()
{
    if (state_)
        state_->setPlaying(false);
}

void ClipObject::gotoFrame(int frame, bool play)
{
    if (!state_)
        return;
    state_->setPlaying(play);
    state_->gotoFrame(frame, true);
}

void ClipObject::gotoValue(Machine &machine, const Value &frame, bool play)
{
    if (!state_)
        return;
    // A number before the first frame names no frame: nothing moves.
    auto gotoNumber = [&](double n) {
        const int index = int(std::clamp(n, -1e9, 1e9)) - 1;
        if (index >= 0)
            gotoFrame(index, play);
    };
    if (!frame.isString()) {
        const double n = machine.toNumber(frame);
        if (std::isfinite(n))
            gotoNumber(n);
        return;
    }
    const double n = StringToNumberStrict(frame.string());
    if (!std::isnan(n)) {
        gotoNumber(n);
        return;
    }
    const int label = state_->timeline().findLabel(frame.string());
    if (label >= 0)
        gotoFrame(label, play);
}

std::optional<int32_t> FrameNumberText(const std::string &text)
{
    const size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (digitsFrom == text.size())
        return std::nullopt;
    uint32_t number = 0;
    for (size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        number = number * 10u + uint32_t(text[i] - '0');
    }
    return int32_t(digitsFrom ? 0u - number : number);
}

void ClipObject::gotoFrameText(Machine &machine, const Value &frame, bool play, int bias)
{
    if (!state_)
        return;
    const std::string text = machine.toString(frame);
    if (const auto number = FrameNumberText(text)) {
        if (*number > 0)
            gotoFrame(std::min(*number, 1000000000) - 1 + bias, play);
        return;
    }
    const int label = state_->timeline().findLabel(text);
    if (label >= 0)
        gotoFrame(label + bias, play);
}

void ClipObject::nextFrame() { gotoFrame(currentFrame() + 1, false); }
void ClipObject::prevFrame() { gotoFrame(currentFrame() - 1, false); }
int ClipObject::currentFrame() const { return state_ ? state_->currentFrame() : 0; }
int ClipObject::totalFrames() const { return state_ ? state_->frameCount() : 0; }

ClipObject *ClipObject::parentClip() const
{
    return state_ && state_->parent() ? binding_.objectFor(state_->parent()) : nullptr;
}

ClipObject *ClipObject::rootClip() const
{
    TimelineState *root = state_;
    while (root && root->parent()) {
        ClipObject *clip = binding_.objectFor(root);
        if (clip && clip->lockRoot_)
            return clip;
        root = root->parent();
    }
    return root ? binding_.objectFor(root) : binding_.level(0);
}

DisplayObject *ClipObject::displayObject() const { return state_ ? state_->owner() : nullptr; }

// The first object by depth with that name. Shapes, static text and other
// objects scripts cannot reach answer as the clip that holds them.
Object *ClipObject::namedChild(Machine &machine, const std::string &name)
{
    if (!state_)
        return nullptr;
    const std::string wanted = machine.key(name);
    for (auto &entry : state_->displayList().objects()) {
        DisplayObject &object = entry.second;
        if (object.name.empty() || machine.key(object.name) != wanted)
            continue;
        if (object.children)
            return binding_.objectFor(object.children.get());
        if (Object *field = binding_.textField(*state_, object))
            return field;
        return this;
    }
    return nullptr;
}

int ClipObject::depth() const
{
    if (!state_ || !state_->parent())
        return -kScriptDepthOffset;
    for (const auto &entry : state_->parent()->displayList().objects())
        if (&entry.second == state_->owner())
            return int(entry.first) - kScriptDepthOffset;
    return 0;
}

std::string ClipObject::name() const
{
    const DisplayObject *object = displayObject();
    return object ? object->name : std::string();
}

namespace {

// The instance names from the root down to `state`, root excluded.
std::vector<std::string> NamesFromRoot(const TimelineState *state)
{
    std::vector<std::string> names;
    for (; state && state->parent(); state = state->parent())
        names.push_back(state->owner() ? state->owner()->name : std::string());
    std::reverse(names.begin(), names.end());
    return names;
}

}  // namespace

namespace {

const TimelineState *TopOf(const TimelineState *state)
{
    while (state && state->parent())
        state = state->parent();
    return state;
}

}  // namespace

std::string ClipObject::targetPath() const
{
    if (!state_)
        return lastPath_;
    std::string path = binding_.levelName(TopOf(state_));
    for (const std::string &name : NamesFromRoot(state_))
        path += "." + name;
    return path;
}

std::string ClipObject::slashPath() const
{
    const std::string level = state_ ? binding_.levelName(TopOf(state_)) : std::string();
    std::string path = level == "_level0" ? std::string() : level;
    for (const std::string &name : NamesFromRoot(state_))
        path += "/" + name;
    return path.empty() ? "/" : path;
}

Value ClipObject::property(Machine &machine, int index)
{
    if (!state_)
        return {};
    DisplayObject *object = displayObject();
    switch (index) {
    case kX:
        return Value(object ? object->matrix.tx / 20.0 : 0.0);
    case kY:
        return Value(object ? object->matrix.ty / 20.0 : 0.0);
    case kXScale:
        return Value(object ? XScale(*object) : 100.0);
    case kYScale:
        return Value(object ? YScale(*object) : 100.0);
    case kRotation:
        return Value(object ? Rotation(*object) : 0.0);
    case kAlpha:
        return Value(object ? double(object->colorTransform.mult[3]) * 100.0 : 100.0);
    case kVisible:
        return Value(object ? object->visible : true);
    case kWidth:
        return Value(BoundsInParent(*this).width() / 20.0);
    case kHeight:
        return Value(BoundsInParent(*this).height() / 20.0);
    case kCurrentFrame:
        return Value(double(currentFrame() + 1));
    case kTotalFrames:
    case kFramesLoaded:
        return Value(double(totalFrames()));
    case kTarget:
        return Value(slashPath());
    case kName:
        return Value(name());
    case kDropTarget: {
        const auto *drags = dynamic_cast<const ClipDragHost *>(&binding_);
        return Value(drags ? drags->dropTargetOf(this) : std::string());
    }
    case kUrl:
        return Value(MovieUrl(binding_.loader().factsOf(state_)));
    case kHighQuality:
        return Value(1.0);
    case kFocusRect:
        return machine.focus ? machine.focus->focusRect(*this) : Value::null();
    case kSoundBufTime:
        return Value(5.0);
    case kQuality:
        return Value("HIGH");
    case kXMouse:
    case kYMouse:
        return Value(MouseIn(*state_, index == kXMouse));
    default:
        (void)machine;
        return {};
    }
}

void ClipObject::setProperty(Machine &machine, int index, const Value &value)
{
    DisplayObject *object = displayObject();
    if (!object) {
        if (index == kName || index == kVisible || index == kAlpha)
            return;
        return;
    }
    const double n = machine.toNumber(value);
    const bool finite = std::isfinite(n);
    if (index <= kYScale || index == kAlpha || index == kWidth || index == kHeight || index == kRotation)
        object->transformedByScript = true;
    switch (index) {
    case kX:
        if (finite)
            object->matrix.tx = std::round(n * 20.0);
        break;
    case kY:
        if (finite)
            object->matrix.ty = std::round(n * 20.0);
        break;
    case kXScale:
        if (finite)
            SetXScale(*object, n);
        break;
    case kYScale:
        if (finite)
            SetYScale(*object, n);
        break;
    case kRotation:
        if (!std::isnan(n))
            SetRotation(*object, n);
        break;
    case kAlpha:
        if (finite)
            object->colorTransform.mult[3] = float(n / 100.0);
        break;
    case kVisible:
        object->visible = machine.toBoolean(value);
        if (!object->visible)
            DropFocusFrom(machine, this);
        break;
    case kFocusRect:
        if (machine.focus)
            machine.focus->setFocusRect(*this, value);
        break;
    case kWidth:
    case kHeight:
        if (finite)
            SetSize(*this, index == kWidth, n * 20.0);
        break;
    case kName:
        object->name = machine.toString(value);
        break;
    default:
        break;
    }
}

Value ClipObject::getSpecial(Machine &machine, const std::string &name, bool &found)
{
    found = false;
    if (!state_)
        return {};
    // Up to SWF 5 the display properties come before anything of the
    // same name; later, own properties and children come first.
    if (machine.version() <= kLastDisplayFirstVersion) {
        const int index = DisplayPropertyIndex(name);
        if (index >= 0) {
            found = true;
            return property(machine, index);
        }
    }
    std::string scratch;
    if (findOwn(machine.keyOf(name, scratch)))
        return {};
    if (Object *named = namedChild(machine, name)) {
        found = true;
        return Value(named);
    }
    const std::string lower = AsciiLower(name);
    if (lower == "_lockroot" && machine.version() >= kLockRootVersion) {
        found = true;
        return Value(lockRoot_);
    }
    if (lower == "_root") {
        found = true;
        return Value(rootClip());
    }
    if (lower == "_parent") {
        found = true;
        ClipObject *parent = parentClip();
        return parent ? Value(parent) : Value();
    }
    const int index = DisplayPropertyIndex(name);
    if (index < 0)
        return {};
    found = true;
    return property(machine, index);
}

bool ClipObject::setSpecial(Machine &machine, const std::string &name, const Value &value)
{
    if (state_ && !name.empty() && name[0] == '_' && machine.version() >= kLockRootVersion
        && AsciiLower(name) == "_lockroot") {
        lockRoot_ = machine.toBoolean(value);
        return true;
    }
    const int index = DisplayPropertyIndex(name);
    if (index < 0 || !state_)
        return false;
    setProperty(machine, index, value);
    return true;
}

}  // namespace swf::avm1
