#include "platform/datafolder.h"

#include <QDir>
#include <gtest/gtest.h>

#include "platform/sandboxdesktop.h"

TEST(DataFolder, LiesUnderXdgDataHomeAndMakesTheWallpaperFolder)
{
    SandboxDesktop sandbox;
    EXPECT_EQ(WindowsDirectory(), sandbox.dataFolder());
    EXPECT_TRUE(QDir(sandbox.dataFolder() + QStringLiteral("web/WallPaper")).exists());
    EXPECT_EQ(WallpaperFolder(), sandbox.dataFolder() + QStringLiteral("web/WallPaper/"));
}

TEST(DataFolder, FallsBackToHomeWhenXdgDataHomeIsUnsetOrRelative)
{
    SandboxDesktop sandbox;
    const QString expected = sandbox.home() + QStringLiteral("/.local/share/pavoko/");
    for (const char *value : {"", "relative/data"}) {
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(WindowsDirectory(), expected) << value;
    }
    EXPECT_TRUE(QDir(expected + QStringLiteral("web/WallPaper")).exists());
}
