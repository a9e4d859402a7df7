#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <stdexcept>

#include "player/shockwaveflash.h"
#include "testmovie.h"

namespace {

class ShockwaveFlashTest : public ::testing::Test {
protected:
    // Loads `movie` into the control and checks that the engine read it.
    void load(const TestMovie &movie)
    {
        ASSERT_TRUE(dir.isValid());
        path = movie.writeTo(dir.path());
        flash.setMovie(path);
        ASSERT_EQ(flash.TotalFrames(), movie.frameCount) << "the engine did not load the test movie";
    }

    QImage paintAt(const QSize &controlSize, const QPoint &offset = {})
    {
        flash.resize(controlSize);
        QImage image(controlSize + QSize(offset.x(), offset.y()), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::green);
        QPainter painter(&image);
        flash.PaintTo(painter, offset.x(), offset.y());
        return image;
    }

    QTemporaryDir dir;
    QString path;
    TShockwaveFlash flash;
};

const QRgb kStage = qRgb(0, 0, 255);
const QRgb kRectangle = qRgb(255, 0, 0);

}  // namespace

TEST_F(ShockwaveFlashTest, UnreadableMovieKeepsItsPathAndShowsAnEmptyStage)
{
    const QString missing = dir.path() + "/missing.swf";
    flash.setMovie(missing);
    EXPECT_EQ(flash.Movie(), missing);
    EXPECT_EQ(flash.TotalFrames(), 0);
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_EQ(flash.sharedMovie(), nullptr);

    flash.GotoFrame(5);
    flash.Play();
    flash.tick();
    flash.Forward();
    EXPECT_FALSE(flash.Playing());
    EXPECT_EQ(flash.CurrentFrame(), 0);

    const QImage image = paintAt({40, 30});
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(39, 29), qRgb(255, 255, 255));
}

TEST_F(ShockwaveFlashTest, GarbageFileIsReadLikeAMissingOne)
{
    QFile file(dir.path() + "/garbage.swf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a movie at all");
    file.close();
    flash.setMovie(file.fileName());
    EXPECT_EQ(flash.Movie(), file.fileName());
    EXPECT_EQ(flash.TotalFrames(), 0);
}

TEST_F(ShockwaveFlashTest, NewMovieStandsStillOnItsFirstFrame)
{
    load(TestMovie{});
    EXPECT_EQ(flash.Movie(), path);
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_FALSE(flash.Playing());
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 0);
}

TEST_F(ShockwaveFlashTest, FrameNumbersAreClampedToTheMovie)
{
    load(TestMovie{});
    const struct {
        int requested, shown;
    } cases[] = {{0, 0}, {1, 1}, {9, 9}, {10, 9}, {-1, 0}, {INT_MAX, 9}, {INT_MIN, 0}, {4, 4}};
    for (const auto &c : cases) {
        flash.GotoFrame(c.requested);
        EXPECT_EQ(flash.CurrentFrame(), c.shown) << "GotoFrame(" << c.requested << ")";
    }
}

TEST_F(ShockwaveFlashTest, GotoFrameKeepsTheRunState)
{
    load(TestMovie{});
    flash.GotoFrame(3);
    EXPECT_FALSE(flash.Playing());
    flash.Play();
    flash.GotoFrame(6);
    EXPECT_TRUE(flash.Playing());
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 7);
}

TEST_F(ShockwaveFlashTest, PlayAdvancesOneFramePerTickAndStopPausesInPlace)
{
    load(TestMovie{});
    flash.Play();
    EXPECT_TRUE(flash.Playing());
    flash.tick();
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 2);
    flash.Stop();
    EXPECT_FALSE(flash.Playing());
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 2);
    flash.Play();
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 3);
}

TEST_F(ShockwaveFlashTest, LoopingMovieGoesOnAtTheFirstFrame)
{
    load(TestMovie{});
    EXPECT_TRUE(flash.Loop());
    flash.GotoFrame(9);
    flash.Play();
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_TRUE(flash.Playing());
}

TEST_F(ShockwaveFlashTest, MovieWithoutLoopStopsAtItsLastFrameAndPlayStartsItOver)
{
    load(TestMovie{});
    flash.setLoop(false);
    flash.GotoFrame(8);
    flash.Play();
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 9);
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 9);
    EXPECT_FALSE(flash.Playing());

    flash.Play();
    EXPECT_TRUE(flash.Playing());
    EXPECT_EQ(flash.CurrentFrame(), 0);
}

TEST_F(ShockwaveFlashTest, StopActionOfAFrameStopsTheMovie)
{
    TestMovie movie;
    movie.stopOnFrame = 2;
    load(movie);
    flash.Play();
    for (int i = 0; i < 5; ++i)
        flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 2);
    EXPECT_FALSE(flash.Playing());
    flash.Play();
    flash.tick();
    EXPECT_EQ(flash.CurrentFrame(), 3);
}

TEST_F(ShockwaveFlashTest, BackAndForwardStepOneFrameAndStop)
{
    load(TestMovie{});
    flash.GotoFrame(5);
    flash.Play();
    flash.Forward();
    EXPECT_EQ(flash.CurrentFrame(), 6);
    EXPECT_FALSE(flash.Playing());
    flash.Back();
    flash.Back();
    EXPECT_EQ(flash.CurrentFrame(), 4);

    flash.GotoFrame(0);
    flash.Back();
    EXPECT_EQ(flash.CurrentFrame(), 0);
    flash.GotoFrame(9);
    flash.Forward();
    EXPECT_EQ(flash.CurrentFrame(), 9);
}

TEST_F(ShockwaveFlashTest, RewindGoesToTheFirstFrameKeepingTheRunState)
{
    load(TestMovie{});
    flash.GotoFrame(5);
    flash.Play();
    flash.Rewind();
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_TRUE(flash.Playing());
    flash.Stop();
    flash.GotoFrame(5);
    flash.Rewind();
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_FALSE(flash.Playing());
}

TEST_F(ShockwaveFlashTest, ClockFollowsTheMovieRate)
{
    const struct {
        double rate, periodMs;
    } cases[] = {{24, 1000.0 / 24}, {12.5, 80}, {1, 1000}, {0, 1000.0 / 12}, {250, 1000.0 / 120}};
    for (const auto &c : cases) {
        TestMovie movie;
        movie.frameRate = c.rate;
        load(movie);
        EXPECT_NEAR(flash.framePeriod(), c.periodMs, 0.01) << "rate " << c.rate;
    }
}

TEST_F(ShockwaveFlashTest, PaintToShowsTheWholeStageAtTheControlSize)
{
    load(TestMovie{});  // 100 by 50: stage colour on the left, rectangle on the right
    const QImage exact = paintAt({200, 100});
    EXPECT_EQ(exact.pixel(50, 50), kStage);
    EXPECT_EQ(exact.pixel(150, 50), kRectangle);

    // A wider control: the stage keeps its aspect, centred, with margins in
    // the stage colour.
    const QImage wide = paintAt({300, 100});
    EXPECT_EQ(wide.pixel(5, 50), kStage);
    EXPECT_EQ(wide.pixel(100, 50), kStage);
    EXPECT_EQ(wide.pixel(200, 50), kRectangle);
    EXPECT_EQ(wide.pixel(295, 50), kStage);
}

TEST_F(ShockwaveFlashTest, PaintToDrawsAtTheGivenOffsetOnly)
{
    load(TestMovie{});
    const QImage image = paintAt({100, 50}, {10, 20});
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(20, 40), kStage);
    EXPECT_EQ(image.pixel(100, 60), kRectangle);
}

TEST_F(ShockwaveFlashTest, PaintingEveryQualityKeepsTheColours)
{
    load(TestMovie{});
    for (int quality : {0, 1, 2}) {
        flash.setQuality(quality);
        EXPECT_EQ(flash.Quality(), quality);
        const QImage image = paintAt({200, 100});
        EXPECT_EQ(image.pixel(150, 50), kRectangle) << "quality " << quality;
    }
}

TEST_F(ShockwaveFlashTest, InvalidSettingsAndPaintersRaise)
{
    EXPECT_THROW(flash.setQuality(3), std::runtime_error);
    EXPECT_THROW(flash.setQuality(-1), std::runtime_error);
    EXPECT_EQ(flash.Quality(), 1);
    EXPECT_THROW(flash.setScaleMode(2), std::runtime_error);
    EXPECT_NO_THROW(flash.setScaleMode(0));
    QPainter inactive;
    EXPECT_THROW(flash.PaintTo(inactive), std::runtime_error);
}

TEST_F(ShockwaveFlashTest, SharedMovieIsReusedWithoutReadingTheFileAgain)
{
    load(TestMovie{});
    flash.GotoFrame(4);
    QFile::remove(path);

    TShockwaveFlash second;
    second.setMovieShared(flash.Movie(), flash.sharedMovie());
    EXPECT_EQ(second.Movie(), path);
    EXPECT_EQ(second.sharedMovie(), flash.sharedMovie());
    EXPECT_EQ(second.TotalFrames(), 10);
    EXPECT_EQ(second.CurrentFrame(), 0);  // each control has its own position
}

TEST_F(ShockwaveFlashTest, ARunningMovieHandedToAnotherControlGoesOnWhereItWas)
{
    // The root stops itself on its first frame; the sprite goes on cycling.
    TestMovie movie;
    movie.stopOnFrame = 0;
    movie.spriteColors = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 255, 0)};
    load(movie);
    flash.Play();
    flash.tick();
    const QPoint inRectangle(75, 25);
    ASSERT_EQ(paintAt({100, 50}).pixel(inRectangle), qRgb(0, 255, 0));

    TShockwaveFlash second;
    second.resize(100, 50);
    second.adoptRunningMovie(flash.takeRunningMovie());
    EXPECT_EQ(flash.TotalFrames(), 0) << "the first control is left empty";
    EXPECT_TRUE(flash.Movie().isEmpty());
    EXPECT_EQ(second.Movie(), path);
    QImage shown(100, 50, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shown);
    second.PaintTo(painter);
    EXPECT_EQ(shown.pixel(inRectangle), qRgb(0, 255, 0)) << "the sprite started over";
    second.tick();
    second.PaintTo(painter);
    EXPECT_EQ(shown.pixel(inRectangle), qRgb(255, 255, 0)) << "the movie stopped running";
}

namespace {

// A control the size of a button movie's stage, shown, so that the mouse
// and the keys reach it as a person's would. The button is the right
// half of the stage.
class ShockwaveFlashInputTest : public ShockwaveFlashTest {
protected:
    void SetUp() override
    {
        movie.button = true;
        movie.releaseGoesTo = 3;
        movie.keyPress = 'a';
        movie.keyGoesTo = 5;
        load(movie);
        flash.resize(movie.stageWidth, movie.stageHeight);
        flash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&flash));
    }

    QRgb shown(const QPoint &at) { return flash.grab().toImage().pixel(at); }

    TestMovie movie;
    const QPoint onButton{75, 25};
    const QPoint offButton{25, 25};
};

}  // namespace

TEST_F(ShockwaveFlashInputTest, ThePointerOverAButtonShowsItsOverPictureAndTheHand)
{
    QTest::mouseMove(&flash, offButton);
    EXPECT_EQ(shown(onButton), movie.rectangleColor.rgb());
    QTest::mouseMove(&flash, onButton);
    EXPECT_EQ(shown(onButton), movie.overColor.rgb());
    EXPECT_EQ(flash.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&flash, offButton);
    EXPECT_EQ(shown(onButton), movie.rectangleColor.rgb());
    EXPECT_EQ(flash.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ShockwaveFlashInputTest, AClickShowsTheDownPictureAndTheReleaseRunsTheButtonsActions)
{
    flash.Play();
    QTest::mouseMove(&flash, offButton);
    QTest::mouseMove(&flash, onButton);
    QTest::mousePress(&flash, Qt::LeftButton, {}, onButton);
    EXPECT_EQ(shown(onButton), movie.downColor.rgb());
    EXPECT_EQ(flash.CurrentFrame(), 0);
    QTest::mouseRelease(&flash, Qt::LeftButton, {}, onButton);
    EXPECT_EQ(flash.CurrentFrame(), 3);
    EXPECT_FALSE(flash.Playing());
    EXPECT_EQ(shown(onButton), movie.overColor.rgb());
}

TEST_F(ShockwaveFlashInputTest, OnlyTheLeftButtonPressesTheMoviesButtons)
{
    QTest::mouseMove(&flash, offButton);
    QTest::mouseMove(&flash, onButton);
    QTest::mouseClick(&flash, Qt::RightButton, {}, onButton);
    QTest::mouseClick(&flash, Qt::MiddleButton, {}, onButton);
    EXPECT_EQ(flash.CurrentFrame(), 0);
    EXPECT_EQ(shown(onButton), movie.overColor.rgb());
}

TEST_F(ShockwaveFlashInputTest, KeysReachTheMovieWhileTheControlHasTheFocus)
{
    QTest::mouseClick(&flash, Qt::LeftButton, {}, offButton);  // takes the focus
    ASSERT_TRUE(flash.hasFocus());
    QTest::keyClick(&flash, Qt::Key_B);
    EXPECT_EQ(flash.CurrentFrame(), 0);
    QTest::keyClick(&flash, Qt::Key_A);
    EXPECT_EQ(flash.CurrentFrame(), 5);
}

TEST_F(ShockwaveFlashTest, TypingWritesIntoTheMoviesInputFieldAndBackspaceTakesItOut)
{
    TestMovie movie;
    movie.stageWidth = 200;
    movie.stageHeight = 60;
    movie.background = Qt::white;
    movie.rectangle = {};
    movie.inputField = QRect(10, 10, 180, 40);
    load(movie);
    flash.resize(movie.stageWidth, movie.stageHeight);
    flash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&flash));
    const QRect inside(14, 14, 172, 32);
    auto inkInField = [&] {
        const QImage image = flash.grab().toImage();
        int dark = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    ASSERT_EQ(inkInField(), 0) << "the field starts empty";
    QTest::mouseClick(&flash, Qt::LeftButton, {}, QPoint(100, 30));  // the focus and the caret
    QTest::keyClicks(&flash, QStringLiteral("WWW"));
    const int written = inkInField();
    EXPECT_GT(written, 20) << "the typed letters show";
    QTest::keyClick(&flash, Qt::Key_Backspace);
    QTest::keyClick(&flash, Qt::Key_Backspace);
    const int oneLeft = inkInField();
    EXPECT_GT(oneLeft, 0);
    EXPECT_LT(oneLeft, written) << "Backspace takes letters out";
}

TEST_F(ShockwaveFlashInputTest, TabFocusesTheMoviesButtonWithItsRectangleAndSpaceClicksIt)
{
    const QPoint bandOfTheRectangle{51, 25};
    QTest::mouseClick(&flash, Qt::LeftButton, {}, offButton);
    QTest::keyClick(&flash, Qt::Key_Tab);
    ASSERT_TRUE(flash.hasFocus()) << "Tab left the control";
    EXPECT_EQ(shown(bandOfTheRectangle), qRgb(255, 255, 0));
    QTest::keyClick(&flash, Qt::Key_Space);
    EXPECT_EQ(flash.CurrentFrame(), 3);
    QTest::mouseMove(&flash, offButton);
    EXPECT_EQ(shown(bandOfTheRectangle), movie.rectangleColor.rgb()) << "the mouse hides the rectangle";
}

namespace {

// Stands in for the desktop's browser: keeps the addresses it is handed.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

class ShockwaveFlashLinkTest : public ShockwaveFlashInputTest {
protected:
    void SetUp() override
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
        movie.releaseOpensUrl = QStringLiteral("https://example.org/clicked");
        movie.firstFrameOpensUrl = QStringLiteral("https://example.org/unasked");
        ShockwaveFlashInputTest::SetUp();
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    BrowserStandIn browser;
};

}  // namespace

TEST_F(ShockwaveFlashLinkTest, OnlyAClickOnTheMoviesButtonOpensItsAddressInTheBrowser)
{
    flash.Play();
    flash.tick();
    EXPECT_TRUE(browser.opened.isEmpty()) << "a frame script opened an address nobody asked for";
    QTest::mouseMove(&flash, offButton);
    QTest::mouseMove(&flash, onButton);
    QTest::mouseClick(&flash, Qt::LeftButton, {}, onButton);
    EXPECT_EQ(browser.opened, QStringList{"https://example.org/clicked"});
}

#include "shockwaveflash_test.moc"
