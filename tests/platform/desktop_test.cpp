#include "platform/desktop.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

#include "common/testpaths.h"
#include "platform/sandboxdesktop.h"

namespace {

std::string ReadText(const QString &path) { return FileBytes(path).toStdString(); }

// Detached programs report back through their log file; give them time.
std::string WaitForLog(const QString &path)
{
    QDeadlineTimer deadline(20000);
    std::string text = ReadText(path);
    for (; (text.empty() || text.back() != '\n') && !deadline.hasExpired(); text = ReadText(path))
        QThread::msleep(20);
    return text;
}

QString CorpusMovie() { return CorpusDir() + QStringLiteral("/open-flash-db/movies/squares/main.swf"); }

}  // namespace

TEST(Desktop, WithoutDesktopToolsNothingFailsAndNothingRuns)
{
    SandboxDesktop sandbox;
    EXPECT_NO_THROW(ApplyDesktopWallpaper(sandbox.root() + QStringLiteral("picture.bmp")));
    EXPECT_NO_THROW(ApplyDesktopWallpaper(sandbox.root() + QStringLiteral("missing.htm")));
    EXPECT_NO_THROW(StartDesktopSettings());
}

TEST(Desktop, APictureIsShownAsItIs)
{
    EXPECT_EQ(WallpaperPicture(QStringLiteral("/x/pavoko.bmp")), QStringLiteral("/x/pavoko.bmp"));
}

TEST(Desktop, GnomeGetsThePictureAddressCentred)
{
    SandboxDesktop sandbox;
    const QString log = sandbox.root() + QStringLiteral("gsettings.log");
    sandbox.addRecordingTool(QStringLiteral("gsettings"), log);
    sandbox.addRecordingTool(QStringLiteral("plasma-apply-wallpaperimage"), sandbox.root() + QStringLiteral("kde.log"));
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");

    ApplyDesktopWallpaper(QStringLiteral("/pics/my frame.bmp"));

    EXPECT_EQ(ReadText(log), "set org.gnome.desktop.background picture-uri file:///pics/my%20frame.bmp\n"
                             "set org.gnome.desktop.background picture-uri-dark file:///pics/my%20frame.bmp\n"
                             "set org.gnome.desktop.background picture-options centered\n");
    EXPECT_FALSE(QFile::exists(sandbox.root() + QStringLiteral("kde.log")));
}

TEST(Desktop, AnUnknownDesktopTriesEveryToolFound)
{
    SandboxDesktop sandbox;
    const QString log = sandbox.root() + QStringLiteral("tools.log");
    sandbox.addRecordingTool(QStringLiteral("gsettings"), log);
    sandbox.addRecordingTool(QStringLiteral("plasma-apply-wallpaperimage"), log);

    ApplyDesktopWallpaper(QStringLiteral("/p.bmp"));

    EXPECT_EQ(ReadText(log).rfind("/p.bmp\nset org.gnome.desktop.background picture-uri ", 0), 0u);
}

TEST(Desktop, TheSettingsProgramOfTheDesktopIsStarted)
{
    SandboxDesktop sandbox;
    const QString log = sandbox.root() + QStringLiteral("settings.log");
    sandbox.addRecordingTool(QStringLiteral("gnome-control-center"), log);
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    StartDesktopSettings();

    EXPECT_EQ(WaitForLog(log), "background\n");
}

TEST(Desktop, APageIsShownAsItsMovieRenderedAtScreenSize)
{
    SKIP_WITHOUT_CORPUS();
    SandboxDesktop sandbox;
    QFile::copy(CorpusMovie(), sandbox.root() + QStringLiteral("Pavoko.swf"));
    const QString page = sandbox.root() + QStringLiteral("Pavoko.htm");
    WriteFileBytes(page, "<html><embed width=\"100%\" SRC=\"Pavoko.swf\"></embed></html>\r\n");

    const QString picture = WallpaperPicture(page);

    ASSERT_EQ(picture, sandbox.root() + QStringLiteral("Pavoko.png"));
    const QScreen *screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(QImage(picture).size(), screen->size() * screen->devicePixelRatio());
}

TEST(Desktop, APageWithoutAReadableMovieShowsNothing)
{
    SandboxDesktop sandbox;
    const QString page = sandbox.root() + QStringLiteral("page.htm");
    for (const QByteArray &text : {QByteArray("<html>no movie</html>"), QByteArray("<embed src=\"absent.swf\">")}) {
        WriteFileBytes(page, text);
        EXPECT_TRUE(WallpaperPicture(page).isEmpty()) << text.constData();
    }
    EXPECT_FALSE(QFile::exists(sandbox.root() + QStringLiteral("Pavoko.png")));
}
