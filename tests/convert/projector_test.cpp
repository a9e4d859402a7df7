// The projector program as swf2exe makes it: it finds the movie at its own
// end and plays it in a window of the movie's stage size.
#include "convert/lib/converter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/smallmovies.h"
#include "common/testpaths.h"
#include "common/toolrun.h"

using namespace smallmovies;

TEST(ProjectorProgram, PlaysTheMovieAtItsEndInAWindowOfTheStageSize)
{
    QTemporaryDir folder;
    const QString movie = folder.filePath(QStringLiteral("red.swf"));
    const QString projector = folder.filePath(QStringLiteral("red.exe"));
    WriteBytes(movie, PlainMovie(QColor(200, 40, 40), 64, 48));
    ASSERT_EQ(swf2exe(QFile::encodeName(movie).constData(), QFile::encodeName(projector).constData()), CONVERT_OK);

    const TToolRun run = RunForSnapshot(projector);
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput.toStdString();
    EXPECT_EQ(run.snapshot.size(), QSize(64, 48));
    EXPECT_EQ(run.snapshot.pixelColor(32, 24), QColor(200, 40, 40));
}

TEST(ProjectorProgram, WithoutAMovieAtItsEndItSaysSoAndEnds)
{
    const TToolRun run = RunForSnapshot(ProgramBinDir() + QStringLiteral("/projector"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorOutput.contains(QStringLiteral("No Flash movie"))) << run.errorOutput.toStdString();
}
