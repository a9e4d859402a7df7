// Where the settings file lives: beside the program while its folder can be
// written, else in the user's configuration folder; and the program's
// folder as found through a link to the program.
#include "platform/programfolder.h"
#include "platform/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/sandboxdesktop.h"

namespace {

// The kernel refuses new files in a process's own /proc folder even to
// root, so it stands for a program folder on a read-only medium.
const QString kReadOnlyFolder = QStringLiteral("/proc/self/");

}  // namespace

TEST(SettingsLocation, StaysBesideTheProgramWhileItsFolderCanBeWritten)
{
    SandboxDesktop sandbox;
    QTemporaryDir programFolder;
    for (const QString &folder : {programFolder.path(), programFolder.path() + QLatin1Char('/')})
        EXPECT_EQ(SettingsFilePath(folder, QStringLiteral("Pavoko.ini")),
                  programFolder.path() + QStringLiteral("/Pavoko.ini"));
    WriteFileBytes(programFolder.filePath(QStringLiteral("Pavoko.ini")), "[main]\n");
    EXPECT_EQ(SettingsFilePath(programFolder.path(), QStringLiteral("Pavoko.ini")),
              programFolder.path() + QStringLiteral("/Pavoko.ini"));
    EXPECT_FALSE(QDir(sandbox.configFolder()).exists());
}

TEST(SettingsLocation, MovesToTheConfigurationFolderWhenTheProgramsFolderIsReadOnly)
{
    SandboxDesktop sandbox;
    EXPECT_EQ(SettingsFilePath(kReadOnlyFolder, QStringLiteral("Pavoko.ini")),
              sandbox.configFolder() + QStringLiteral("Pavoko.ini"));
    EXPECT_TRUE(QDir(sandbox.configFolder()).exists());
}

TEST(SettingsLocation, ConfigurationFolderFallsBackToHomeWhenXdgConfigHomeIsUnsetOrRelative)
{
    SandboxDesktop sandbox;
    const QString expected = sandbox.home() + QStringLiteral("/.config/pavoko/Pavoko.ini");
    for (const char *value : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", value);
        EXPECT_EQ(SettingsFilePath(kReadOnlyFolder, QStringLiteral("Pavoko.ini")), expected) << value;
    }
}

// Run in a child started through a link: prints the folder it finds.
TEST(ProgramFolderProbe, PrintsTheFolder)
{
    if (qEnvironmentVariableIsEmpty("PAVOKO_PROBE_PROGRAM_FOLDER"))
        GTEST_SKIP() << "only run as the child of ProgramFolder.ResolvesALinkToTheProgram";
    std::printf("folder=%s\n", qPrintable(ProgramFolder()));
}

TEST(ProgramFolder, ResolvesALinkToTheProgram)
{
    const QString program = QCoreApplication::applicationFilePath();
    QTemporaryDir linkFolder;
    const QString link = linkFolder.filePath(QStringLiteral("linked-program"));
    ASSERT_TRUE(QFile::link(program, link));

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PAVOKO_PROBE_PROGRAM_FOLDER"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(link, {QStringLiteral("--gtest_filter=ProgramFolderProbe.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    const QString expected = QFileInfo(program).canonicalPath() + QLatin1Char('/');
    EXPECT_TRUE(output.contains(QStringLiteral("folder=") + expected + QLatin1Char('\n'))) << qPrintable(output);
}
