// The main window's preview: loading a clicked movie, the status and
// counter texts, the play buttons, resizing, seeking, the ways into the
// full-screen player and the commands that need one selected movie.
#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/previewstatus.h"
#include "app/settings.h"
#include "appmovies.h"
#include "apptesthelpers.h"
// The player tests' movie builder, for a movie with a button.
#include "../player/testmovie.cpp"
#include "catalogue/zenteqthumb.h"
#include "player/mainflash.h"
#include "player/playcommands.h"
#include "shell/shelltreeview.h"
#include "ui/trackbar95.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A shown main window on a folder of three 15-frame movies.
class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"a.swf", "b.swf", "c.swf"})
            WriteMovieWithFrames(folder.path(), QLatin1String(name), 15);
        // Every activation (the first, and each return from the full-screen
        // player) brings the tree back to this folder, so it stays put.
        WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), folder.path());
        window = std::make_unique<TFrmMain>();
        window->show();
        Settle();
        window->flashView()->LoadFolder(folder.path());
    }

    TMainFlash *player() const { return window->previewPlayer(); }
    QAction *action(TPlayCommand command) const { return window->playCommands()->action(command); }
    QString panel(int index) const { return window->statusPanel(index)->text(); }
    QWidget *panFlash() const { return window->findChild<QWidget *>(QStringLiteral("PanFlash")); }
    void GrowPanFlash() const { panFlash()->resize(panFlash()->width() + 30, panFlash()->height() + 20); }

    // Start Back Pause Stop Play Forword End, "1" for enabled.
    QString EnabledStates() const
    {
        QString states;
        for (QAction *each : window->playCommands()->actions())
            states += each->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return states;
    }

    // Previews a 100 by 50 movie whose button is its right half.
    TestMovie PreviewTheButtonMovie()
    {
        TestMovie movie;
        movie.button = true;
        movie.writeTo(otherFolder.path(), QStringLiteral("button.swf"));
        window->folderTree()->setPath(otherFolder.path());
        Settle();
        window->FlashViewClick(0);
        return movie;
    }

    // Where a point of that movie's stage shows in the preview.
    QPoint OnPlayer(const QPointF &stagePoint) const
    {
        const QSize size = player()->size();
        const double scale = std::min(size.width() / 100.0, size.height() / 50.0);
        const QPointF stageOrigin((size.width() - 100 * scale) / 2, (size.height() - 50 * scale) / 2);
        return (stageOrigin + stagePoint * scale).toPoint();
    }

    // Loads item `row` and stops it at `frame`.
    void PreviewPausedAt(int row, int frame)
    {
        window->FlashViewClick(row);
        ASSERT_NE(player(), nullptr);
        player()->Stop();
        player()->GotoFrame(frame);
    }

    TIniFileGuard ini;
    QTemporaryDir folder;
    // Made before the window: the tree lists each folder once.
    QTemporaryDir otherFolder;
    std::unique_ptr<TFrmMain> window;
};

TEST(PreviewStatus, HeaderFactsAndCounterTexts)
{
    TSwfHeader header = ExampleHeader(3500);
    EXPECT_EQ(PreviewHeaderText(header, QLocale::c()), QStringLiteral("Flash 6 - 120Frame - 12fps - 3.4Kb - W:550 H:400"));
    const struct {
        uint32_t length;
        const char *sizeText;
    } lengths[] = {{0, "0bytes"}, {1023, "1023bytes"}, {1024, "1.0Kb"}, {1536, "1.5Kb"}};
    for (const auto &each : lengths) {
        header.FileLength = each.length;
        EXPECT_TRUE(PreviewHeaderText(header, QLocale::c()).contains(QStringLiteral(" - %1 - ").arg(each.sizeText)))
            << each.length;
    }
    EXPECT_EQ(PreviewHeaderText(TSwfHeader(), QLocale::c()), QStringLiteral("Flash 0 - 0Frame - 0fps - 0bytes - W:0 H:0"));
    EXPECT_EQ(FrameCounterText(37, 120), QStringLiteral("37/120"));
}

TEST_F(PreviewTest, AClickLoadsTheItemPlayingAtFrameOneAndFillsTheStatusPanels)
{
    window->FlashViewClick(1);
    ASSERT_NE(player(), nullptr);
    EXPECT_EQ(player()->parentWidget()->objectName(), QStringLiteral("PanFlash"));
    EXPECT_EQ(player()->Movie(), window->flashView()->itemPath(1));
    EXPECT_EQ(player()->CurrentFrame(), 1);
    EXPECT_TRUE(player()->Playing());
    EXPECT_EQ(panel(1), QStringLiteral("b.swf"));
    const QString facts = panel(2);
    EXPECT_TRUE(facts.startsWith(QStringLiteral("Flash 6 - 15Frame - 12fps - "))) << facts.toStdString();
    EXPECT_TRUE(facts.endsWith(QStringLiteral("bytes - W:550 H:400"))) << facts.toStdString();
    EXPECT_TRUE(window->previewTimer()->isActive());
    EXPECT_EQ(window->previewTimer()->interval(), 200);

    player()->Stop();
    window->Timer1Timer();
    EXPECT_EQ(window->trackBar()->maximum(), 15);
    EXPECT_EQ(window->trackBar()->value(), 1);
    EXPECT_EQ(window->frameCounter()->text(), QStringLiteral("1/15"));
}

TEST_F(PreviewTest, PlayButtonsStartEnabledAndDoNothingWithoutAMovie)
{
    EXPECT_EQ(EnabledStates(), QStringLiteral("1111111"));
    for (QAction *each : window->playCommands()->actions())
        each->trigger();
    window->Timer1Timer();
    EXPECT_EQ(EnabledStates(), QStringLiteral("1111111"));
    EXPECT_FALSE(window->previewTimer()->isActive()) << "a tick without a preview stops the timer";
}

TEST_F(PreviewTest, PlayButtonsFollowTheFrameAtTheStartAndAtTheEnd)
{
    window->FlashViewClick(0);
    action(TPlayCommand::Stop)->trigger();
    window->Timer1Timer();
    EXPECT_EQ(player()->CurrentFrame(), 0);
    EXPECT_EQ(EnabledStates(), QStringLiteral("0000111"));

    action(TPlayCommand::End)->trigger();
    window->Timer1Timer();
    EXPECT_EQ(player()->CurrentFrame(), 14);
    // The last frame is still "less than the frame count".
    EXPECT_EQ(EnabledStates(), QStringLiteral("1100111"));
}

TEST_F(PreviewTest, AFifteenFrameMovieStepsByZero)
{
    PreviewPausedAt(0, 7);
    action(TPlayCommand::Forword)->trigger();
    EXPECT_EQ(player()->CurrentFrame(), 7);
    action(TPlayCommand::Back)->trigger();
    EXPECT_EQ(player()->CurrentFrame(), 7);
    EXPECT_FALSE(player()->Playing());
}

TEST_F(PreviewTest, AResizeRemakesThePausedControlAtItsFrameWithoutReadingTheFileAgain)
{
    PreviewPausedAt(0, 5);
    const QPointer<TMainFlash> before = player();
    const auto definition = before->sharedMovie();
    ASSERT_NE(definition, nullptr);
    GrowPanFlash();
    ASSERT_NE(player(), nullptr);
    EXPECT_TRUE(before.isNull()) << "the control is made anew";
    EXPECT_EQ(player()->sharedMovie(), definition);
    EXPECT_EQ(player()->CurrentFrame(), 5);
    EXPECT_FALSE(player()->Playing());
    EXPECT_EQ(player()->geometry(), panFlash()->rect());
    EXPECT_EQ(panFlash()->findChildren<TMainFlash *>().size(), 1);
}

TEST_F(PreviewTest, AResizeKeepsAPlayingMoviePlaying)
{
    window->FlashViewClick(0);
    GrowPanFlash();
    ASSERT_NE(player(), nullptr);
    EXPECT_TRUE(player()->Playing());
}

TEST_F(PreviewTest, SeekingKeepsTheRunState)
{
    const struct {
        bool playing;
    } cases[] = {{true}, {false}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.playing ? "playing" : "paused");
        PreviewPausedAt(each.playing ? 0 : 1, 3);
        if (each.playing)
            player()->Play();
        window->Timer1Timer();  // attaches the change handler
        window->trackBar()->setValue(9);
        EXPECT_EQ(player()->CurrentFrame(), 9);
        EXPECT_EQ(player()->Playing(), each.playing);
    }
}

TEST_F(PreviewTest, ATickMovesTheThumbWithoutSeeking)
{
    PreviewPausedAt(0, 6);
    window->Timer1Timer();
    player()->GotoFrame(11);
    window->Timer1Timer();
    EXPECT_EQ(window->trackBar()->value(), 11);
    EXPECT_EQ(player()->CurrentFrame(), 11);
    EXPECT_EQ(window->frameCounter()->text(), QStringLiteral("11/15"));
}

TEST_F(PreviewTest, AClickOnThePreviewedItemChangesNothing)
{
    PreviewPausedAt(2, 4);
    TMainFlash *before = player();
    window->FlashViewClick(2);
    EXPECT_EQ(player(), before);
    EXPECT_EQ(player()->CurrentFrame(), 4);
    EXPECT_FALSE(player()->Playing());
}

TEST_F(PreviewTest, AClickOnEmptySpaceClearsPanelsCounterAndTrackBar)
{
    window->FlashViewClick(0);
    window->Timer1Timer();
    ASSERT_FALSE(window->frameCounter()->text().isEmpty());
    window->FlashViewClick(-1);
    EXPECT_EQ(player(), nullptr);
    EXPECT_TRUE(panFlash()->findChildren<QWidget *>().isEmpty());
    EXPECT_TRUE(panel(1).isEmpty());
    EXPECT_TRUE(panel(2).isEmpty());
    EXPECT_TRUE(window->frameCounter()->text().isEmpty());
    EXPECT_EQ(window->trackBar()->maximum(), 0);
    EXPECT_EQ(window->trackBar()->value(), 0);

    window->FlashViewClick(0);
    EXPECT_NE(player(), nullptr) << "the item cleared away loads again";
}

TEST_F(PreviewTest, AFolderChangeDropsTheControlAndKeepsThePanels)
{
    window->FlashViewClick(0);
    window->Timer1Timer();
    WriteMovieWithFrames(otherFolder.path(), QStringLiteral("d.swf"), 15);
    window->folderTree()->setPath(otherFolder.path());
    Settle();
    EXPECT_EQ(player(), nullptr);
    EXPECT_EQ(panel(1), QStringLiteral("a.swf"));
    EXPECT_EQ(window->frameCounter()->text(), QStringLiteral("1/15"));

    ASSERT_EQ(window->flashView()->itemCount(), 1);
    window->FlashViewClick(0);
    ASSERT_NE(player(), nullptr);
    EXPECT_EQ(panel(1), QStringLiteral("d.swf"));
}

TEST_F(PreviewTest, FullScreenNeedsAPreviewAndADoubleClickAnItem)
{
    TModalCloser closer;
    window->findChild<QAction *>(QStringLiteral("nFullScreen"))->trigger();
    window->findChild<QToolButton *>(QStringLiteral("tbFullScreen"))->click();
    window->FlashViewDblClick(-1);
    EXPECT_EQ(closer.closed, 0);
}

TEST_F(PreviewTest, FullScreenPausesThePreview)
{
    window->FlashViewClick(0);
    {
        TModalCloser closer;
        window->tbFullScreenClick();
        EXPECT_EQ(closer.closed, 1);
    }
    EXPECT_FALSE(player()->Playing());
    player()->Play();
    {
        TModalCloser closer;
        window->FlashViewDblClick(1);
        EXPECT_EQ(closer.closed, 1);
    }
    EXPECT_FALSE(player()->Playing());
}

TEST_F(PreviewTest, ThePointerOverAButtonShowsItsOverPictureAndTheHandAndADoubleClickOpensNothing)
{
    const TestMovie movie = PreviewTheButtonMovie();
    ASSERT_NE(player(), nullptr);
    const QPoint onButton = OnPlayer({75, 25});
    // Two moves: a pointer already resting at the first makes no event.
    QTest::mouseMove(player(), onButton - QPoint(1, 1));
    QTest::mouseMove(player(), onButton);
    EXPECT_EQ(player()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(player()->grab().toImage().pixel(onButton), movie.overColor.rgb());

    TModalCloser closer;
    QTest::mouseDClick(player(), Qt::LeftButton, {}, onButton);
    EXPECT_EQ(closer.closed, 0);
}

// Keys reach the previewed movie once a click gave the preview the focus:
// Tab rings the movie's button with the yellow focus rectangle.
TEST_F(PreviewTest, AClickOnThePreviewGivesItTheKeysAndTabFocusesTheMoviesButton)
{
    PreviewTheButtonMovie();
    ASSERT_NE(player(), nullptr);
    const QPoint offButton = OnPlayer({25, 25});
    const QPoint bandOfTheRectangle = OnPlayer({51, 25});
    QTest::mouseClick(player(), Qt::LeftButton, {}, offButton);
    ASSERT_EQ(QApplication::focusWidget(), player()) << "a click left the keys elsewhere";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), player()) << "Tab left the preview";
    EXPECT_EQ(player()->grab().toImage().pixel(bandOfTheRectangle), qRgb(255, 255, 0));
}

TEST_F(PreviewTest, CommandsOnOneMovieAskForASingleSelection)
{
    const char *actions[] = {"nSetAsDesktop", "nProperty", "nPopProperty"};
    const char *buttons[] = {"tbSetAsDesktop", "tbConfig"};
    for (const QList<int> &selected : {QList<int>{}, QList<int>{0, 2}}) {
        for (int row = 0; row < 3; ++row)
            window->flashView()->setItemSelected(row, selected.contains(row));
        std::vector<std::function<void()>> commands;
        for (const char *name : actions)
            commands.push_back([this, name] {
                QAction *item = window->findChild<QAction *>(QLatin1String(name));
                item->setEnabled(true);
                item->trigger();
            });
        for (const char *name : buttons)
            commands.push_back([this, name] { window->findChild<QToolButton *>(QLatin1String(name))->click(); });
        for (const auto &command : commands) {
            TModalCloser closer;
            command();
            EXPECT_EQ(closer.closed, 1) << selected.size() << " selected";
            EXPECT_EQ(closer.title, QStringLiteral("Information"));
            EXPECT_EQ(closer.text, QStringLiteral("Please select a file first!"));
        }
    }
}

TEST_F(PreviewTest, PropertiesOfTheOneSelectedMovie)
{
    window->flashView()->setItemSelected(1, true);
    TModalCloser closer;
    window->findChild<QToolButton *>(QStringLiteral("tbConfig"))->click();
    EXPECT_EQ(closer.closed, 1);
    EXPECT_EQ(closer.title, QStringLiteral("Property"));
}

// A name that looks like markup reads as the name it is, in the status bar
// and in the properties dialog.
TEST_F(PreviewTest, FileNamesShowAsPlainText)
{
    const QString name = QStringLiteral("<b>bold&amp;<br>.swf");
    WriteMovieWithFrames(otherFolder.path(), name, 15);
    window->flashView()->LoadFolder(otherFolder.path());
    ASSERT_EQ(window->flashView()->itemCount(), 1);
    window->FlashViewClick(0);
    EXPECT_EQ(panel(1), name);
    EXPECT_EQ(window->statusPanel(1)->textFormat(), Qt::PlainText);

    window->flashView()->setItemSelected(0, true);
    QStringList plainLabels;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        for (QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text().contains(otherFolder.path()) && label->textFormat() == Qt::PlainText)
                plainLabels << label->objectName();
        dialog->close();
    });
    poll.start(5);
    window->findChild<QToolButton *>(QStringLiteral("tbConfig"))->click();
    EXPECT_FALSE(plainLabels.isEmpty());
}

TEST_F(PreviewTest, TrackBarSpansThePanelBelowTheMovieLessTwoPixels)
{
    auto *panel4 = window->findChild<QWidget *>(QStringLiteral("Panel4"));
    EXPECT_EQ(window->trackBar()->width(), panel4->width() - 2);
}

TEST_F(PreviewTest, CatalogueErrorsGoToTheErrorReport)
{
    QStringList reports;
    SetErrorReportSink([&reports](const QString &text) { reports << text; });
    emit window->flashView()->errorReported(QStringLiteral("broken.swf: not a movie"));
    SetErrorReportSink({});
    EXPECT_EQ(reports, QStringList{QStringLiteral("broken.swf: not a movie")});
}

} // namespace
