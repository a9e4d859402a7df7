// Sound: attachSound, loadSound (MP3 files of the movie's own folder),
// start, stop, volume, pan and transform, duration and position,
// onSoundComplete and onLoad.

#include "swf/avm1/soundobject.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/characters/dictionary.h"
#include "swf/media/mp3file.h"
#include "swf/media/soundcharacter.h"
#include "swf/timeline/framesounds.h"
#include "swf/timeline/playercontext.h"

namespace swf::avm1 {

namespace {

// The most times a script may ask a sound to play.
constexpr double kMostLoops = 1e6;

SoundObject *ThisSound(const Value &self) { return dynamic_cast<SoundObject *>(self.object()); }

// The clip a path from the root names, or null.
ClipObject *ClipAt(Machine &m, const std::string &path)
{
    ClipObject *at = m.clips ? m.clips->level(0) : nullptr;
    size_t start = 0;
    while (at && start < path.size()) {
        const size_t end = std::min(path.find_first_of("./", start), path.size());
        const std::string part = path.substr(start, end - start);
        const std::string k = m.key(part);
        if (!part.empty() && k != "_root" && k != "_level0")
            at = dynamic_cast<ClipObject *>(m.get(at, part).object());
        start = end + 1;
    }
    return at;
}

// Where the object's target is now: false when it names no clip on stage;
// `clip` null for the sounds of the whole movie.
bool FindTarget(Machine &m, const SoundObject &sound, ClipObject *&clip)
{
    clip = nullptr;
    if (sound.target.isNullish())
        return true;
    if (auto *given = dynamic_cast<ClipObject *>(sound.target.object()))
        clip = given->state() ? given : nullptr;
    else
        clip = ClipAt(m, m.toString(sound.target));
    return clip != nullptr;
}

// The clip settings the object works on; null when it has none.
const SoundTransform *TransformOf(Machine &m, SoundObject *sound)
{
    ClipObject *clip = nullptr;
    if (!sound || !m.scriptSounds || !FindTarget(m, *sound, clip))
        return nullptr;
    return &m.scriptSounds->transformOf(clip);
}

// Lets `change` alter the settings the object works on, if it has any.
template <typename Change>
void ChangeTransform(Machine &m, const Value &self, Change change)
{
    SoundObject *sound = ThisSound(self);
    ClipObject *clip = nullptr;
    if (!sound || !m.scriptSounds || !FindTarget(m, *sound, clip))
        return;
    SoundTransform transform = m.scriptSounds->transformOf(clip);
    change(transform);
    m.scriptSounds->setTransform(clip, transform);
}

Value SoundConstruct(Machine &m, const Value &self, const Args &args)
{
    auto *sound = m.make<SoundObject>(m.objectProto);
    TakeOverInstance(m, self.object(), sound);
    sound->target = args[0];
    return Value(sound);
}

Value SoundCall(Machine &, const Value &, const Args &) { return {}; }

Value AttachSound(Machine &m, const Value &self, const Args &args)
{
    SoundObject *sound = ThisSound(self);
    ClipObject *clip = nullptr;
    if (!sound || !m.scriptSounds || !FindTarget(m, *sound, clip))
        return {};
    if (const uint16_t id = m.scriptSounds->exportedSound(m, m.toString(args[0]))) {
        sound->soundId = id;
        sound->startedAtMs = -1;
    }
    return {};
}

// loadSound(url, isStreaming): the file is read at once; onLoad hears
// how it went on the next tick. A streaming sound starts by itself.
Value LoadSound(Machine &m, const Value &self, const Args &args)
{
    SoundObject *sound = ThisSound(self);
    if (!sound || !m.scriptSounds || !m.clips)
        return {};
    const std::string url = m.toString(args[0]);
    MovieLoader &loader = m.clips->loader();
    const uint16_t id =
        m.scriptSounds->loadedSound(m, url, [&](std::string &bytes) { return loader.readFile(url, bytes); });
    m.scriptSounds->release(*sound);
    sound->soundId = id;
    sound->startedAtMs = -1;
    if (id && m.toBoolean(args[1]))
        m.scriptSounds->start(m, *sound, 0, 1);
    m.clips->loader().requestLoadedCall(sound, id != 0);
    return {};
}

Value Start(Machine &m, const Value &self, const Args &args)
{
    SoundObject *sound = ThisSound(self);
    if (!sound || !sound->soundId || !m.scriptSounds)
        return {};
    const double offset = args.size() > 0 ? m.toNumber(args[0]) : 0;
    const double loops = args.size() > 1 ? m.toNumber(args[1]) : 1;
    m.scriptSounds->start(m, *sound, std::isfinite(offset) ? std::max(0.0, offset) : 0,
                          int(std::isfinite(loops) ? std::clamp(loops, 1.0, kMostLoops) : 1));
    return {};
}

Value Stop(Machine &m, const Value &self, const Args &args)
{
    SoundObject *sound = ThisSound(self);
    if (!sound || !m.scriptSounds)
        return {};
    if (args.size() > 0) {
        if (const uint16_t id = m.scriptSounds->exportedSound(m, m.toString(args[0])))
            m.scriptSounds->stop(id);
    } else {
        m.scriptSounds->stop(sound->target.isNullish() ? 0 : sound->soundId);
    }
    return {};
}

Value GetVolume(Machine &m, const Value &self, const Args &)
{
    const SoundTransform *t = TransformOf(m, ThisSound(self));
    return t ? Value(t->volume) : Value();
}

Value SetVolume(Machine &m, const Value &self, const Args &args)
{
    const double volume = m.toNumber(args[0]);
    if (std::isfinite(volume))
        ChangeTransform(m, self, [volume](SoundTransform &t) { t.volume = std::trunc(volume); });
    return {};
}

// Pan -100 (left only) .. 100 (right only) turns the other side down.
Value GetPan(Machine &m, const Value &self, const Args &)
{
    const SoundTransform *t = TransformOf(m, ThisSound(self));
    return t ? Value(t->rr - t->ll) : Value();
}

Value SetPan(Machine &m, const Value &self, const Args &args)
{
    const double pan = m.toNumber(args[0]);
    if (!std::isfinite(pan))
        return {};
    const double p = std::trunc(pan);
    ChangeTransform(m, self, [p](SoundTransform &t) {
        t.ll = p > 0 ? 100 - p : 100;
        t.rr = p < 0 ? 100 + p : 100;
        t.lr = t.rl = 0;
    });
    return {};
}

Value GetTransform(Machine &m, const Value &self, const Args &)
{
    const SoundTransform *t = TransformOf(m, ThisSound(self));
    if (!t)
        return {};
    Object *result = m.newObject();
    m.set(result, "ll", Value(t->ll));
    m.set(result, "lr", Value(t->lr));
    m.set(result, "rr", Value(t->rr));
    m.set(result, "rl", Value(t->rl));
    return Value(result);
}

Value SetTransform(Machine &m, const Value &self, const Args &args)
{
    Object *from = args[0].object();
    if (!from)
        return {};
    ChangeTransform(m, self, [&m, from](SoundTransform &t) {
        for (auto [name, field] : {std::pair{"ll", &t.ll}, {"lr", &t.lr}, {"rr", &t.rr}, {"rl", &t.rl}}) {
            if (!m.has(from, name))
                continue;
            const double v = m.toNumber(m.get(from, name));
            if (std::isfinite(v))
                *field = std::trunc(v);
        }
    });
    return {};
}

Value Duration(Machine &m, const Value &self, const Args &)
{
    SoundObject *sound = ThisSound(self);
    if (!sound || !sound->soundId || !m.scriptSounds)
        return {};
    return Value(std::round(m.scriptSounds->durationMs(sound->soundId)));
}

// Where the last start has got to on the player's clock.
Value Position(Machine &m, const Value &self, const Args &)
{
    SoundObject *sound = ThisSound(self);
    if (!sound || !sound->soundId || !m.scriptSounds)
        return {};
    if (sound->startedAtMs < 0)
        return Value(0.0);
    const double duration = m.scriptSounds->durationMs(sound->soundId);
    const double played = sound->offsetMs + (m.clockMs - sound->startedAtMs);
    return Value(std::round(duration > 0 ? std::fmod(played, duration) : 0));
}

Value Nothing(Machine &, const Value &, const Args &) { return {}; }

// Settings as a share of 100, scaled by the volume; the mixer takes shares
// of 1 and no more than a whole channel from any one clip.
SoundLevels LevelsOf(const SoundTransform &t)
{
    const double volume = std::clamp(t.volume, 0.0, 100.0) / 100;
    const auto share = [volume](double percent) { return std::clamp(percent, 0.0, 100.0) / 100 * volume; };
    SoundLevels levels;
    levels.leftToLeft = share(t.ll);
    levels.rightToLeft = share(t.lr);
    levels.rightToRight = share(t.rr);
    levels.leftToRight = share(t.rl);
    return levels;
}

void DefineGetter(Machine &m, Object *target, const char *name, NativeFunction getter)
{
    Property &p = target->putOwn(m.key(name), name, Value(), kDontEnum | kDontDelete);
    p.getter = m.newNative(getter);
}

}  // namespace

ScriptSounds::ScriptSounds(const Dictionary *dictionary, const std::unordered_map<std::string, uint16_t> *exports)
    : dictionary_(dictionary), exports_(exports)
{
}

uint16_t ScriptSounds::exportedSound(Machine &machine, const std::string &name) const
{
    if (!exports_)
        return 0;
    const std::string wanted = machine.key(name);
    for (const auto &[exported, id] : *exports_)
        if (machine.key(exported) == wanted && sound(id))
            return id;
    return 0;
}

struct ScriptSounds::LoadedSound {
    explicit LoadedSound(uint16_t id, Mp3File from)
        : file(std::move(from)),
          character(id, file.format, file.sampleCount, reinterpret_cast<const uint8_t *>(file.soundData.data()),
                    file.soundData.size())
    {
    }
    Mp3File file;
    SoundCharacter character;
};

const SoundCharacter *ScriptSounds::sound(uint16_t id) const
{
    const auto loaded = loaded_.find(id);
    if (loaded != loaded_.end())
        return &loaded->second->character;
    return dictionary_ ? dictionary_->findAs<SoundCharacter>(id) : nullptr;
}

uint16_t ScriptSounds::loadedSound(Machine &machine, const std::string &url,
                                   const std::function<bool(std::string &)> &read)
{
    const auto known = loadedIds_.find(url);
    if (known != loadedIds_.end())
        return known->second;
    if (loadedIds_.size() >= kMostLoadedSounds)
        return 0;
    std::string bytes;
    Mp3File file;
    uint16_t id = 0;
    if (read(bytes) && ReadMp3File(bytes, file)) {
        while (dictionary_ && dictionary_->find(nextLoadedId_))
            --nextLoadedId_;
        id = nextLoadedId_--;
        machine.book(file.soundData.size());
        loaded_.emplace(id, std::make_shared<const LoadedSound>(id, std::move(file)));
    }
    // Only the frames are kept.
    machine.release(bytes.size());
    loadedIds_.emplace(url, id);
    return id;
}

void ScriptSounds::release(SoundObject &object)
{
    const uint16_t id = object.soundId;
    playing_.erase(std::remove_if(playing_.begin(), playing_.end(),
                                  [&object](const Playing &p) { return p.object == &object; }),
                   playing_.end());
    // A movie's own sound may be playing for other objects too.
    if (loaded_.count(id) && player_ && player_->sounds) {
        SoundInfo info;
        info.stop = true;
        player_->sounds->startEvent(*sound(id), id, info);
    }
}

double ScriptSounds::durationMs(uint16_t id) const
{
    const SoundCharacter *character = sound(id);
    if (!character || character->format().rate <= 0)
        return 0;
    return character->statedSampleCount() * 1000.0 / character->format().rate;
}

void ScriptSounds::start(Machine &machine, SoundObject &object, double offsetSeconds, int loops)
{
    const double duration = durationMs(object.soundId);
    object.startedAtMs = machine.clockMs;
    object.offsetMs = std::min(offsetSeconds * 1000, duration);
    playing_.push_back({&object, object.soundId, machine.clockMs + duration * loops - object.offsetMs});
    const SoundCharacter *character = sound(object.soundId);
    if (!player_ || !player_->sounds || !character)
        return;
    SoundInfo info;
    info.loops = uint16_t(std::min(loops, 65535));
    info.hasInPoint = object.offsetMs > 0;
    info.inPoint = uint32_t(object.offsetMs / 1000 * PcmBuffer::kRate);
    ClipObject *clip = nullptr;
    FindTarget(machine, object, clip);
    player_->sounds->startEvent(*character, object.soundId, info, SoundClipsOf(clip ? clip->state() : nullptr));
}

void ScriptSounds::setTransform(ClipObject *clip, const SoundTransform &transform)
{
    transforms_[clip] = transform;
    // A clip that has left the stage has no sounds to set; null would be
    // the whole movie's.
    if (player_ && player_->mixer && (!clip || clip->state()))
        player_->mixer->setLevels(clip ? clip->state() : nullptr, LevelsOf(transform));
}

void ScriptSounds::stop(uint16_t id)
{
    playing_.erase(std::remove_if(playing_.begin(), playing_.end(),
                                  [id](const Playing &p) { return id == 0 || p.soundId == id; }),
                   playing_.end());
    if (!player_ || !player_->sounds)
        return;
    if (id == 0) {
        player_->sounds->stopAll();
        return;
    }
    if (const SoundCharacter *character = sound(id)) {
        SoundInfo info;
        info.stop = true;
        player_->sounds->startEvent(*character, id, info);
    }
}

void ScriptSounds::completeEnded(Machine &machine)
{
    std::vector<SoundObject *> ended;
    for (auto it = playing_.begin(); it != playing_.end();) {
        if (it->endsAtMs <= machine.clockMs) {
            ended.push_back(it->object);
            it = playing_.erase(it);
        } else {
            ++it;
        }
    }
    for (SoundObject *object : ended)
        machine.callMethod(Value(object), "onSoundComplete", Args());
}

void ScriptSounds::collectRoots(std::vector<Object *> &roots) const
{
    for (const Playing &p : playing_)
        roots.push_back(p.object);
    for (const auto &entry : transforms_)
        if (entry.first)
            roots.push_back(entry.first);
}

void InstallSoundClass(Machine &m)
{
    Object *proto = m.newObject();
    DefineClass(m, "Sound", proto, SoundCall, SoundConstruct);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"attachSound", AttachSound},   {"start", Start},         {"stop", Stop},
        {"getVolume", GetVolume},       {"setVolume", SetVolume}, {"getPan", GetPan},
        {"setPan", SetPan},             {"getTransform", GetTransform}, {"setTransform", SetTransform},
        {"getDuration", Duration},      {"getPosition", Position}, {"loadSound", LoadSound},
        {"getBytesLoaded", Nothing},    {"getBytesTotal", Nothing},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
    DefineGetter(m, proto, "duration", Duration);
    DefineGetter(m, proto, "position", Position);
}

}  // namespace swf::avm1
