// Screen saver files and their installation, the xscreensaver settings
// edit, and the screen saver program playing the movie at its end.
#include "desktop/screensaver.h"
#include "desktop/xscreensaverfile.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <stdexcept>

#include "common/smallmovies.h"
#include "common/toolrun.h"
#include "platform/registrystore.h"
#include "platform/sandboxdesktop.h"

using smallmovies::LittleEndian32;
using smallmovies::PlainMovie;

namespace {

class ScreenSaverTest : public ::testing::Test {
protected:
    SandboxDesktop sandbox;
    QByteArray program = FileBytes(ScreenSaverTemplatePath());

    QString fileWith(const char *name, const QByteArray &bytes) const
    {
        const QString path = sandbox.root() + QString::fromLatin1(name);
        WriteFileBytes(path, bytes);
        return path;
    }
    static std::optional<RegistryValue> ScreenSaverValue()
    {
        return TRegistryStore().ReadValue(QStringLiteral("Control Panel\\Desktop"), QStringLiteral("SCRNSAVE.EXE"));
    }
};

}  // namespace

TEST_F(ScreenSaverTest, AScreenSaverIsTheProgramTheMovieAndItsLength)
{
    ASSERT_FALSE(program.isEmpty()) << "no screen saver program beside the tests";
    const struct {
        const char *name;
        QByteArray movie;
    } cases[] = {{"movie", PlainMovie()}, {"empty movie", QByteArray()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = fileWith("out.scr", "an earlier screen saver");
        MakeScreenSaver(fileWith("movie.swf", c.movie), target);
        EXPECT_EQ(FileBytes(target), program + c.movie + LittleEndian32(quint32(c.movie.size())));
        EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::ExeOwner);
    }
}

TEST_F(ScreenSaverTest, NothingIsWrittenWhenTheMovieIsMissingOrIsTheTarget)
{
    const QString target = fileWith("out.scr", "kept");
    const QString movie = fileWith("movie.swf", PlainMovie());
    EXPECT_THROW(MakeScreenSaver(sandbox.root() + QStringLiteral("none.swf"), target), std::runtime_error);
    EXPECT_THROW(MakeScreenSaver(sandbox.root(), target), std::runtime_error);
    EXPECT_THROW(MakeScreenSaver(movie, movie), std::runtime_error);
    EXPECT_THROW(MakeScreenSaver(movie, ScreenSaverTemplatePath()), std::runtime_error);
    EXPECT_THROW(MakeScreenSaver(movie, sandbox.root() + QStringLiteral("no/such/out.scr")), std::runtime_error);
    EXPECT_EQ(FileBytes(target), QByteArray("kept"));
    EXPECT_EQ(FileBytes(movie), PlainMovie());
    EXPECT_EQ(FileBytes(ScreenSaverTemplatePath()), program);
}

TEST_F(ScreenSaverTest, InstallingCopiesIntoTheDataFolderAndRecordsIt)
{
    const QString saver = fileWith("mine.scr", program + PlainMovie() + LittleEndian32(30));
    SetCurrentScreenSaver(saver);
    const QString installed = sandbox.dataFolder() + QStringLiteral("pavoko.scr");
    EXPECT_EQ(FileBytes(installed), FileBytes(saver));
    EXPECT_TRUE(QFileInfo(installed).permissions() & QFileDevice::ExeOwner);
    EXPECT_EQ(ScreenSaverValue(), (RegistryValue{RegistryType::String, installed, 0}));
    EXPECT_FALSE(QFile::exists(sandbox.home() + QStringLiteral("/.xscreensaver")));

    // Installing the installed copy again keeps it.
    SetCurrentScreenSaver(installed);
    EXPECT_EQ(FileBytes(installed), FileBytes(saver));
}

TEST_F(ScreenSaverTest, AMissingScreenSaverFileIsNotRecorded)
{
    EXPECT_THROW(SetCurrentScreenSaver(sandbox.root() + QStringLiteral("none.scr")), std::runtime_error);
    EXPECT_FALSE(ScreenSaverValue().has_value());
}

TEST_F(ScreenSaverTest, AnXScreenSaverUserGetsOurProgramListedAndSelected)
{
    const QString settings = sandbox.home() + QStringLiteral("/.xscreensaver");
    WriteFileBytes(settings, "timeout:\t0:10:00\nmode:\t\trandom\nselected:\t3\n"
                             "programs:\t\t\\\n\t\t\t\tmaze -root\t\\n\\\n- GL:\t\t\tsproingies -root\t\\n\n\n"
                             "pointerHysteresis:\t10\n");
    SetCurrentScreenSaver(fileWith("mine.scr", program + LittleEndian32(0)));
    const QString installed = sandbox.dataFolder() + QStringLiteral("pavoko.scr");
    EXPECT_EQ(FileBytes(settings).toStdString(),
              ("timeout:\t0:10:00\nmode:\t\tone\nselected:\t\t0\n"
               "programs:\t\t\\\n\t\t\t\t\"Pavoko\"  " + installed.toUtf8() + " -root \\n\\\n"
               "\t\t\t\tmaze -root\t\\n\\\n- GL:\t\t\tsproingies -root\t\\n\n\n"
               "pointerHysteresis:\t10\n").toStdString());
}

TEST(XScreenSaverFile, OurEntryStaysFirstAndSingleAndTheListStaysClosed)
{
    const struct {
        const char *name;
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"empty file", "", "programs:\t\t\\\n\t\t\t\t\"Pavoko\"  /d/p.scr -root \\n\nselected:\t\t0\nmode:\t\tone\n"},
        {"only our entry",
         "programs:\t\t\\\n\t\t\t\t\"Pavoko\"  /d/p.scr -root \\n\n",
         "programs:\t\t\\\n\t\t\t\t\"Pavoko\"  /d/p.scr -root \\n\nselected:\t\t0\nmode:\t\tone\n"},
        {"our entry last",
         "mode:\tone\nselected:\t1\nprograms:\t\\\n  maze -root \\n\\\n  \"Pavoko\"  /d/p.scr -root \\n\n",
         "mode:\t\tone\nselected:\t\t0\nprograms:\t\\\n\t\t\t\t\"Pavoko\"  /d/p.scr -root \\n\\\n  maze -root \\n\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithScreenSaverSelected(c.before, QStringLiteral("/d/p.scr")).toStdString(), c.after.toStdString());
    }
}

TEST(ScreenSaverProgram, PlaysTheMovieAtItsEndOverTheScreen)
{
    const QColor stage(30, 60, 200);
    QTemporaryDir folder;
    const QString movie = folder.filePath(QStringLiteral("blue.swf"));
    const QString saver = folder.filePath(QStringLiteral("blue.scr"));
    WriteFileBytes(movie, PlainMovie(stage, 80, 60));
    MakeScreenSaver(movie, saver);
    const TToolRun run = RunForSnapshot(saver);
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput.toStdString();
    ASSERT_FALSE(run.snapshot.isNull());
    EXPECT_GT(run.snapshot.width(), 80);  // the whole screen, not the stage size
    EXPECT_EQ(run.snapshot.pixelColor(run.snapshot.width() / 2, run.snapshot.height() / 2), stage);
}
