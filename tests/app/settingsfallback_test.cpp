// Settings of a program in a read-only folder are kept in the user's
// configuration folder: written there, read back from there.
#include "app/inifile.h"
#include "platform/settingslocation.h"

#include <QFile>
#include <gtest/gtest.h>

#include "platform/sandboxdesktop.h"

TEST(SettingsFallback, ValuesOfAReadOnlyProgramFolderAreKeptInTheConfigurationFolder)
{
    SandboxDesktop sandbox;
    const QString readOnlyProgramFolder = QStringLiteral("/proc/self/");
    IniFile(SettingsFilePath(readOnlyProgramFolder, QStringLiteral("Pavoko.ini")))
        .writeString(QStringLiteral("main"), QStringLiteral("lastDir"), QStringLiteral("/srv/movies"));

    EXPECT_TRUE(QFile::exists(sandbox.configFolder() + QStringLiteral("Pavoko.ini")));
    EXPECT_EQ(IniFile(SettingsFilePath(readOnlyProgramFolder, QStringLiteral("Pavoko.ini")))
                  .readString(QStringLiteral("main"), QStringLiteral("lastDir"), QString()),
              QStringLiteral("/srv/movies"));
}
