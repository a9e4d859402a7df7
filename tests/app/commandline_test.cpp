// The command line: which argument counts, when it is present, its folder.
#include "app/commandline.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(CommandLine, OnlyTheFirstArgumentCounts)
{
    EXPECT_EQ(FirstArgument({QStringLiteral("pavoko")}), QString());
    EXPECT_EQ(FirstArgument({QStringLiteral("pavoko"), QStringLiteral("a.swf"), QStringLiteral("b.swf")}),
              QStringLiteral("a.swf"));
}

TEST(CommandLine, AnArgumentOfBlanksAndControlCharactersIsAbsent)
{
    const struct {
        QString argument;
        bool present;
    } cases[] = {
        {QString(), false},
        {QStringLiteral("   "), false},
        {QStringLiteral("\t\r\n \x01"), false},
        {QStringLiteral(" a "), true},
        {QStringLiteral("/m/x.swf"), true},
        {QStringLiteral("\x7f"), true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsArgumentPresent(c.argument), c.present) << c.argument.toStdString();
}

TEST(CommandLine, FolderPartEndsAtTheLastSeparator)
{
    const struct {
        QString argument;
        QString folder;
    } cases[] = {
        {QStringLiteral("/home/me/movies/clock.swf"), QStringLiteral("/home/me/movies/")},
        {QStringLiteral("/clock.swf"), QStringLiteral("/")},
        {QStringLiteral("movies/clock.swf"), QStringLiteral("movies/")},
        {QStringLiteral("clock.swf"), QString()},
        {QStringLiteral(" /a/ "), QStringLiteral(" /a/")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ArgumentFolder(c.argument), c.folder) << c.argument.toStdString();
}

// A folder opens in the main window instead of playing; a movie, a missing
// path or nothing at all is no folder argument.
TEST(CommandLine, AnExistingFolderIsOpenedAsItself)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile movie(dir.filePath(QStringLiteral("clock.swf")));
    ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
    movie.close();
    EXPECT_EQ(FolderArgument(dir.path()), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(FolderArgument(dir.path() + QLatin1Char('/')), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(ArgumentFolder(FolderArgument(dir.path())), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(FolderArgument(movie.fileName()), QString());
    EXPECT_EQ(FolderArgument(dir.filePath(QStringLiteral("gone"))), QString());
    EXPECT_EQ(FolderArgument(QStringLiteral("  ")), QString());
}
