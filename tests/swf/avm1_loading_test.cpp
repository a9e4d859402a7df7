// Loading from scripts beyond what the corpus' logs check: pictures that
// load as one-frame movies (and files that only look like pictures), and
// when a movie that asks to quit stops running scripts.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "swf/characters/bitmap.h"
#include "swf/movie.h"
#include "swf/moviedefinition.h"
#include "swf/picturemovie.h"
#include "swfbuilder.h"

using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kGetVariable = 0x1c, kGetMember = 0x4e, kGetUrl2 = 0x9a;
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

class PictureLoad : public testing::Test {
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

TEST_F(PictureLoad, APictureInALevelHasItsSize)
{
    write("pic.png", kPng);
    write("main.swf", Movie({GetUrl2("pic.png", "_level1", 0), {}, TraceMember("_level1", "_width")
                                                                     + TraceMember("_level1", "_height")}));
    EXPECT_EQ(Play(swf::LoadMovie(path("main.swf")), 3).lines, (QStringList{"30", "20"}));
}

TEST_F(PictureLoad, AFileNamedAsAPictureThatIsNoneLoadsNothing)
{
    write("pic.png", "not a picture at all");
    write("main.swf", Movie({GetUrl2("pic.png", "_level1", 0), {}, TraceMember("_level1", "_width")}));
    EXPECT_EQ(Play(swf::LoadMovie(path("main.swf")), 3).lines, QStringList{"undefined"});
}

}  // namespace
