// MovieClipLoader: loads a movie into a clip or a level and tells its
// listeners how it goes (the MovieLoader calls broadcastMessage with
// onLoadStart, onLoadProgress, onLoadComplete, onLoadInit, onLoadError).
// A new loader is its own first listener.

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

namespace {

constexpr uint8_t kHiddenPermanent = kDontEnum | kDontDelete;
// Older movies see the class but cannot load with it.
constexpr int kLoadingVersion = 7;

ArrayObject *ListenersOf(Machine &m, const Value &self)
{
    return dynamic_cast<ArrayObject *>(m.getMember(self, "_listeners").object());
}

// Where `listener` is in the list; -1 when it is not.
long IndexOf(const std::vector<Value> &elements, const Value &listener)
{
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i].isObject() && elements[i].object() == listener.object())
            return long(i);
    return -1;
}

Value AddListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = ListenersOf(m, self);
    if (!listeners)
        return Value(false);
    if (const long at = IndexOf(listeners->elements, args[0]); at >= 0)
        listeners->elements.erase(listeners->elements.begin() + at);
    listeners->push(m, args[0]);
    return Value(true);
}

Value RemoveListener(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = ListenersOf(m, self);
    const long at = listeners ? IndexOf(listeners->elements, args[0]) : -1;
    if (at < 0)
        return Value(false);
    listeners->elements.erase(listeners->elements.begin() + at);
    return Value(true);
}

Value BroadcastMessage(Machine &m, const Value &self, const Args &args)
{
    ArrayObject *listeners = ListenersOf(m, self);
    if (!listeners)
        return {};
    const std::string event = m.toString(args[0]);
    const std::vector<Value> rest(args.all().size() > 1 ? args.all().begin() + 1 : args.all().end(),
                                  args.all().end());
    // A listener that adds or removes listeners changes the next message.
    const std::vector<Value> snapshot = listeners->elements;
    for (const Value &listener : snapshot)
        m.callMethod(listener, event, Args(rest));
    return Value(!snapshot.empty());
}

// A clip, a level number or a level's name; false when none.
bool TargetFrom(Machine &m, const Value &value, LoadTarget &target)
{
    if (auto *clip = dynamic_cast<ClipObject *>(value.object())) {
        target.clip = clip->state() ? clip : nullptr;
        return target.clip != nullptr;
    }
    if (value.isNumber()) {
        const double level = value.number();
        if (!(level >= 0 && level < 1e6))
            return false;
        target.level = int(level);
        return true;
    }
    if (!value.isString())
        return false;
    target.level = LevelNumber(m, value.string());
    if (target.level >= 0)
        return true;
    // Other paths lead from the root.
    Activation fromRoot;
    fromRoot.baseClip = fromRoot.target = m.clips ? m.clips->level(0) : nullptr;
    target.clip = dynamic_cast<ClipObject *>(ResolveTarget(m, fromRoot, value.string()));
    return target.clip && target.clip->state();
}

Value LoadClip(Machine &m, const Value &self, const Args &args)
{
    if (m.version() < kLoadingVersion)
        return {};
    LoadTarget target;
    if (args.size() < 2 || !m.clips || !self.isObject() || !TargetFrom(m, args[1], target))
        return Value(false);
    const std::string url = m.toString(args[0]);
    if (url.empty())
        return Value(false);
    m.clips->loader().request(target, url, self.object());
    return Value(true);
}

Value UnloadClip(Machine &m, const Value &self, const Args &args)
{
    if (m.version() < kLoadingVersion)
        return {};
    LoadTarget target;
    if (!m.clips || !TargetFrom(m, args[0], target))
        return Value(false);
    m.clips->loader().request(target, std::string(), self.object());
    return Value(true);
}

Value GetProgress(Machine &m, const Value &, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(args[0].object());
    if (!clip || !clip->state() || !m.clips)
        return {};
    const double bytes = m.clips->loader().factsOf(clip->state()).bytesTotal;
    Object *progress = m.newObject();
    m.set(progress, "bytesLoaded", Value(bytes));
    m.set(progress, "bytesTotal", Value(bytes));
    return Value(progress);
}

Value Construct(Machine &m, const Value &self, const Args &)
{
    if (Object *loader = self.object())
        m.defineValue(loader, "_listeners", Value(m.newArray({self})), kHiddenPermanent);
    return {};
}

// The broadcaster's own methods where the player has them, so that both
// share one function object.
Value BroadcasterMethod(Machine &m, const char *name, NativeFunction fallback)
{
    Value broadcaster = m.get(m.global, "AsBroadcaster");
    if (Object *object = broadcaster.object())
        if (Value method = m.get(object, name); method.isObject())
            return method;
    return Value(m.newNative(fallback));
}

}  // namespace

void InstallMovieClipLoaderClass(Machine &m)
{
    Object *proto = m.newObject();
    m.defineValue(proto, "_listeners", Value(m.newArray()), kHiddenPermanent);
    m.defineValue(proto, "addListener", BroadcasterMethod(m, "addListener", AddListener), kHiddenPermanent);
    m.defineValue(proto, "removeListener", BroadcasterMethod(m, "removeListener", RemoveListener), kHiddenPermanent);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"broadcastMessage", BroadcastMessage},
        {"loadClip", LoadClip},
        {"unloadClip", UnloadClip},
        {"getProgress", GetProgress},
    };
    for (const auto &[name, fn] : methods)
        m.defineValue(proto, name, Value(m.newNative(fn)), kHiddenPermanent);
    // The class is there for every movie, its methods only from SWF 7 on.
    proto->markAll(kHiddenPermanent | kVersion7Up);
    DefineClass(m, "MovieClipLoader", proto, Construct, Construct);
}

}  // namespace swf::avm1
