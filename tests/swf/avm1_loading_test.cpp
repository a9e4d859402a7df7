// Loading from scripts beyond what the corpus' logs check: pictures that
// load as one-frame movies (and files that only look like pictures), MP3
// files for Sound.loadSound, and when a movie that asks to quit stops
// running scripts.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "swf/characters/bitmap.h"
#include "swf/media/mp3file.h"
#include "swf/movie.h"
#include "swf/moviedefinition.h"
#include "swf/picturemovie.h"
#include "swfbuilder.h"

using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kGetVariable = 0x1c, kGetMember = 0x4e, kGetUrl2 = 0x9a, kSetVariable = 0x1d,
                  kSetMember = 0x4f, kCallMethod = 0x52, kNewObject = 0x40, kPop = 0x17;
constexpr uint8_t kLoadTargetFlag = 0x40;

QByteArray Encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40));
    return image;
}

// A 1x1 GIF, as small as the format allows.
const QByteArray kTinyGif = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

struct PictureCase {
    const char *what;
    QByteArray bytes;
    int width;  // 0: no movie is made
    int height;
};

class PictureMovieTest : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureMovieTest, MakesAOneFrameMovieOnlyOfARealPicture)
{
    const PictureCase &c = GetParam();
    const auto movie = swf::PictureMovie(c.bytes);
    if (c.width == 0) {
        EXPECT_EQ(movie, nullptr) << c.what;
        return;
    }
    ASSERT_NE(movie, nullptr) << c.what;
    EXPECT_EQ(movie->timeline.frameCount(), 1);
    ASSERT_EQ(movie->timeline.frame(0).commands.size(), 1u);
    const auto *bitmap = movie->dictionary.findAs<swf::BitmapCharacter>(
        movie->timeline.frame(0).commands[0].characterId);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->image().size(), QSize(c.width, c.height));
    EXPECT_EQ(movie->header.frame.xMax, c.width * 20);
    EXPECT_EQ(movie->header.frame.yMax, c.height * 20);
    EXPECT_EQ(movie->header.fileLength, uint32_t(c.bytes.size()));
}

const QByteArray kPng = Encoded(Picture(30, 20), "PNG");
const QByteArray kJpeg = Encoded(Picture(16, 8), "JPEG");

INSTANTIATE_TEST_SUITE_P(
    Files, PictureMovieTest,
    testing::Values(PictureCase{"png", kPng, 30, 20}, PictureCase{"jpeg", kJpeg, 16, 8},
                    PictureCase{"gif", kTinyGif, 1, 1}, PictureCase{"text", "a=1&b=2", 0, 0},
                    PictureCase{"empty", QByteArray(), 0, 0},
                    PictureCase{"png cut short", kPng.left(40), 0, 0},
                    PictureCase{"gif signature only", "GIF89a", 0, 0},
                    PictureCase{"jpeg markers only", QByteArray::fromHex("ffd8ffd9"), 0, 0}));

QByteArray Trace(const std::string &text) { return actions::pushString(text) + actions::op(kTrace); }

// GetURL2 with `flags`: the address and the target come from the stack.
QByteArray GetUrl2(const std::string &url, const std::string &target, uint8_t flags)
{
    return actions::pushString(url) + actions::pushString(target) + char(kGetUrl2) + char(1) + char(0) + char(flags);
}

QByteArray TraceMember(const std::string &object, const std::string &member)
{
    return actions::pushString(object) + actions::op(kGetVariable) + actions::pushString(member)
           + actions::op(kGetMember) + actions::op(kTrace);
}

// One frame per script in `frames`, each stopping nothing: the movie plays on.
QByteArray Movie(const std::vector<QByteArray> &frames)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, uint16_t(frames.size()));
    for (const QByteArray &script : frames)
        b.doAction(script).showFrame();
    return b.bytes();
}

struct PlayResult {
    QStringList lines;
    bool quit = false;
};

PlayResult Play(const std::shared_ptr<const swf::MovieDefinition> &movie, int frames)
{
    PlayResult run;
    swf::MoviePlayer player(movie, [&run](const QString &line) { run.lines << line; });
    for (int i = 1; i < frames && !player.quitRequested(); ++i)
        player.advance();
    run.quit = player.quitRequested();
    return run;
}

TEST(Avm1Quit, TheScriptThatQuitsRunsToItsEndAndNothingAfterIt)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    b.doAction(GetUrl2("FSCommand:quit", "", 0) + Trace("same script")).doAction(Trace("next script")).showFrame();
    const PlayResult run = Play(swf::LoadMovieFromBytes(b.bytes()), 3);
    EXPECT_TRUE(run.quit);
    EXPECT_EQ(run.lines, QStringList{"same script"});
}

TEST(Avm1Quit, AsALoadTheCommandWaitsForTheFramesScripts)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, 1);
    b.doAction(GetUrl2("fscommand:quit", "", kLoadTargetFlag) + Trace("same script"))
        .doAction(Trace("next script"))
        .showFrame();
    const PlayResult run = Play(swf::LoadMovieFromBytes(b.bytes()), 3);
    EXPECT_TRUE(run.quit);
    EXPECT_EQ(run.lines, (QStringList{"same script", "next script"}));
}

class FolderLoad : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString &name) const { return dir_.path() + "/" + name; }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
};

TEST_F(FolderLoad, APictureInALevelHasItsSize)
{
    write("pic.png", kPng);
    write("main.swf", Movie({GetUrl2("pic.png", "_level1", 0), {}, TraceMember("_level1", "_width")
                                                                     + TraceMember("_level1", "_height")}));
    EXPECT_EQ(Play(swf::LoadMovie(path("main.swf")), 3).lines, (QStringList{"30", "20"}));
}

TEST_F(FolderLoad, AFileNamedAsAPictureThatIsNoneLoadsNothing)
{
    write("pic.png", "not a picture at all");
    write("main.swf", Movie({GetUrl2("pic.png", "_level1", 0), {}, TraceMember("_level1", "_width")}));
    EXPECT_EQ(Play(swf::LoadMovie(path("main.swf")), 3).lines, QStringList{"undefined"});
}

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz, stereo: 417 bytes a frame.
QByteArray Mpeg1Frame() { return QByteArray::fromHex("fffb9000") + QByteArray(413, '\0'); }
// MPEG-2 layer III, 64 kbit/s, 22.05 kHz, mono: 208 bytes a frame.
QByteArray Mpeg2MonoFrame() { return QByteArray::fromHex("fff380c0") + QByteArray(204, '\0'); }

struct Mp3Case {
    const char *what;
    QByteArray bytes;
    uint32_t samples;  // 0: not a sound
    int rate;
    bool stereo;
    int frameBytes;  // of the frames kept
};

class Mp3FileTest : public testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3FileTest, CountsTheWholeFrames)
{
    const Mp3Case &c = GetParam();
    swf::Mp3File file;
    const bool read = swf::ReadMp3File(c.bytes.toStdString(), file);
    ASSERT_EQ(read, c.samples > 0) << c.what;
    if (!read)
        return;
    EXPECT_EQ(file.sampleCount, c.samples) << c.what;
    EXPECT_EQ(file.format.rate, c.rate) << c.what;
    EXPECT_EQ(file.format.stereo, c.stereo) << c.what;
    // Two bytes of encoder delay come first, as DefineSound stores them.
    EXPECT_EQ(file.soundData.size(), size_t(2 + c.frameBytes)) << c.what;
}

const QByteArray kId3 = QByteArray("ID3\x03\x00\x00\x00\x00\x00\x0a", 10) + QByteArray(10, 'x');

INSTANTIATE_TEST_SUITE_P(
    Files, Mp3FileTest,
    testing::Values(Mp3Case{"two frames", Mpeg1Frame() + Mpeg1Frame(), 2304, 44100, true, 834},
                    Mp3Case{"id3 tag first", kId3 + Mpeg1Frame(), 1152, 44100, true, 417},
                    Mp3Case{"junk first", "junk!" + Mpeg1Frame(), 1152, 44100, true, 417},
                    Mp3Case{"mpeg 2 mono", Mpeg2MonoFrame() + Mpeg2MonoFrame(), 1152, 22050, false, 416},
                    Mp3Case{"last frame cut", Mpeg1Frame() + Mpeg1Frame().left(100), 1152, 44100, true, 417},
                    Mp3Case{"only a cut frame", Mpeg1Frame().left(100), 0, 0, false, 0},
                    Mp3Case{"tag past the end", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10), 0, 0, false, 0},
                    Mp3Case{"layer II", QByteArray::fromHex("fffd9000") + QByteArray(413, '\0'), 0, 0, false, 0},
                    Mp3Case{"text", "a=1&b=2", 0, 0, false, 0}, Mp3Case{"empty", QByteArray(), 0, 0, false, 0}));

// s = new Sound(); s.onLoad = function () { trace(arguments[0]); trace(s.getDuration()); };
// s.loadSound(url, 0)
QByteArray LoadSoundScript(const std::string &url)
{
    const QByteArray onLoad = actions::defineFunction(
        "", actions::pushString("arguments") + actions::op(kGetVariable) + actions::pushString("0")
                + actions::op(kGetMember) + actions::op(kTrace) + actions::pushNumber(0) + actions::pushString("s")
                + actions::op(kGetVariable) + actions::pushString("getDuration") + actions::op(kCallMethod)
                + actions::op(kTrace));
    return actions::pushString("s") + actions::pushNumber(0) + actions::pushString("Sound") + actions::op(kNewObject)
           + actions::op(kSetVariable) + actions::pushString("s") + actions::op(kGetVariable)
           + actions::pushString("onLoad") + onLoad + actions::op(kSetMember) + actions::pushNumber(0)
           + actions::pushString(url) + actions::pushNumber(2)
           + actions::pushString("s") + actions::op(kGetVariable) + actions::pushString("loadSound")
           + actions::op(kCallMethod) + actions::op(kPop);
}

TEST_F(FolderLoad, ALoadedSoundTellsOnLoadAndItsDuration)
{
    write("two.mp3", Mpeg1Frame() + Mpeg1Frame());
    write("main.swf", Movie({LoadSoundScript("two.mp3"), {}}));
    EXPECT_EQ(Play(swf::LoadMovie(path("main.swf")), 2).lines, (QStringList{"true", "52"}));
}

TEST_F(FolderLoad, AnAddressIsReadOnceForItsSound)
{
    write("two.mp3", Mpeg1Frame() + Mpeg1Frame());
    write("main.swf", Movie({LoadSoundScript("two.mp3"), {}, LoadSoundScript("two.mp3"), {}}));
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovie(path("main.swf")), [&lines](const QString &line) { lines << line; });
    player.advance();
    write("two.mp3", "changed meanwhile");
    player.advance();
    player.advance();
    EXPECT_EQ(lines, (QStringList{"true", "52", "true", "52"}));
}

TEST_F(FolderLoad, ASoundThatCannotBeReadFailsOnLoad)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("movie"));
    write("outside.mp3", Mpeg1Frame());
    write("movie/text.mp3", "not a sound");
    for (const char *url : {"missing.mp3", "../outside.mp3", "text.mp3"}) {
        write("movie/main.swf", Movie({LoadSoundScript(url), {}}));
        EXPECT_EQ(Play(swf::LoadMovie(path("movie/main.swf")), 2).lines, (QStringList{"false", "undefined"})) << url;
    }
}

}  // namespace
