#pragma once
// The script Sound object's side of the player: which sounds scripts have
// started and when each ends (onSoundComplete comes on the player's clock,
// so it comes the same with sound off, in the tools and in the tests), and
// the volume and pan each clip's sounds play at. Sounds really play only
// while the player has a mixer (PlayerContext::sounds). One player's
// thread; the script engine owns it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/avm1/object.h"

namespace swf {
class Dictionary;
class SoundCharacter;
struct PlayerContext;
}  // namespace swf

namespace swf::avm1 {

class ClipObject;
class Machine;

// How a clip's sounds play: volume 0..100 and the share of each side in
// each ear (Sound.setTransform).
struct SoundTransform {
    double volume = 100;
    double ll = 100, lr = 0, rr = 100, rl = 0;
};

class SoundObject : public Object {
public:
    explicit SoundObject(Object *proto) : Object(proto) {}

    // The clip whose sounds this object controls, as given (a clip or its
    // path, found again at each use); undefined or null for all sounds.
    Value target;
    uint16_t soundId = 0;  // attachSound; 0 for none
    double startedAtMs = -1;
    double offsetMs = 0;

    void collectReferences(std::vector<Object *> &out) const override
    {
        Object::collectReferences(out);
        if (Object *o = target.object())
            out.push_back(o);
    }
};

class ScriptSounds {
public:
    ScriptSounds(const Dictionary *dictionary, const std::unordered_map<std::string, uint16_t> *exports);

    void setPlayer(PlayerContext *player) { player_ = player; }

    // The exported sound of a linkage name (letter case as names compare
    // in the movie's version); 0 when there is none.
    uint16_t exportedSound(Machine &machine, const std::string &name) const;
    const SoundCharacter *sound(uint16_t id) const;
    double durationMs(uint16_t id) const;

    // The sound of a file a script loaded (Sound.loadSound): `read` gets
    // the file's bytes, once per address, the answer kept whatever it was;
    // 0 when the data is no sound or too many addresses were asked for.
    uint16_t loadedSound(Machine &machine, const std::string &url, const std::function<bool(std::string &)> &read);
    // `object` takes another sound: what it plays stops, and no
    // onSoundComplete comes for it.
    void release(SoundObject &object);

    void start(Machine &machine, SoundObject &sound, double offsetSeconds, int loops);
    // Stops the sound `id` (0: every sound) and forgets it.
    void stop(uint16_t id);

    // The settings of the sounds of `clip` (null: of the whole movie).
    const SoundTransform &transformOf(ClipObject *clip) { return transforms_[clip]; }
    // Changes them; the sounds they apply to, playing or to come, follow
    // from the next mixed block on.
    void setTransform(ClipObject *clip, const SoundTransform &transform);

    // Calls onSoundComplete of the sounds that have ended by now.
    void completeEnded(Machine &machine);
    // What the collector must keep: playing sounds and clips with settings.
    void collectRoots(std::vector<Object *> &roots) const;

private:
    struct Playing {
        SoundObject *object;
        uint16_t soundId;
        double endsAtMs;
    };

    struct LoadedSound;
    static constexpr size_t kMostLoadedSounds = 64;

    const Dictionary *dictionary_;
    const std::unordered_map<std::string, uint16_t> *exports_;
    PlayerContext *player_ = nullptr;
    std::vector<Playing> playing_;
    std::unordered_map<ClipObject *, SoundTransform> transforms_;
    // Loaded sounds stay while the player lasts: the mixer may still be
    // playing one. Their ids count down from the top, past the movie's;
    // an address that gave no sound keeps 0.
    std::unordered_map<std::string, uint16_t> loadedIds_;
    std::unordered_map<uint16_t, std::shared_ptr<const LoadedSound>> loaded_;
    uint16_t nextLoadedId_ = 0xFFFF;
};

}  // namespace swf::avm1
