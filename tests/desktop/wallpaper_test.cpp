#include "desktop/wallpaper.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

#include "platform/registrystore.h"
#include "platform/sandboxdesktop.h"

namespace {

const QString kKey = QStringLiteral("Control Panel\\desktop");

class WallpaperTest : public ::testing::Test {
protected:
    SandboxDesktop sandbox;
    QString wallpaperFolder = sandbox.dataFolder() + QStringLiteral("web/WallPaper/");
    QString registryFile = TRegistryStore().filePath();

    std::optional<RegistryValue> Registry(const char *name) const
    {
        return TRegistryStore().ReadValue(kKey, QString::fromLatin1(name));
    }
    QString MovieWith(const QByteArray &bytes, const char *name = "movie.swf") const
    {
        const QString path = sandbox.root() + QString::fromLatin1(name);
        WriteFileBytes(path, bytes);
        return path;
    }
};

}  // namespace

TEST(WallpaperPageText, IsTheOneLinePageByteForByte)
{
    const QByteArray expected =
        "<html><head><title>DezidArizuri</title></head><body leftmargin=\"0\" topmargin=\"0\" rightmargin=\"0\" "
        "bottommargin=\"0\" LANGUAGE=\"javascript\"  bgcolor=\"#8080F0\" ><div style=\"position:absolute; "
        "width:100%; height:100%; z-index:-2; left:0; top:0\"><table border=\"0\" width=\"100%\" height=\"100%\">"
        "<tr><td width=\"100%\" height=\"100%\"></td></tr></table></div><div style=\"position:absolute; "
        "width:100%; height:100%; z-index:-1; left:0; top:0\"><table border=\"0\" width=\"100%\" height=\"100%\">"
        "<tr><td width=\"100%\" height=\"100%\" valign=\"middle\" align=\"center\"><embed width=\"100%\" "
        "height=\"100%\"  play=\"true\" wmode=\"transparent\" quality=\"high\" "
        "pluginspage=\"http://www.macromedia.com/go/getflashplayer\" src=\"Pavoko.swf\"></embed></td></tr>"
        "</table></div></body></html>\r\n";
    EXPECT_EQ(WallpaperPage().toStdString(), expected.toStdString());
    EXPECT_EQ(WallpaperPage().count('\n'), 1);
}

TEST_F(WallpaperTest, SetWallpaperRecordsThePathAndTwoIntegerZeros)
{
    const QString picture = sandbox.dataFolder() + QStringLiteral("pavoko.bmp");
    SetWallpaper(picture);
    EXPECT_EQ(Registry("Wallpaper"), (RegistryValue{RegistryType::String, picture, 0}));
    EXPECT_EQ(Registry("TileWallpaper"), (RegistryValue{RegistryType::DWord, QString(), 0}));
    EXPECT_EQ(Registry("WallpaperStyle"), (RegistryValue{RegistryType::DWord, QString(), 0}));
}

TEST_F(WallpaperTest, SetWallpaperReplacesEarlierValuesOfAnyType)
{
    TRegistryStore().WriteString(kKey, QStringLiteral("TileWallpaper"), QStringLiteral("1"));
    TRegistryStore().WriteDWord(kKey, QStringLiteral("WallpaperStyle"), 2);
    SetWallpaper(QStringLiteral("/a.bmp"));
    EXPECT_EQ(Registry("TileWallpaper")->type, RegistryType::DWord);
    EXPECT_EQ(Registry("WallpaperStyle")->number, 0u);
}

TEST_F(WallpaperTest, FlashWallpaperCopiesTheMovieWritesThePageAndNamesIt)
{
    SetFlashWallpaper(MovieWith("FWS first movie"));
    SetFlashWallpaper(MovieWith("FWS second, longer movie", "other.swf"));

    EXPECT_EQ(FileBytes(wallpaperFolder + QStringLiteral("Pavoko.swf")), QByteArray("FWS second, longer movie"));
    EXPECT_EQ(FileBytes(wallpaperFolder + QStringLiteral("Pavoko.htm")), WallpaperPage());
    EXPECT_EQ(Registry("Wallpaper")->text, wallpaperFolder + QStringLiteral("Pavoko.htm"));
    const QStringList leftOver = QDir(wallpaperFolder).entryList(QDir::Files).filter(QStringLiteral(".swf."));
    EXPECT_TRUE(leftOver.isEmpty()) << "temporary files left behind: " << leftOver.join(' ').toStdString();
}

TEST_F(WallpaperTest, TheWallpapersOwnMovieCanBeSetAgain)
{
    SetFlashWallpaper(MovieWith("FWS the movie"));
    SetFlashWallpaper(wallpaperFolder + QStringLiteral("Pavoko.swf"));
    EXPECT_EQ(FileBytes(wallpaperFolder + QStringLiteral("Pavoko.swf")), QByteArray("FWS the movie"));
}

TEST_F(WallpaperTest, AMissingMovieThrowsAndChangesNothing)
{
    SetWallpaper(QStringLiteral("/earlier.bmp"));
    EXPECT_THROW(SetFlashWallpaper(sandbox.root() + QStringLiteral("absent.swf")), std::runtime_error);
    EXPECT_EQ(Registry("Wallpaper")->text, QStringLiteral("/earlier.bmp"));
    EXPECT_FALSE(QFile::exists(wallpaperFolder + QStringLiteral("Pavoko.htm")));
    EXPECT_FALSE(QFile::exists(wallpaperFolder + QStringLiteral("Pavoko.swf")));
}

TEST_F(WallpaperTest, APageThatCannotBeWrittenThrowsAndKeepsTheEarlierWallpaper)
{
    SetFlashWallpaper(MovieWith("FWS earlier"));
    const QByteArray earlierRegistry = FileBytes(registryFile);
    // A folder in the page's place makes the page impossible to write.
    QFile::remove(wallpaperFolder + QStringLiteral("Pavoko.htm"));
    QDir().mkpath(wallpaperFolder + QStringLiteral("Pavoko.htm"));

    EXPECT_THROW(SetFlashWallpaper(MovieWith("FWS later", "later.swf")), std::runtime_error);

    EXPECT_EQ(FileBytes(wallpaperFolder + QStringLiteral("Pavoko.swf")), QByteArray("FWS earlier"));
    EXPECT_EQ(FileBytes(registryFile), earlierRegistry);
}
