#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include "common/testpaths.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swf::Rect;
using swftest::Placement;
using swftest::SwfBuilder;

namespace {

void LoadAndPlay(const QByteArray &bytes, int frames)
{
    auto movie = swf::LoadMovieFromBytes(bytes);
    if (!movie)
        return;
    swf::MoviePlayer player(movie);
    for (int i = 0; i < frames; ++i) {
        player.renderImage(QSize(40, 30), swf::Quality::Low);
        player.advance();
    }
    player.gotoFrame(0);
    player.renderImage(QSize(40, 30), swf::Quality::High);
}

}  // namespace

// Every prefix of a movie is what a cut download or a damaged disk leaves:
// each must load what it can and play without a crash.
TEST(Robustness, EveryPrefixOfCorpusMoviesLoadsAndPlays)
{
    SKIP_WITHOUT_CORPUS();
    const char *movies[] = {
        "ruffle/image/from_shumway/acid/acid-clip/test.swf",
        "swfdec/image/mask-and-clip-2-8/mask-and-clip-2-8.swf",
        "ruffle/swf-crate/DefineButton-MX/DefineButton-MX.swf",
        "swfdec/image/blend-mode-inverse-8/blend-mode-inverse-8.swf",
    };
    for (const char *name : movies) {
        SCOPED_TRACE(name);
        QFile file(CorpusDir() + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "missing corpus movie";
            continue;
        }
        const QByteArray bytes = file.readAll();
        const int step = std::max<int>(1, int(bytes.size() / 600));
        for (int length = 0; length <= bytes.size(); length += step)
            LoadAndPlay(bytes.left(length), 3);
    }
}

// A sprite that places itself, and a tree that doubles at every level:
// the player stops growing at its limits instead of running out of memory
// or stack.
TEST(Robustness, SelfNestingAndDoublingSpritesStayBounded)
{
    const Rect stage{0, 200, 0, 200};
    SwfBuilder self(8, stage);
    Placement inner;
    inner.characterId = 5;
    self.placeObject2(inner).showFrame();

    SwfBuilder b(8, stage, 12, 1);
    b.defineRectangle(1, stage, swf::Rgba{255, 0, 0, 255});
    b.defineSprite(5, 1, self.tags());
    for (uint16_t level = 0; level < 40; ++level) {
        SwfBuilder twice(8, stage);
        for (uint16_t depth = 1; depth <= 2; ++depth) {
            Placement p;
            p.depth = depth;
            p.characterId = level == 0 ? 1 : 100 + level - 1;
            twice.placeObject2(p);
        }
        b.defineSprite(uint16_t(100 + level), 1, twice.showFrame().tags());
    }
    Placement top;
    top.characterId = 100 + 39;
    Placement selfNesting;
    selfNesting.depth = 2;
    selfNesting.characterId = 5;
    b.placeObject2(top).placeObject2(selfNesting).showFrame().end();
    LoadAndPlay(b.bytes(), 3);
}

TEST(Robustness, AbsurdCountsAreHarmless)
{
    SwfBuilder b(8, Rect{0, 200, 0, 200}, 12, 65535);
    for (int i = 0; i < 2000; ++i)
        b.showFrame();
    auto movie = swf::LoadMovieFromBytes(b.bytes());  // no End tag
    ASSERT_TRUE(movie);
    swf::MoviePlayer player(movie);
    EXPECT_EQ(player.frameCount(), 2000);
    player.gotoFrame(1 << 30);
    EXPECT_EQ(player.currentFrame(), 1999);
}
