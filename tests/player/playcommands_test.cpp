#include "player/playcommands.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "player/shockwaveflash.h"
#include "testmovie.h"

namespace {

using Cmd = TPlayCommand;

class PlayCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    TPlayCommands commands;
    std::unique_ptr<TShockwaveFlash> player = std::make_unique<TShockwaveFlash>();

    void Load(int frameCount)
    {
        TestMovie movie;
        movie.frameCount = frameCount;
        player->setMovie(movie.writeTo(folder.path()));
        commands.setPlayer(player.get());
    }
    // The enabled states of the seven actions in button order, as 0/1.
    std::string EnabledStates()
    {
        commands.UpdateActions();
        std::string states;
        for (QAction *action : commands.actions())
            states += action->isEnabled() ? '1' : '0';
        return states;
    }
};

}  // namespace

TEST_F(PlayCommandsTest, ActionsCarryTheirNamesInButtonOrder)
{
    QStringList names;
    for (QAction *action : commands.actions())
        names << action->objectName();
    EXPECT_EQ(names.join(' '), QStringLiteral("acPlayStart acPlayBack acPlayPause acPlayStop acPlayPlay "
                                              "acPlayForword acPlayEnd"));
}

TEST_F(PlayCommandsTest, WithoutAPlayerAllStayEnabledAndDoNothing)
{
    EXPECT_EQ(EnabledStates(), "1111111");
    commands.action(Cmd::Pause)->setEnabled(false);
    for (QAction *action : commands.actions())
        action->trigger();
    EXPECT_EQ(EnabledStates(), "1101111") << "the update leaves the states as they were";
}

TEST_F(PlayCommandsTest, EnablingFollowsFrameAndRunState)
{
    Load(32);
    struct Case {
        int frame;
        bool playing;
        const char *states;  // Start Back Pause Stop Play Forword End
    } cases[] = {
        {0, false, "0000111"},
        {1, false, "0000111"},
        {2, false, "1100111"},
        {0, true, "0011011"},
        // The last frame is still "less than TotalFrames": frames count from 0.
        {31, false, "1100111"},
    };
    for (const Case &c : cases) {
        player->GotoFrame(c.frame);
        c.playing ? player->Play() : player->Stop();
        EXPECT_EQ(EnabledStates(), c.states) << "frame " << c.frame << (c.playing ? " playing" : " paused");
    }
}

TEST_F(PlayCommandsTest, StepIsTheFrameCountDivSixteen)
{
    for (auto [frames, step] : {std::pair{0, 0}, {15, 0}, {16, 1}, {31, 1}, {32, 2}, {1600, 100}})
        EXPECT_EQ(TPlayCommands::Step(frames), step) << frames;
}

TEST_F(PlayCommandsTest, BackAndForwardStepAndKeepTheRunState)
{
    Load(64);
    player->GotoFrame(10);
    player->Play();
    commands.Execute(Cmd::Forword);
    EXPECT_EQ(player->CurrentFrame(), 14);
    EXPECT_TRUE(player->Playing());

    player->Stop();
    commands.Execute(Cmd::Back);
    commands.Execute(Cmd::Back);
    EXPECT_EQ(player->CurrentFrame(), 6);
    EXPECT_FALSE(player->Playing());
}

TEST_F(PlayCommandsTest, AFifteenFrameMovieStepsByZero)
{
    Load(15);
    player->GotoFrame(7);
    commands.Execute(Cmd::Forword);
    EXPECT_EQ(player->CurrentFrame(), 7);
    commands.Execute(Cmd::Back);
    EXPECT_EQ(player->CurrentFrame(), 7);
}

TEST_F(PlayCommandsTest, StartStopAndEndGoToTheirFramesAndPause)
{
    Load(20);
    struct Case {
        Cmd command;
        int frame;
    } cases[] = {{Cmd::Start, 1}, {Cmd::Stop, 0}, {Cmd::End, 19}};
    for (const Case &c : cases) {
        player->GotoFrame(9);
        player->Play();
        commands.UpdateActions();
        commands.action(c.command)->trigger();
        EXPECT_EQ(player->CurrentFrame(), c.frame) << commands.action(c.command)->objectName().toStdString();
        EXPECT_FALSE(player->Playing());
    }
}

TEST_F(PlayCommandsTest, PlayAndPauseToggleTheRunStateInPlace)
{
    Load(20);
    player->GotoFrame(5);
    commands.action(Cmd::Play)->trigger();
    EXPECT_TRUE(player->Playing());
    EXPECT_EQ(EnabledStates(), "1111011");
    commands.action(Cmd::Pause)->trigger();
    EXPECT_FALSE(player->Playing());
    EXPECT_EQ(player->CurrentFrame(), 5);
}

TEST_F(PlayCommandsTest, AFreedPlayerIsNoLongerUsed)
{
    Load(20);
    player.reset();
    EXPECT_EQ(commands.player(), nullptr);
    commands.action(Cmd::End)->trigger();
}
