// Event and stream sounds as a player plays them: what the mixer makes of
// a movie's sounds on the simulated clock, frame by frame.

#include <gtest/gtest.h>

#include <algorithm>

#include "soundbuilder.h"
#include "swf/media/soundmixer.h"
#include "swf/media/soundrecorder.h"
#include "swf/movie.h"

using swf::MoviePlayer;
using namespace swftest;

namespace {

const swf::Rect kStage{0, 2000, 0, 2000};
// At 12 frames a second, one frame lasts this many 44.1 kHz frames.
constexpr int kFrameSamples = 3675;
constexpr uint16_t kSoundId = 1;
constexpr int kSoundLength = 4410;
constexpr int16_t kLevel = 1000;

SwfBuilder MovieWithSound(uint16_t frameCount)
{
    SwfBuilder b(8, kStage, 12, frameCount);
    b.tag(kDefineSoundTag,
          DefineSoundBody(kSoundId, kPcm44Mono, kSoundLength, ConstantSamples(kSoundLength, kLevel)));
    return b;
}

std::unique_ptr<MoviePlayer> Load(const SwfBuilder &b)
{
    auto movie = swf::LoadMovieFromBytes(b.bytes());
    EXPECT_TRUE(movie);
    return std::make_unique<MoviePlayer>(movie);
}

int AudibleFrames(const std::vector<int16_t> &samples)
{
    int count = 0;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        count += samples[i] != 0 || samples[i + 1] != 0;
    return count;
}

int16_t LeftAt(const std::vector<int16_t> &samples, int frame) { return samples.at(size_t(frame) * 2); }
int16_t RightAt(const std::vector<int16_t> &samples, int frame) { return samples.at(size_t(frame) * 2 + 1); }

}  // namespace

TEST(Sound, EventSoundStartsOnItsFrameAndPlaysItsLength)
{
    SwfBuilder b = MovieWithSound(4);
    b.showFrame().tag(kStartSoundTag, StartSoundBody(kSoundId)).showFrame().showFrame().showFrame();
    auto player = Load(b);
    const std::vector<int16_t> mix = RecordSound(*player, 4);

    ASSERT_EQ(mix.size(), size_t(4 * kFrameSamples * 2));
    EXPECT_EQ(LeftAt(mix, kFrameSamples - 1), 0);
    EXPECT_EQ(LeftAt(mix, kFrameSamples), kLevel);
    EXPECT_EQ(RightAt(mix, kFrameSamples), kLevel);
    EXPECT_EQ(LeftAt(mix, kFrameSamples + kSoundLength - 1), kLevel);
    EXPECT_EQ(LeftAt(mix, kFrameSamples + kSoundLength), 0);
    EXPECT_EQ(AudibleFrames(mix), kSoundLength);
}

struct SoundInfoCase {
    const char *name;
    SoundInfoRecord info;
    int audibleFrames;
    int16_t firstLeft, firstRight;
};

TEST(Sound, SoundInfoChoosesWhatPlays)
{
    const SoundInfoCase cases[] = {
        {"whole sound", {}, kSoundLength, kLevel, kLevel},
        {"in and out points", {false, false, 1000, 2000, -1, {}}, 1000, kLevel, kLevel},
        {"three loops", {false, false, -1, -1, 3, {}}, 3 * kSoundLength, kLevel, kLevel},
        {"points and loops", {false, false, 1000, 2000, 2, {}}, 2000, kLevel, kLevel},
        {"out point past the end", {false, false, -1, 99999, -1, {}}, kSoundLength, kLevel, kLevel},
        {"left muted by the envelope", {false, false, -1, -1, -1, {{0, 0, 32768}}}, kSoundLength, 0, kLevel},
        {"half volume", {false, false, -1, -1, -1, {{0, 16384, 16384}}}, kSoundLength, kLevel / 2, kLevel / 2},
    };
    for (const SoundInfoCase &c : cases) {
        SwfBuilder b = MovieWithSound(5);
        b.tag(kStartSoundTag, StartSoundBody(kSoundId, c.info)).showFrame();
        auto player = Load(b);
        const std::vector<int16_t> mix = RecordSound(*player, 5);
        EXPECT_EQ(AudibleFrames(mix), c.audibleFrames) << c.name;
        EXPECT_EQ(LeftAt(mix, 0), c.firstLeft) << c.name;
        EXPECT_EQ(RightAt(mix, 0), c.firstRight) << c.name;
    }
}

TEST(Sound, EnvelopeFadesBetweenItsPoints)
{
    SwfBuilder b = MovieWithSound(2);
    b.tag(kStartSoundTag, StartSoundBody(kSoundId, {false, false, -1, -1, -1, {{0, 0, 0}, {4000, 32768, 32768}}}))
        .showFrame();
    auto player = Load(b);
    const std::vector<int16_t> mix = RecordSound(*player, 2);
    EXPECT_EQ(LeftAt(mix, 0), 0);
    EXPECT_NEAR(LeftAt(mix, 2000), kLevel / 2, 1);
    EXPECT_EQ(LeftAt(mix, 4200), kLevel);
}

TEST(Sound, SecondCopyPlaysUnlessForbiddenAndStopSilencesAll)
{
    for (const bool noMultiple : {false, true}) {
        SwfBuilder b = MovieWithSound(3);
        SoundInfoRecord second;
        second.noMultiple = noMultiple;
        SoundInfoRecord stop;
        stop.stop = true;
        b.tag(kStartSoundTag, StartSoundBody(kSoundId)).showFrame();
        b.tag(kStartSoundTag, StartSoundBody(kSoundId, second)).showFrame();
        b.tag(kStartSoundTag, StartSoundBody(kSoundId, stop)).showFrame();
        auto player = Load(b);
        const std::vector<int16_t> mix = RecordSound(*player, 3);
        EXPECT_EQ(LeftAt(mix, kFrameSamples + 10), noMultiple ? kLevel : 2 * kLevel) << noMultiple;
        EXPECT_EQ(LeftAt(mix, 2 * kFrameSamples), 0) << noMultiple;
    }
}

TEST(Sound, AtMostThirtyTwoSoundsPlayAtOnce)
{
    SwfBuilder b = MovieWithSound(1);
    for (int i = 0; i < 40; ++i)
        b.tag(kStartSoundTag, StartSoundBody(kSoundId));
    b.showFrame();
    auto player = Load(b);
    player->setSoundEnabled(true);
    EXPECT_EQ(player->soundMixer()->voiceCount(), swf::SoundMixer::kMostVoices);
}

namespace {

// Four frames, each with a stream block of one frame's length whose
// samples are 100 times the frame's number plus 100.
SwfBuilder MovieWithStream(int frames)
{
    SwfBuilder b(8, kStage, 12, uint16_t(frames));
    b.tag(kSoundStreamHead2Tag, StreamHeadBody(kPcm44Mono, kFrameSamples));
    for (int f = 0; f < frames; ++f)
        b.tag(kSoundStreamBlockTag, ConstantSamples(kFrameSamples, int16_t(100 * (f + 1)))).showFrame();
    return b;
}

}  // namespace

TEST(Sound, StreamPlaysEachFrameBlockWithItsFrame)
{
    auto player = Load(MovieWithStream(4));
    const std::vector<int16_t> mix = RecordSound(*player, 4);
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(LeftAt(mix, f * kFrameSamples + 1), 100 * (f + 1)) << f;
        EXPECT_EQ(LeftAt(mix, (f + 1) * kFrameSamples - 1), 100 * (f + 1)) << f;
    }
}

TEST(Sound, FrameClockFollowsTheStream)
{
    auto player = Load(MovieWithStream(8));
    player->setSoundEnabled(true);
    swf::SoundRecorder recorder(player->soundMixer(), 12);
    int behind = -1;
    EXPECT_TRUE(player->framesBehindSound(behind));
    EXPECT_EQ(behind, 0);
    recorder.recordFrame();
    recorder.recordFrame();
    recorder.recordFrame();
    EXPECT_TRUE(player->framesBehindSound(behind));
    EXPECT_EQ(behind, 3);
    player->advance();
    EXPECT_TRUE(player->framesBehindSound(behind));
    EXPECT_EQ(behind, 2);
    player->setSoundEnabled(false);
    EXPECT_FALSE(player->framesBehindSound(behind));
}

TEST(Sound, GotoStopsTheStreamAndPlayingOnResumesAtTheNewFrame)
{
    auto player = Load(MovieWithStream(6));
    RecordSound(*player, 2);
    player->gotoFrame(4);
    EXPECT_EQ(player->soundMixer()->voiceCount(), 0);
    player->gotoFrame(2);
    player->advance();
    swf::SoundRecorder recorder(player->soundMixer(), 12);
    recorder.recordFrame();
    EXPECT_EQ(LeftAt(recorder.samples(), 0), 400);
}

TEST(Sound, SilentUntilTheHostAsksPausedWhenItStopsAndGoingOnAfter)
{
    SwfBuilder b = MovieWithSound(3);
    b.tag(kStartSoundTag, StartSoundBody(kSoundId)).showFrame().showFrame().showFrame();
    auto player = Load(b);
    const auto mixer = player->soundMixer();
    std::vector<int16_t> out(2 * 1000, 1);
    const auto audible = [&] {
        mixer->mix(out.data(), 1000);
        return AudibleFrames(out);
    };
    EXPECT_EQ(audible(), 0) << "sound before the host asked for it";

    // A host that moves past the first frame before turning sound on (as
    // the preview does) still hears the first frame's sound.
    player->advance();
    player->setSoundEnabled(true);
    EXPECT_EQ(audible(), 1000);
    EXPECT_EQ(out[0], kLevel);

    player->setSoundEnabled(false);
    EXPECT_EQ(audible(), 0) << "sound while paused";
    player->advance();  // steps while paused start nothing, even the first frame's sound again
    player->advance();
    player->advance();
    EXPECT_EQ(mixer->voiceCount(), 1);

    // Back on the frame it paused at, the sound goes on where it stood.
    player->gotoFrame(1);
    player->setSoundEnabled(true);
    int heard = 0;
    for (int i = 0; i < 5; ++i)
        heard += audible();
    EXPECT_EQ(heard, kSoundLength - 1000);
}

TEST(Sound, MixerOutlivingItsPlayerIsSilent)
{
    SwfBuilder b = MovieWithSound(1);
    b.tag(kStartSoundTag, StartSoundBody(kSoundId)).showFrame();
    auto player = Load(b);
    player->setSoundEnabled(true);
    const auto mixer = player->soundMixer();
    player.reset();
    std::vector<int16_t> out(200, 1);
    mixer->mix(out.data(), 100);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
}

TEST(Sound, ButtonPlaysTheSoundOfItsRollOver)
{
    constexpr uint16_t kRectangleId = 2, kButtonId = 3, kDefineButtonSound = 17;
    SwfBuilder b = MovieWithSound(1);
    b.defineRectangle(kRectangleId, kStage, swf::Rgba{255, 0, 0, 255});
    b.defineButton2(kButtonId, false, {{0x0f, kRectangleId, 1, {}}}, {});
    BitWriter sounds;
    sounds.u16(kButtonId);
    sounds.u16(0);                          // roll out: none
    sounds.bytes(StartSoundBody(kSoundId));  // roll over
    sounds.u16(0);                          // press: none
    sounds.u16(0);                          // release: none
    b.tag(kDefineButtonSound, sounds.data());
    b.placeObject2(PlaceCharacter(1, kButtonId)).showFrame();
    auto player = Load(b);
    player->setSoundEnabled(true);
    const auto mixer = player->soundMixer();
    player->mouseMove(QPointF(50, 50));
    EXPECT_EQ(mixer->voiceCount(), 1);
    player->mouseDown(QPointF(50, 50));
    player->mouseUp(QPointF(50, 50));
    player->mouseLeave();
    EXPECT_EQ(mixer->voiceCount(), 1);
}
