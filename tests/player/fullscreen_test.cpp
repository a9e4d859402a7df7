#include "player/frmfullscreen.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <stdexcept>

#include "player/myflash.h"
#include "player/playcommands.h"
#include "testmovie.h"

namespace {

// Settings with the store's case-blind section names, remembering the
// spelling of every read and write.
struct RecordingSettings {
    std::map<QString, int> values;  // by lower-case "section/key"
    QStringList reads, writes;

    static QString Key(const QString &section, const QString &key) { return (section + '/' + key).toLower(); }
};

// Answers the capture dialog without showing one.
class TestFullScreen : public TFrmFullScreen {
public:
    using TFrmFullScreen::TFrmFullScreen;

    QString captureAnswer;  // empty: the user cancels
    int captureQuestions = 0;
    bool playingWhenAsked = true;

protected:
    QString AskCaptureFileName() override
    {
        ++captureQuestions;
        playingWhenAsked = player()->Playing();
        return captureAnswer;
    }
};

class FullScreenTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    RecordingSettings settings;
    QStringList wallpaperCalls;
    QString moviePath = MakeMovie(64);

    QString MakeMovie(int frames)
    {
        TestMovie movie;
        movie.frameCount = frames;
        return movie.writeTo(folder.path());
    }

    TFullScreenServices Services()
    {
        TFullScreenServices services;
        services.readIniInteger = [this](const QString &section, const QString &key, int defaultValue) {
            settings.reads << section + '/' + key;
            const auto found = settings.values.find(RecordingSettings::Key(section, key));
            return found == settings.values.end() ? defaultValue : found->second;
        };
        services.writeIniInteger = [this](const QString &section, const QString &key, int value) {
            settings.writes << section + '/' + key + '=' + QString::number(value);
            settings.values[RecordingSettings::Key(section, key)] = value;
        };
        services.windowsDirectory = [this] { return folder.path() + '/'; };
        services.setWallpaper = [this](const QString &path) { wallpaperCalls << "picture " + path; };
        services.setFlashWallpaper = [this](const QString &path) { wallpaperCalls << "movie " + path; };
        return services;
    }

    std::unique_ptr<TestFullScreen> Open()
    {
        auto form = std::make_unique<TestFullScreen>(nullptr, Services());
        form->MoviePath = moviePath;
        form->show();
        return form;
    }

    static QAction *Item(TFrmFullScreen &form, const char *name)
    {
        return form.findChild<QAction *>(QString::fromLatin1(name));
    }
    static void PressKey(TFrmFullScreen &form, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(form.windowHandle(), &press);
    }
};

}  // namespace

TEST_F(FullScreenTest, PopupMenuHoldsEveryItemInOrderWithItsChecksAndShortcuts)
{
    auto form = Open();
    QStringList layout;
    for (QAction *item : form->popupMenu()->actions())
        layout << (item->isSeparator() ? QStringLiteral("-") : item->menu() ? item->menu()->objectName() : item->objectName());
    EXPECT_EQ(layout.join(' ').toStdString(), "nView_Hide - nQuality - nPlay NLoop - nBack nforword nReturn - "
                                              "nSetAsDesktop nSetOneAsDesktop nGetAFrame - nClose");
    QStringList quality;
    for (QAction *item : form->findChild<QMenu *>(QStringLiteral("nQuality"))->actions())
        quality << item->objectName() + (item->isChecked() ? "*" : "");
    EXPECT_EQ(quality.join(' ').toStdString(), "MenuHigh* MenuM MenuLow");
    EXPECT_TRUE(Item(*form, "nPlay")->isChecked());
    EXPECT_TRUE(Item(*form, "NLoop")->isChecked());
    EXPECT_EQ(Item(*form, "nView_Hide")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(Item(*form, "nPlay")->shortcut(), QKeySequence(Qt::Key_Enter));
    EXPECT_EQ(Item(*form, "nClose")->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(form->player()->PopupMenu(), form->popupMenu());
}

TEST_F(FullScreenTest, TextsAreAppliedToTheFinishedForm)
{
    TFullScreenServices services = Services();
    services.applyFormTexts = [](QWidget *form) { form->findChild<QAction *>(QStringLiteral("nPlay"))->setText("&Play"); };
    TFrmFullScreen form(nullptr, services);
    EXPECT_EQ(Item(form, "nPlay")->text(), QStringLiteral("&Play"));
    EXPECT_STREQ(form.metaObject()->className(), "TFrmFullScreen");
}

TEST_F(FullScreenTest, WithoutASettingTheStripStartsHiddenAndTheFirstSizingPlaysFromTheStart)
{
    auto form = Open();
    EXPECT_EQ(settings.reads, QStringList{"FullScreen/ViewStyle"});
    EXPECT_FALSE(form->stripShown());
    EXPECT_EQ(Item(*form, "nView_Hide")->text(), QStringLiteral("&View Toolbar"));
    ASSERT_NE(form->player(), nullptr);
    EXPECT_EQ(form->player()->Movie(), moviePath);
    EXPECT_EQ(form->player()->CurrentFrame(), 0);
    EXPECT_TRUE(form->player()->Playing());
    EXPECT_EQ(form->player()->geometry(), form->rect());
}

TEST_F(FullScreenTest, TheStripSettingIsWrittenUnderFullScreenAndReadBackByTheNextWindow)
{
    auto first = Open();
    PressKey(*first, Qt::Key_F2);
    EXPECT_TRUE(first->stripShown());
    first->accept();
    EXPECT_EQ(settings.writes, QStringList{"fullScreen/ViewStyle=1"});

    auto second = Open();
    EXPECT_TRUE(second->stripShown());
    EXPECT_EQ(Item(*second, "nView_Hide")->text(), QStringLiteral("&Hide Toolbar"));
    EXPECT_EQ(second->player()->y(), 25);
    PressKey(*second, Qt::Key_F2);
    second->accept();
    EXPECT_EQ(settings.writes.last(), QStringLiteral("fullScreen/ViewStyle=0"));
}

TEST_F(FullScreenTest, F2RecreatesThePlayerAtTheSameFrameAndRunState)
{
    auto form = Open();
    form->player()->GotoFrame(20);
    form->player()->Stop();
    QPointer<TMyFlash> before = form->player();
    const auto movie = before->sharedMovie();

    PressKey(*form, Qt::Key_F2);

    ASSERT_NE(form->player(), nullptr);
    EXPECT_TRUE(before.isNull()) << "the old control is freed";
    EXPECT_EQ(form->findChildren<TMyFlash *>().size(), 1);
    EXPECT_EQ(form->player()->CurrentFrame(), 20);
    EXPECT_FALSE(form->player()->Playing());
    EXPECT_EQ(form->player()->sharedMovie(), movie) << "the movie is not read again";
    EXPECT_EQ(form->player()->geometry(), QRect(0, 25, form->width(), form->height() - 25));
}

TEST_F(FullScreenTest, QualityFallsBackOnRecreationAndTheCheckedItemDoesNotSetItAgain)
{
    auto form = Open();
    Item(*form, "MenuLow")->trigger();
    EXPECT_EQ(form->player()->Quality(), 0);
    Item(*form, "MenuM")->trigger();
    EXPECT_EQ(form->player()->Quality(), 2);

    PressKey(*form, Qt::Key_F2);
    EXPECT_EQ(form->player()->Quality(), 1) << "a new control starts at its default";
    Item(*form, "MenuM")->trigger();
    EXPECT_EQ(form->player()->Quality(), 1) << "the checked item does nothing";
    EXPECT_TRUE(Item(*form, "MenuM")->isChecked());
    Item(*form, "MenuHigh")->trigger();
    EXPECT_TRUE(Item(*form, "MenuHigh")->isChecked());
    EXPECT_FALSE(Item(*form, "MenuM")->isChecked());
}

TEST_F(FullScreenTest, EnterTogglesPlaybackWithoutTouchingThePlayCheck)
{
    auto form = Open();
    PressKey(*form, Qt::Key_Return);
    EXPECT_FALSE(form->player()->Playing());
    PressKey(*form, Qt::Key_Enter);
    EXPECT_TRUE(form->player()->Playing());
    EXPECT_TRUE(Item(*form, "nPlay")->isChecked());
}

TEST_F(FullScreenTest, PlayAndLoopItemsInvertTheirChecks)
{
    auto form = Open();
    Item(*form, "nPlay")->trigger();
    EXPECT_FALSE(Item(*form, "nPlay")->isChecked());
    EXPECT_FALSE(form->player()->Playing());
    Item(*form, "nPlay")->trigger();
    EXPECT_TRUE(form->player()->Playing());

    Item(*form, "NLoop")->trigger();
    EXPECT_FALSE(form->player()->Loop());
    Item(*form, "NLoop")->trigger();
    EXPECT_TRUE(form->player()->Loop());
}

TEST_F(FullScreenTest, BackForwardAndReturnStepThePlayer)
{
    auto form = Open();
    form->player()->GotoFrame(10);
    Item(*form, "nforword")->trigger();
    EXPECT_EQ(form->player()->CurrentFrame(), 11);
    Item(*form, "nBack")->trigger();
    Item(*form, "nBack")->trigger();
    EXPECT_EQ(form->player()->CurrentFrame(), 9);
    Item(*form, "nReturn")->trigger();
    EXPECT_EQ(form->player()->CurrentFrame(), 0);
}

TEST_F(FullScreenTest, EveryWayOfClosingIsAccepted)
{
    struct Way {
        const char *name;
        std::function<void(TFrmFullScreen &)> close;
    } ways[] = {
        {"Esc", [](TFrmFullScreen &form) { PressKey(form, Qt::Key_Escape); }},
        {"nClose", [](TFrmFullScreen &form) { Item(form, "nClose")->trigger(); }},
        {"panClose", [](TFrmFullScreen &form) { form.findChild<QToolButton *>(QStringLiteral("panClose"))->click(); }},
        {"reject", [](TFrmFullScreen &form) { form.reject(); }},
        {"double click", [](TFrmFullScreen &form) {
             QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                               Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(&form, &click);
         }},
    };
    for (const Way &way : ways) {
        auto form = Open();
        form->setResult(-1);
        way.close(*form);
        EXPECT_FALSE(form->isVisible()) << way.name;
        EXPECT_EQ(form->result(), QDialog::Accepted) << way.name;
    }
    EXPECT_EQ(settings.writes.size(), 5) << "the setting is written once per window";
}

TEST_F(FullScreenTest, KeysGoOnToTheMovieAndEscStillCloses)
{
    TestMovie movie;
    movie.frameCount = 10;
    movie.button = true;
    movie.keyPress = 'a';
    movie.keyGoesTo = 6;
    moviePath = movie.writeTo(folder.path(), QStringLiteral("button.swf"));
    auto form = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_TRUE(form->player()->hasFocus());
    QTest::keyClick(form->windowHandle(), Qt::Key_A);
    EXPECT_EQ(form->player()->CurrentFrame(), 6);
    EXPECT_FALSE(form->player()->Playing());
    // Enter plays the movie and still reaches it.
    QTest::keyClick(form->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(form->player()->Playing());
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(FullScreenTest, TheLeftButtonPressesTheMoviesButtonsAndTheRightOneStillOpensTheMenu)
{
    TestMovie movie;
    movie.frameCount = 10;
    movie.button = true;
    movie.rectangle = QRect(0, 0, 100, 50);  // the whole stage, wherever it shows
    movie.releaseGoesTo = 4;
    moviePath = movie.writeTo(folder.path(), QStringLiteral("button.swf"));
    auto form = Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    TMyFlash *player = form->player();
    const QPoint centre = player->rect().center();
    // Two moves: a pointer already resting at the first makes no event.
    QTest::mouseMove(player, centre - QPoint(1, 1));
    QTest::mouseMove(player, centre);
    EXPECT_EQ(player->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(player, Qt::LeftButton, {}, centre);
    EXPECT_EQ(player->CurrentFrame(), 4);
    QTest::mouseClick(player, Qt::RightButton, {}, centre);
    EXPECT_TRUE(form->popupMenu()->isVisible());
    form->popupMenu()->close();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FullScreenTest, KeysNoLongerActAfterTheWindowClosed)
{
    auto form = Open();
    form->accept();
    auto other = std::make_unique<QWidget>();
    other->show();
    PressKey(*form, Qt::Key_Return);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(other->windowHandle(), &press);
    EXPECT_TRUE(form->player()->Playing());
}

TEST_F(FullScreenTest, ACancelledCaptureStillResumesPlayback)
{
    auto form = Open();
    form->player()->Stop();
    Item(*form, "nGetAFrame")->trigger();
    EXPECT_EQ(form->captureQuestions, 1);
    EXPECT_FALSE(form->playingWhenAsked);
    EXPECT_TRUE(form->player()->Playing());
}

TEST_F(FullScreenTest, TheCapturedBitmapHasTheControlsSizeAndTheFramesPixels)
{
    auto form = Open();
    form->player()->GotoFrame(3);
    form->captureAnswer = folder.filePath(QStringLiteral("frame.bmp"));
    Item(*form, "nGetAFrame")->trigger();

    const QImage saved(form->captureAnswer, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), form->player()->size());
    const QImage shown = form->player()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown);
    // The test movie: a blue stage whose right half is a red rectangle.
    const QPoint middle = saved.rect().center();
    EXPECT_EQ(saved.pixelColor(middle.x() / 2, middle.y()), QColor(0, 0, 255));
    EXPECT_EQ(saved.pixelColor(middle.x() * 3 / 2, middle.y()), QColor(255, 0, 0));
    EXPECT_TRUE(form->player()->Playing());
}

TEST_F(FullScreenTest, ACaptureThatCannotBeSavedThrowsAndLeavesTheMoviePaused)
{
    auto form = Open();
    form->captureAnswer = folder.filePath(QStringLiteral("no/such/folder/frame.bmp"));
    EXPECT_THROW(form->nGetAFrameClick(), std::runtime_error);
    EXPECT_FALSE(form->player()->Playing());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FullScreenTest, ACapturedFrameBecomesTheWallpaper)
{
    auto form = Open();
    Item(*form, "nSetOneAsDesktop")->trigger();
    const QString bitmap = folder.path() + QStringLiteral("/pavoko.bmp");
    EXPECT_EQ(wallpaperCalls, QStringList{"picture " + bitmap});
    EXPECT_EQ(QImage(bitmap, "BMP").size(), form->player()->size());
    EXPECT_TRUE(form->player()->Playing());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FullScreenTest, TheMovieBecomesTheWallpaperWithoutPausing)
{
    auto form = Open();
    Item(*form, "nSetAsDesktop")->trigger();
    EXPECT_EQ(wallpaperCalls, QStringList{"movie " + moviePath});
    EXPECT_TRUE(form->player()->Playing());
}

TEST_F(FullScreenTest, TheTimerFollowsTheMovieAndSeekingKeepsTheRunState)
{
    auto form = Open();
    auto *trackBar = form->findChild<QSlider *>(QStringLiteral("TrackBar"));
    auto *timer = form->findChild<QTimer *>(QStringLiteral("Timer1"));
    form->player()->GotoFrame(5);
    form->player()->Stop();
    trackBar->setValue(30);
    EXPECT_EQ(form->player()->CurrentFrame(), 5) << "the track bar is attached by the first tick";

    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(trackBar->maximum(), 64);
    EXPECT_EQ(trackBar->value(), 5);

    trackBar->setValue(30);
    EXPECT_EQ(form->player()->CurrentFrame(), 30);
    EXPECT_FALSE(form->player()->Playing());
    form->player()->Play();
    trackBar->setValue(40);
    EXPECT_EQ(form->player()->CurrentFrame(), 40);
    EXPECT_TRUE(form->player()->Playing());
}

TEST_F(FullScreenTest, AnUnreadableMovieStillGetsAPlayer)
{
    moviePath = folder.filePath(QStringLiteral("missing.swf"));
    auto form = Open();
    ASSERT_NE(form->player(), nullptr);
    EXPECT_EQ(form->player()->TotalFrames(), 0);
    PressKey(*form, Qt::Key_F2);
    Item(*form, "nGetAFrame")->trigger();
}

TEST_F(FullScreenTest, ShowFullScreenPlayerPlaysTheMovieModallyAndReturnsAccepted)
{
    QString playedMovie;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TFrmFullScreen *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        wasModal = form->isModal() && (form->windowFlags() & Qt::FramelessWindowHint);
        playedMovie = form->player()->Movie();
        form->close();
    });
    EXPECT_EQ(ShowFullScreenPlayer(nullptr, moviePath, Services()), QDialog::Accepted);
    EXPECT_EQ(playedMovie, moviePath);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FullScreenTest, CoversTheWholeScreenWithAllPlayButtonsInTheStrip)
{
    settings.values[RecordingSettings::Key("FullScreen", "ViewStyle")] = 1;
    auto form = Open();
    EXPECT_TRUE(form->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(form->geometry(), form->screen()->geometry());
    auto *strip = form->findChild<QToolBar *>(QStringLiteral("ToolBar3"));
    ASSERT_NE(strip, nullptr);
    for (QAction *command : form->playCommands()->actions()) {
        QWidget *button = strip->widgetForAction(command);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << command->text().toStdString();
        EXPECT_TRUE(strip->rect().contains(button->geometry())) << command->text().toStdString();
    }
}

// Keys typed into the capture's save dialog belong to the dialog: Enter
// does not resume the movie behind it and Esc cancels the capture only.
TEST_F(FullScreenTest, KeysInTheCaptureDialogStayInTheDialog)
{
    auto form = std::make_unique<TFrmFullScreen>(nullptr, Services());
    form->MoviePath = moviePath;
    form->show();
    bool dialogSeen = false, playingBehindDialog = true;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == form.get() || dialogSeen)
            return;
        dialogSeen = true;
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        playingBehindDialog = form->player()->Playing();
        if (dialog->isVisible())
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
    });
    poll.start(5);
    Item(*form, "nGetAFrame")->trigger();
    EXPECT_TRUE(dialogSeen);
    EXPECT_FALSE(playingBehindDialog);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->player()->Playing());
}
