// The script Sound object's volume, pan and transform as the mixer applies
// them: to the sounds of its clip and the clips inside it, or of the whole
// movie, those already playing included, from the next mixed block on.

#include <gtest/gtest.h>

#include "soundbuilder.h"
#include "swf/media/soundmixer.h"
#include "swf/movie.h"

using namespace swftest;

namespace {

const swf::Rect kStage{0, 2000, 0, 2000};
// At 12 frames a second, one frame lasts this many 44.1 kHz frames.
constexpr int kFrameSamples = 3675;
constexpr int kSoundLength = 4 * kFrameSamples;
constexpr int16_t kLevel = 1000;
constexpr uint16_t kSoundId = 1, kSoundingSprite = 2, kOuterSprite = 3, kQuietSprite = 4;
constexpr uint16_t kExportAssetsTag = 56;
constexpr uint8_t kPop = 0x17, kGetVariable = 0x1c, kSetVariable = 0x1d, kNewObject = 0x40, kInitObject = 0x43,
                  kCallMethod = 0x52;

QByteArray Str(const std::string &text) { return actions::pushString(text); }
QByteArray Num(double value) { return actions::pushNumber(value); }

// new Sound(target), or new Sound() for an empty target.
QByteArray NewSound(const std::string &target)
{
    const QByteArray args = target.empty() ? Num(0) : Str(target) + actions::op(kGetVariable) + Num(1);
    return args + Str("Sound") + actions::op(kNewObject);
}

// sound.method(args...), its result dropped.
QByteArray Call(const QByteArray &sound, const std::string &method, const QByteArray &args = {}, int count = 0)
{
    return args + Num(count) + sound + Str(method) + actions::op(kCallMethod) + actions::op(kPop);
}

QByteArray SetVariable(const std::string &name, const QByteArray &value)
{
    return Str(name) + value + actions::op(kSetVariable);
}

// {ll: ll, lr: lr, rr: rr, rl: rl}
QByteArray TransformObject(double ll, double lr, double rr, double rl)
{
    return Str("ll") + Num(ll) + Str("lr") + Num(lr) + Str("rr") + Num(rr) + Str("rl") + Num(rl) + Num(4)
           + actions::op(kInitObject);
}

SwfBuilder MovieWithExportedSound(uint16_t frameCount)
{
    SwfBuilder b(8, kStage, 12, frameCount);
    b.tag(kDefineSoundTag,
          DefineSoundBody(kSoundId, kPcm44Mono, kSoundLength, ConstantSamples(kSoundLength, kLevel)));
    BitWriter exports;
    exports.u16(1);
    exports.u16(kSoundId);
    exports.string("snd");
    b.tag(kExportAssetsTag, exports.data());
    return b;
}

swftest::Placement Named(uint16_t depth, uint16_t characterId, const std::string &name)
{
    swftest::Placement p = PlaceCharacter(depth, characterId);
    p.name = name;
    return p;
}

// Frame 0 places "c" (a clip whose inner clip starts the sound) and "d"
// (a clip that starts it itself); frame 1 runs `actions`.
SwfBuilder TwoSoundingClips(const QByteArray &actions)
{
    SwfBuilder b = MovieWithExportedSound(3);
    b.defineSprite(kSoundingSprite, 1,
                   SwfBuilder::tagBytes(kStartSoundTag, StartSoundBody(kSoundId)) + SwfBuilder::tagBytes(1, {}));
    b.defineSprite(kOuterSprite, 1,
                   SwfBuilder::tagBytes(26, SwfBuilder::placeObject2Body(PlaceCharacter(1, kSoundingSprite)))
                       + SwfBuilder::tagBytes(1, {}));
    b.placeObject2(Named(1, kOuterSprite, "c")).placeObject2(Named(2, kSoundingSprite, "d")).showFrame();
    b.doAction(actions).showFrame().showFrame();
    return b;
}

std::vector<int16_t> Record(const SwfBuilder &b, int frames)
{
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    return RecordSound(player, frames);
}

// The left and right sample a little into movie frame `frame`.
std::pair<int, int> HeardIn(const std::vector<int16_t> &mix, int frame)
{
    const size_t at = size_t(frame * kFrameSamples + 100) * 2;
    return {mix.at(at), mix.at(at + 1)};
}

struct LevelCase {
    const char *name;
    QByteArray actions;
    int left, right;  // heard once the actions have run
};

}  // namespace

TEST(SoundLevels, SettingsReachTheSoundsAlreadyPlaying)
{
    const LevelCase cases[] = {
        {"nothing set", {}, 2 * kLevel, 2 * kLevel},
        {"whole movie at half", Call(NewSound(""), "setVolume", Num(50), 1), kLevel, kLevel},
        {"a clip at half, through its inner clip", Call(NewSound("c"), "setVolume", Num(50), 1), 3 * kLevel / 2,
         3 * kLevel / 2},
        {"a clip panned right", Call(NewSound("c"), "setPan", Num(100), 1), kLevel, 2 * kLevel},
        {"a clip half left", Call(NewSound("d"), "setPan", Num(-50), 1), 2 * kLevel, 3 * kLevel / 2},
        {"a clip silent, the movie at half",
         Call(NewSound("d"), "setVolume", Num(0), 1) + Call(NewSound(""), "setVolume", Num(50), 1), kLevel / 2,
         kLevel / 2},
        {"both inputs to the left", Call(NewSound("d"), "setTransform", TransformObject(100, 100, 0, 0), 1),
         3 * kLevel, kLevel},
        {"a clip's volume and its parent's multiply",
         Call(NewSound("c"), "setVolume", Num(50), 1) + Call(NewSound("_root"), "setVolume", Num(50), 1),
         3 * kLevel / 4, 3 * kLevel / 4},
        {"out of range volumes are whole or nothing",
         Call(NewSound("c"), "setVolume", Num(400), 1) + Call(NewSound("d"), "setVolume", Num(-20), 1), kLevel,
         kLevel},
    };
    for (const LevelCase &c : cases) {
        const std::vector<int16_t> mix = Record(TwoSoundingClips(c.actions), 3);
        EXPECT_EQ(HeardIn(mix, 0), std::make_pair(2 * int(kLevel), 2 * int(kLevel))) << c.name;
        EXPECT_EQ(HeardIn(mix, 1), std::make_pair(c.left, c.right)) << c.name;
        EXPECT_EQ(HeardIn(mix, 2), std::make_pair(c.left, c.right)) << c.name;
    }
}

// A sound a script starts for a clip follows that clip's settings; volume
// set before sound is on (the first frame runs silent) holds when it comes.
TEST(SoundLevels, ScriptSoundFollowsItsClipFromTheFirstFrame)
{
    SwfBuilder b = MovieWithExportedSound(3);
    b.defineSprite(kQuietSprite, 1, SwfBuilder::tagBytes(1, {}));
    const QByteArray sound = Str("s") + actions::op(kGetVariable);
    b.placeObject2(Named(1, kQuietSprite, "e"))
        .doAction(SetVariable("s", NewSound("e")) + Call(sound, "attachSound", Str("snd"), 1) + Call(sound, "start")
                  + Call(NewSound(""), "setVolume", Num(50), 1))
        .showFrame();
    b.doAction(Call(sound, "setPan", Num(-100), 1)).showFrame().showFrame();
    const std::vector<int16_t> mix = Record(b, 3);
    EXPECT_EQ(HeardIn(mix, 0), std::make_pair(kLevel / 2, kLevel / 2));
    EXPECT_EQ(HeardIn(mix, 1), std::make_pair(kLevel / 2, 0));
}

// A clip that goes takes its settings along: the sound it started plays on
// at the levels of the clips around it.
TEST(SoundLevels, RemovedClipLeavesItsSoundToItsParents)
{
    SwfBuilder b = MovieWithExportedSound(3);
    b.defineSprite(kSoundingSprite, 1,
                   SwfBuilder::tagBytes(kStartSoundTag, StartSoundBody(kSoundId)) + SwfBuilder::tagBytes(1, {}));
    b.placeObject2(Named(1, kSoundingSprite, "d"))
        .doAction(Call(NewSound("d"), "setVolume", Num(20), 1) + Call(NewSound(""), "setVolume", Num(50), 1))
        .showFrame();
    b.removeObject2(1).showFrame().showFrame();
    const std::vector<int16_t> mix = Record(b, 3);
    EXPECT_EQ(HeardIn(mix, 0), std::make_pair(kLevel / 10, kLevel / 10));
    EXPECT_EQ(HeardIn(mix, 1), std::make_pair(kLevel / 2, kLevel / 2));
}
